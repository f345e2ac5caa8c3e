#pragma once

#include <cstdint>
#include <string>

#include "engine/platform/FrameCapture.h"

namespace mareldon {

// MARELDON_CAPTURE's forms are read in engine/platform/FrameCapture.h.
using GlCaptureRequest = CaptureRequest;

// Writes 0xAARRGGBB pixels, top row first, as an 8-bit RGB PNG.
bool WritePng(const std::string& path, int width, int height, const uint32_t* argb);

}  // namespace mareldon
