#pragma once

#include <cstdint>

namespace mareldon {

// Pixel layouts of textures and of the pixels handed to an upload. The numbers are part of
// the texture interface and never change.
enum class PixelKind : uint32_t {
    ARGB8888 = 0,  // 32-bit word 0xAARRGGBB, bytes in memory B, G, R, A
    ABGR8888 = 1,  // bytes in memory R, G, B, A
    ARGB4444 = 2,  // 16-bit: A 15-12, R 11-8, G 7-4, B 3-0
    ABGR4444 = 3,  // 16-bit: A 15-12, B 11-8, G 7-4, R 3-0
    ABGR1555 = 4,  // 16-bit: A 15, B 14-10, G 9-5, R 4-0
    ARGB1555 = 5,  // 16-bit: A 15, R 14-10, G 9-5, B 4-0
};

// Bytes per pixel: 4 for the 32-bit kinds, 2 for the others.
int PixelKindSize(PixelKind kind);

// Copies height rows of width packed source pixels into a locked rectangle whose rows are
// destPitch bytes apart, converting on the way. Channels are cut to their top bits, with
// no rounding, so results are the same on every backend. Nothing is written when width or
// height is below 1; the bytes between destination rows are left alone.
using PixelConverter = void (*)(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);

void CopyPixels32(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
void SwapRedBlue32(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
// 0 -> 2, and 1 -> 3 (both sides have red and blue exchanged).
void ConvertArgb8888ToArgb4444(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
// 1 -> 2, and 0 -> 3.
void ConvertAbgr8888ToArgb4444(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
void ConvertArgb8888ToAbgr1555(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
void ConvertAbgr8888ToAbgr1555(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);
void CopyPixels16(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height);

// The converter an upload of source pixels into a texture of the given kind uses, or
// nullptr when there is none for the pair (the upload then leaves the texture as it was).
PixelConverter FindPixelConverter(PixelKind source, PixelKind texture);

}  // namespace mareldon
