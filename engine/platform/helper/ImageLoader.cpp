#include "engine/platform/helper/ImageLoader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace mareldon {

namespace {

bool IsPng(const uint8_t* data, size_t size) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, signature, 8) == 0;
}

bool IsJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodePng(const uint8_t* data, size_t size, DecodedImage* image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        *error = std::string("PNG: ") + png.message;
        return false;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide || png.height > kMaxImageSide) {
        png_image_free(&png);
        *error = "PNG: size out of range";
        return false;
    }
    // Bytes B, G, R, A: the little-endian word 0xAARRGGBB.
    png.format = PNG_FORMAT_BGRA;
    image->width = png.width;
    image->height = png.height;
    image->pixels.assign(static_cast<size_t>(png.width) * png.height, 0);
    if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
        *error = std::string("PNG: ") + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// Kept free of C++ objects with destructors between setjmp and the decoder calls.
bool DecodeJpegRows(const uint8_t* data, size_t size, DecodedImage* image, std::vector<uint8_t>* row,
                    JpegError* error) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = JpegErrorExit;
    error->manager.emit_message = JpegQuiet;
    if (setjmp(error->jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxImageSide ||
        info.image_height > kMaxImageSide) {
        std::snprintf(error->message, sizeof error->message, "size out of range");
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    image->width = info.output_width;
    image->height = info.output_height;
    image->pixels.assign(static_cast<size_t>(image->width) * image->height, 0);
    row->assign(static_cast<size_t>(info.output_width) * info.output_components, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row->data()};
        uint32_t y = info.output_scanline;
        jpeg_read_scanlines(&info, rows, 1);
        uint32_t* out = &image->pixels[static_cast<size_t>(y) * image->width];
        for (uint32_t x = 0; x < image->width; ++x) {
            const uint8_t* p = row->data() + x * 3;
            out[x] = 0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* image, std::string* error) {
    JpegError jpegError;
    jpegError.message[0] = 0;
    std::vector<uint8_t> row;
    if (!DecodeJpegRows(data, size, image, &row, &jpegError)) {
        *error = std::string("JPEG: ") + jpegError.message;
        image->pixels.clear();
        return false;
    }
    return true;
}

// Bit layout of a device format: bits and shift of A, R, G, B, and bytes per pixel.
struct Layout {
    uint8_t bits[4];
    uint8_t shift[4];
    uint8_t size;
};

bool LayoutOf(GpuFormat format, Layout* layout) {
    switch (format) {
        case GpuFormat::A8R8G8B8:
            *layout = {{8, 8, 8, 8}, {24, 16, 8, 0}, 4};
            return true;
        case GpuFormat::X8R8G8B8:
            *layout = {{0, 8, 8, 8}, {24, 16, 8, 0}, 4};
            return true;
        case GpuFormat::R5G6B5:
            *layout = {{0, 5, 6, 5}, {16, 11, 5, 0}, 2};
            return true;
        case GpuFormat::X1R5G5B5:
            *layout = {{0, 5, 5, 5}, {15, 10, 5, 0}, 2};
            return true;
        case GpuFormat::A1R5G5B5:
            *layout = {{1, 5, 5, 5}, {15, 10, 5, 0}, 2};
            return true;
        case GpuFormat::A4R4G4B4:
            *layout = {{4, 4, 4, 4}, {12, 8, 4, 0}, 2};
            return true;
        case GpuFormat::X4R4G4B4:
            *layout = {{0, 4, 4, 4}, {12, 8, 4, 0}, 2};
            return true;
        case GpuFormat::A8R3G3B2:
            *layout = {{8, 3, 3, 2}, {8, 5, 2, 0}, 2};
            return true;
        case GpuFormat::A8:
            *layout = {{8, 0, 0, 0}, {0, 0, 0, 0}, 1};
            return true;
        default:
            return false;
    }
}

constexpr uint8_t kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

uint32_t Quantise(uint32_t value, uint32_t bits, uint32_t threshold) {
    if (bits >= 8) {
        return value;
    }
    if (bits == 1) {
        return value >= 128 ? 1 : 0;
    }
    uint32_t step = 1u << (8 - bits);
    uint32_t dithered = value + (threshold * step) / 16;
    return (dithered > 255 ? 255 : dithered) >> (8 - bits);
}

}  // namespace

bool ImageLoader::Decode(const uint8_t* data, size_t size, DecodedImage* image, std::string* error) {
    if (!data) {
        *error = "no image data";
        return false;
    }
    if (IsPng(data, size)) {
        return DecodePng(data, size, image, error);
    }
    if (IsJpeg(data, size)) {
        return DecodeJpeg(data, size, image, error);
    }
    *error = "not a PNG or JPEG image";
    return false;
}

DecodedImage ImageLoader::BoxHalve(const DecodedImage& image) {
    DecodedImage half;
    half.width = image.width > 1 ? image.width / 2 : 1;
    half.height = image.height > 1 ? image.height / 2 : 1;
    half.pixels.resize(static_cast<size_t>(half.width) * half.height);
    for (uint32_t y = 0; y < half.height; ++y) {
        for (uint32_t x = 0; x < half.width; ++x) {
            uint32_t sum[4] = {};
            uint32_t count = 0;
            for (uint32_t sy = y * 2; sy < y * 2 + 2 && sy < image.height; ++sy) {
                for (uint32_t sx = x * 2; sx < x * 2 + 2 && sx < image.width; ++sx) {
                    uint32_t p = image.pixels[static_cast<size_t>(sy) * image.width + sx];
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += (p >> (24 - 8 * c)) & 0xFF;
                    }
                    ++count;
                }
            }
            uint32_t out = 0;
            for (int c = 0; c < 4; ++c) {
                out |= ((sum[c] + count / 2) / count) << (24 - 8 * c);
            }
            half.pixels[static_cast<size_t>(y) * half.width + x] = out;
        }
    }
    return half;
}

