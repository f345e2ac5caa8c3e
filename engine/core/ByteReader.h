#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mareldon {

inline uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Little-endian reads over a byte range that never leave it. Every read checks
// the remaining length first; a short read leaves the target untouched and makes
// the reader fail for good, so a record can be read as a chain of calls and
// checked once at its end.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool U8(uint8_t& value);
    bool U32(uint32_t& value);
    bool I32(int32_t& value);
    bool F32(float& value);
    // The low word first.
    bool U64(uint64_t& value);
    // A view of the next n bytes; the reader moves past them.
    bool Bytes(size_t n, const uint8_t*& out);
    bool Skip(size_t n);
    // Moves to the next multiple of 4 counted from `base` (a position in this range).
    bool AlignTo4(size_t base);
    // A signed count; 0 or less means no records. Fails when count records of at
    // least minRecordBytes each cannot fit in what remains, which bounds every
    // allocation by the input size.
    bool Count(size_t minRecordBytes, size_t& count);
    // A 0-ended string starting here, at most `limit` bytes including the 0; the
    // reader moves past the 0. Fails when no 0 byte lies inside the limit.
    bool CString(size_t limit, std::string_view& out);
    bool CString(std::string_view& out) { return CString(Remaining(), out); }

    // Marks the input as unusable (a field holds an impossible value).
    bool Fail() {
        failed_ = true;
        return false;
    }

    size_t Remaining() const { return failed_ ? 0 : size_ - pos_; }
    size_t Position() const { return pos_; }
    bool Ok() const { return !failed_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace mareldon
