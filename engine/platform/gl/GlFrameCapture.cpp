#include "engine/platform/gl/GlFrameCapture.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/core/Log.h"

namespace mareldon {

namespace {

// The PNG stream into an open file; false when libpng gave up.
bool WritePngTo(FILE* file, int width, int height, const uint32_t* argb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const uint32_t* source = argb + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                row[x * 3 + 0] = static_cast<png_byte>(source[x] >> 16);
                row[x * 3 + 1] = static_cast<png_byte>(source[x] >> 8);
                row[x * 3 + 2] = static_cast<png_byte>(source[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return ok;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const uint32_t* argb) {
    if (width <= 0 || height <= 0 || argb == nullptr) {
        return false;
    }
    // Written aside and renamed: whoever waits for the file never reads half of it.
    const std::string aside = path + ".part";
    FILE* file = std::fopen(aside.c_str(), "wb");
    if (file == nullptr) {
        LOG_ERROR("gl", "cannot write the capture %s", path.c_str());
        return false;
    }
    bool ok = WritePngTo(file, width, height, argb);
    if (std::fclose(file) != 0) {
        ok = false;
    }
    if (ok && std::rename(aside.c_str(), path.c_str()) != 0) {
        ok = false;
    }
    if (!ok) {
        std::remove(aside.c_str());
        LOG_ERROR("gl", "writing the capture %s failed", path.c_str());
    }
    return ok;
}

}  // namespace mareldon
