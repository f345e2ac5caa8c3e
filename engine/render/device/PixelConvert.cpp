#include "engine/render/device/PixelConvert.h"

#include <bit>
#include <cstddef>
#include <cstring>

namespace mareldon {

namespace {

// Pixels are little-endian in memory whatever the host; byte 0 is bits 7-0.
inline uint32_t Load32(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void Store16(uint8_t* p, uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        const uint16_t h = static_cast<uint16_t>(v);
        std::memcpy(p, &h, 2);
        return;
    }
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void Store32(uint8_t* p, uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, 4);
        return;
    }
    Store16(p, v & 0xFFFF);
    Store16(p + 2, v >> 16);
}

// The row walk every converter shares. A plain per-pixel loop: the compiler unrolls and
// vectorises it, and there is no per-pixel branch.
template <int SourceSize, int DestSize, typename Rule>
void ConvertRows(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height, Rule rule) {
    if (width < 1 || height < 1) {
        return;
    }
    const std::ptrdiff_t sourcePitch = static_cast<std::ptrdiff_t>(width) * SourceSize;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = dest + static_cast<std::ptrdiff_t>(y) * destPitch;
        const uint8_t* in = source + y * sourcePitch;
        for (int x = 0; x < width; ++x) {
            if constexpr (DestSize == 4) {
                Store32(out, rule(Load32(in)));
            } else {
                Store16(out, rule(Load32(in)));
            }
            out += DestSize;
            in += SourceSize;
        }
    }
}

void CopyRows(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height, int pixelSize) {
    if (width < 1 || height < 1) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * pixelSize;
    for (int y = 0; y < height; ++y) {
        std::memcpy(dest + static_cast<std::ptrdiff_t>(y) * destPitch, source + y * rowBytes, rowBytes);
    }
}

}  // namespace

int PixelKindSize(PixelKind kind) {
    return kind == PixelKind::ARGB8888 || kind == PixelKind::ABGR8888 ? 4 : 2;
}

void CopyPixels32(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    CopyRows(dest, destPitch, source, width, height, 4);
}

void SwapRedBlue32(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    ConvertRows<4, 4>(dest, destPitch, source, width, height, [](uint32_t w) {
        return (w & 0xFF00FF00u) | ((w >> 16) & 0xFFu) | ((w & 0xFFu) << 16);
    });
}

void ConvertArgb8888ToArgb4444(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    ConvertRows<4, 2>(dest, destPitch, source, width, height, [](uint32_t w) {
        return ((w >> 16) & 0xF000u) | ((w >> 12) & 0x0F00u) | ((w >> 8) & 0x00F0u) | ((w >> 4) & 0x000Fu);
    });
}

void ConvertAbgr8888ToArgb4444(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    ConvertRows<4, 2>(dest, destPitch, source, width, height, [](uint32_t w) {
        return ((w >> 16) & 0xF000u) | ((w << 4) & 0x0F00u) | ((w >> 8) & 0x00F0u) | ((w >> 20) & 0x000Fu);
    });
}

void ConvertArgb8888ToAbgr1555(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    ConvertRows<4, 2>(dest, destPitch, source, width, height, [](uint32_t w) {
        return ((w >> 16) & 0x8000u) | ((w << 7) & 0x7C00u) | ((w >> 6) & 0x03E0u) | ((w >> 19) & 0x001Fu);
    });
}

void ConvertAbgr8888ToAbgr1555(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    ConvertRows<4, 2>(dest, destPitch, source, width, height, [](uint32_t w) {
        return ((w >> 16) & 0x8000u) | ((w >> 9) & 0x7C00u) | ((w >> 6) & 0x03E0u) | ((w >> 3) & 0x001Fu);
    });
}

void CopyPixels16(uint8_t* dest, int destPitch, const uint8_t* source, int width, int height) {
    CopyRows(dest, destPitch, source, width, height, 2);
}

PixelConverter FindPixelConverter(PixelKind source, PixelKind texture) {
    const bool source32 = PixelKindSize(source) == 4;
    if (!source32) {
        // 16-bit pixels are only ever copied into their own kind.
        return source == texture ? &CopyPixels16 : nullptr;
    }
    const bool sourceArgb = source == PixelKind::ARGB8888;
    switch (texture) {
        case PixelKind::ARGB8888:
            return sourceArgb ? &CopyPixels32 : &SwapRedBlue32;
        case PixelKind::ABGR8888:
            return sourceArgb ? &SwapRedBlue32 : &CopyPixels32;
        case PixelKind::ARGB4444:
            return sourceArgb ? &ConvertArgb8888ToArgb4444 : &ConvertAbgr8888ToArgb4444;
        case PixelKind::ABGR4444:
            return sourceArgb ? &ConvertAbgr8888ToArgb4444 : &ConvertArgb8888ToArgb4444;
        case PixelKind::ABGR1555:
            return sourceArgb ? &ConvertArgb8888ToAbgr1555 : &ConvertAbgr8888ToAbgr1555;
        case PixelKind::ARGB1555:
            return nullptr;
    }
    return nullptr;
}

}  // namespace mareldon
