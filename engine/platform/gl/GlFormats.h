#pragma once

#include "engine/platform/GpuTypes.h"
#include "engine/platform/gl/GlFunctions.h"

namespace mareldon {

// How a layer format is stored and uploaded in GL. Direct3D's 16-bit formats
// are little-endian words with alpha or the unused bit on top, which are GL's
// "_REV" packed types read as BGRA.
struct GlFormat {
    GLenum internalFormat = 0;
    GLenum format = 0;
    GLenum type = 0;
    uint32_t bytesPerPixel = 0;
    // A8 keeps its value in GL's red channel; sampling must see it as alpha.
    bool alphaFromRed = false;
    bool depth = false;
    // Texture formats a device may sample.
    bool sampled = false;
    // Usable as a colour render target.
    bool renderable = false;
};

// The GL form of a layer format; internalFormat 0 for formats GL cannot hold.
GlFormat GlFormatOf(GpuFormat format);

// A 0xAARRGGBB colour word as GL's RGBA floats.
void GlColour(uint32_t argb, float rgba[4]);

}  // namespace mareldon
