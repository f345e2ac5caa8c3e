#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/GpuDevice.h"

namespace mareldon {

// Largest image side the loaders accept.
constexpr uint32_t kMaxImageSide = 4096;

// A decoded picture: 32-bit words 0xAARRGGBB, rows packed without gaps.
struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;
};

// Loads PNG (libpng) and JPEG (libjpeg) images into textures of a device format,
// standing in for the image loader of the original platform: the image keeps its
// own size, each level is converted with an ordered dither, and the mip chain is
// box-filtered from full-precision pixels.
class ImageLoader {
  public:
    // PNG or JPEG bytes to pixels. False, with a message, for anything else or damaged data.
    static bool Decode(const uint8_t* data, size_t size, DecodedImage* image, std::string* error);

    // Half the size (not below 1), each pixel the rounded mean of the 2x2 block it covers.
    static DecodedImage BoxHalve(const DecodedImage& image);

    // Writes the image in format into rows of pitch bytes. Channels of 2 to 7 bits are
    // dithered with a 4x4 ordered pattern; 1-bit alpha is a threshold at 128.
    static bool Convert(const DecodedImage& image, GpuFormat format, uint8_t* rows, int32_t pitch);

    // A texture of the image: levels 0 makes the full chain. Null, with a message, when
    // the bytes do not decode or the device refuses the texture.
    static GpuTexture* CreateTexture(GpuDevice* device, const uint8_t* data, size_t size, uint32_t levels,
                                     uint32_t usage, GpuFormat format, GpuPool pool, std::string* error);
};

}  // namespace mareldon
