#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mareldon {

// A read position over a byte buffer that never leaves it. Every read checks the
// bytes that remain and decodes little-endian field by field; the first failed
// read makes the cursor fail for good, so a record can be read as a chain of
// calls and checked once at its end.
class ArchiveCursor {
  public:
    ArchiveCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return failed_ ? 0 : size_ - pos_; }
    size_t Size() const { return size_; }
    bool Failed() const { return failed_; }
    const uint8_t* Here() const { return data_ + pos_; }

    bool ReadU32(uint32_t& out);
    bool ReadI32(int32_t& out);
    bool ReadF32(float& out);
    // A view of the next n bytes; the cursor moves past them.
    bool ReadBytes(size_t n, const uint8_t*& out);
    bool Skip(size_t n);
    // Moves to the next multiple of 4 counted from `base` (a position in this buffer).
    bool AlignTo4(size_t base);
    // A signed count; 0 or less means no records. Fails when count records of at
    // least minRecordBytes each cannot fit in what remains, which bounds every
    // allocation by the buffer size.
    bool ReadCount(size_t minRecordBytes, size_t& count);
    // A 0-ended string starting here, at most `limit` bytes including the 0; the
    // cursor moves past the 0. Fails when no 0 byte lies inside the limit.
    bool ReadCString(size_t limit, std::string_view& out);
    bool ReadCString(std::string_view& out) { return ReadCString(Remaining(), out); }

    bool Fail() {
        failed_ = true;
        return false;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

inline uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A view of `count` little-endian 32-bit words inside a buffer.
struct ArchiveWords {
    const uint8_t* bytes = nullptr;
    size_t count = 0;

    uint32_t operator[](size_t i) const { return LoadLE32(bytes + i * 4); }
    int32_t Int(size_t i) const { return int32_t((*this)[i]); }
    float Float(size_t i) const;
    // Decodes every word into out[0 .. count).
    void CopyTo(uint32_t* out) const;
};

}  // namespace mareldon
