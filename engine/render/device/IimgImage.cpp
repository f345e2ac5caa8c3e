#include "engine/render/device/IimgImage.h"

#include <cstring>

#include "engine/platform/GpuTypes.h"

namespace mareldon {

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

bool IimgImage::IsIimg(const void* data, size_t size) {
    return data && size >= 4 && std::memcmp(data, "IIMG", 4) == 0;
}

size_t IimgImage::LevelBytes(uint32_t level) const {
    return size_t{GpuLevelSize(width, level)} * GpuLevelSize(height, level) * 2;
}

bool IimgImage::Read(const void* data, size_t size, const char** error) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!IsIimg(data, size) || size < kHeaderSize) {
        *error = "IIMG header too short";
        return false;
    }
    kind = ReadU32(bytes + 4);
    width = ReadU32(bytes + 8);
    height = ReadU32(bytes + 12);
    levels = ReadU32(bytes + 16);
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        *error = "IIMG size out of range";
        return false;
    }
    if (levels < 1 || levels > GpuLevelChain(width, height)) {
        *error = "IIMG level count out of range";
        return false;
    }
    size_t total = 0;
    for (uint32_t level = 0; level < levels; ++level) {
        total += LevelBytes(level);
    }
    if (total > size - kHeaderSize) {
        *error = "IIMG pixels extend past the data";
        return false;
    }
    pixels = bytes + kHeaderSize;
    return true;
}

}  // namespace mareldon
