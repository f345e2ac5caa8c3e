#pragma once

#include <cstddef>
#include <cstdint>

namespace mareldon {

// The in-house image format, little-endian:
//   offset  0  4 bytes  "IIMG"
//   offset  4  u32      pixel kind (stored as the texture's kind)
//   offset  8  u32      width
//   offset 12  u32      height
//   offset 16  u32      level count
//   offset 20  12 bytes not read
//   offset 32           each level: height rows of width 16-bit A4R4G4B4 pixels, no padding;
//                       width and height halve per level, not below 1.
struct IimgImage {
    static constexpr size_t kHeaderSize = 32;
    static constexpr uint32_t kMaxSide = 4096;
    static constexpr uint32_t kMaxLevels = 13;

    uint32_t kind = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 0;
    const uint8_t* pixels = nullptr;  // the first level, inside the bytes given

    // Whether the bytes start with the tag.
    static bool IsIimg(const void* data, size_t size);
    // Reads the header and checks that the levels it declares lie within the bytes
    // given; false, with a reason, for a header that is short, out of range or lies.
    bool Read(const void* data, size_t size, const char** error);
    // Bytes of one level.
    size_t LevelBytes(uint32_t level) const;
};

}  // namespace mareldon
