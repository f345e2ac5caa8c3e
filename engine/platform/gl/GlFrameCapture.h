#pragma once

#include <cstdint>
#include <string>

namespace mareldon {

// MARELDON_CAPTURE=FRAME:FILE.png: the picture presented as frame FRAME
// (the first Present is frame 1) is written to FILE.png.
struct GlCaptureRequest {
    uint32_t frame = 0;
    std::string path;
};

// False (request untouched) for text not of the form FRAME:FILE with FRAME >= 1.
bool ParseCaptureRequest(const char* text, GlCaptureRequest& request);

// Writes 0xAARRGGBB pixels, top row first, as an 8-bit RGB PNG.
bool WritePng(const std::string& path, int width, int height, const uint32_t* argb);

}  // namespace mareldon
