#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mareldon {

// Appends little-endian fields to its byte vector. The operations a file codec
// shares with ByteReader (U8/U32/I32/U64/Skip/Ok) take the same arguments, so one
// template can spell a file layout for both directions.
class ByteWriter {
  public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U16(uint16_t value);
    void U32(uint32_t value);
    void I32(int32_t value) { U32(uint32_t(value)); }
    void F32(float value) { U32(std::bit_cast<uint32_t>(value)); }
    // The low word first.
    void U64(uint64_t value);
    // A record count, stored as a 32-bit word.
    void Count(size_t n) { U32(uint32_t(n)); }
    void Bytes(const void* data, size_t n);
    void Bytes(const std::vector<uint8_t>& data) { Bytes(data.data(), data.size()); }
    void Text(std::string_view text) { Bytes(text.data(), text.size()); }
    template <typename Word>
    void Words(const std::vector<Word>& words) {
        for (Word v : words) {
            U32(uint32_t(v));
        }
    }
    void Zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    // Bytes no reader uses are written as zeros.
    void Skip(size_t n) { Zeros(n); }
    // Zero bytes up to a multiple of 4 counted from `base`.
    void Pad4(size_t base);
    bool Ok() const { return true; }

    std::vector<uint8_t> bytes;
};

}  // namespace mareldon
