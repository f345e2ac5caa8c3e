#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mareldon {

// Appends little-endian fields to a byte vector.
class ByteWriter {
  public:
    void U32(uint32_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
        bytes.push_back(uint8_t(v >> 16));
        bytes.push_back(uint8_t(v >> 24));
    }
    void I32(int32_t v) { U32(uint32_t(v)); }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void Count(size_t n) { U32(uint32_t(n)); }
    void U16(uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    }
    void Bytes(const std::vector<uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
    void Text(std::string_view text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    template <typename Word>
    void Words(const std::vector<Word>& words) {
        for (Word v : words) {
            U32(uint32_t(v));
        }
    }
    // Zero bytes up to a multiple of 4 counted from `base`.
    void Pad4(size_t base) {
        while ((bytes.size() - base) % 4 != 0) {
            bytes.push_back(0);
        }
    }
    std::vector<uint8_t> bytes;
};

}  // namespace mareldon