bool ImageLoader::Convert(const DecodedImage& image, GpuFormat format, uint8_t* rows, int32_t pitch) {
    Layout layout;
    if (!LayoutOf(format, &layout)) {
        return false;
    }
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* out = rows + static_cast<ptrdiff_t>(y) * pitch;
        for (uint32_t x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            uint32_t threshold = kBayer[y & 3][x & 3];
            uint32_t word = 0;
            for (int c = 0; c < 4; ++c) {
                if (layout.bits[c]) {
                    word |= Quantise((p >> (24 - 8 * c)) & 0xFF, layout.bits[c], threshold)
                            << layout.shift[c];
                }
            }
            std::memcpy(out + x * layout.size, &word, layout.size);  // little-endian low bytes
        }
    }
    return true;
}

GpuTexture* ImageLoader::CreateTexture(GpuDevice* device, const uint8_t* data, size_t size, uint32_t levels,
                                       uint32_t usage, GpuFormat format, GpuPool pool, std::string* error) {
    DecodedImage image;
    if (!Decode(data, size, &image, error)) {
        return nullptr;
    }
    Layout layout;
    if (!LayoutOf(format, &layout)) {
        *error = std::string("no conversion to ") + GpuFormatName(format);
        return nullptr;
    }
    GpuPtr<GpuTexture> texture;
    if (GpuFailed(device->CreateTexture(image.width, image.height, levels, usage, format, pool,
                                        texture.Receive()))) {
        *error = "the device refused the texture";
        return nullptr;
    }
    uint32_t count = texture->GetLevelCount();
    for (uint32_t level = 0; level < count; ++level) {
        if (level > 0) {
            image = BoxHalve(image);
        }
        GpuLockedRect locked;
        if (!GpuFailed(texture->LockRect(level, &locked, nullptr, 0))) {
            Convert(image, format, static_cast<uint8_t*>(locked.pBits), locked.Pitch);
            texture->UnlockRect(level);
            continue;
        }
        // Levels that cannot be locked (render targets) are filled through a staging surface.
        GpuPtr<GpuSurface> staging, target;
        if (GpuFailed(device->CreateImageSurface(image.width, image.height, format, staging.Receive())) ||
            GpuFailed(texture->GetSurfaceLevel(level, target.Receive())) ||
            GpuFailed(staging->LockRect(&locked, nullptr, 0))) {
            continue;
        }
        Convert(image, format, static_cast<uint8_t*>(locked.pBits), locked.Pitch);
        staging->UnlockRect();
        device->CopyRects(staging.Get(), target.Get());
    }
    return texture.Detach();
}

}  // namespace mareldon
