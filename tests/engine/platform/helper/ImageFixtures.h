#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace mareldon {

// Images written by the tests themselves. Pixels are words 0xAARRGGBB.
inline std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<uint8_t> bytes(size);
    png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

inline std::vector<uint8_t> MakeJpeg(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(width * 3);
    for (uint32_t x = 0; x < width; ++x) {
        row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
    }
    while (info.next_scanline < height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// An IIMG file: header, then each level's 16-bit pixels numbered from first upwards.
inline std::vector<uint8_t> MakeIimg(uint32_t kind, uint32_t width, uint32_t height, uint32_t levels,
                                     uint16_t first = 1) {
    std::vector<uint8_t> bytes = {'I', 'I', 'M', 'G'};
    for (uint32_t word : {kind, width, height, levels, 0u, 0u, 0u}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
        }
    }
    uint16_t value = first;
    for (uint32_t level = 0; level < levels; ++level) {
        uint32_t w = width >> level ? width >> level : 1, h = height >> level ? height >> level : 1;
        for (uint32_t i = 0; i < w * h; ++i, ++value) {
            bytes.push_back(static_cast<uint8_t>(value));
            bytes.push_back(static_cast<uint8_t>(value >> 8));
        }
    }
    return bytes;
}

}  // namespace mareldon
