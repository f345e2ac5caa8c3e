#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mareldon {

// Little-endian reads over a byte range. Every read checks the remaining length
// first; a short read leaves the target untouched and makes the reader fail for
// good, so a parser checks Ok() once at the end.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool U8(uint8_t& value);
    bool U32(uint32_t& value);
    bool I32(int32_t& value);
    bool U64(uint64_t& value);
    // Points at the next n bytes and skips them; null when fewer remain.
    const uint8_t* Bytes(size_t n);
    void Skip(size_t n) { Bytes(n); }
    // Marks the input as unusable (a field holds an impossible value).
    void Fail() { failed_ = true; }

    size_t Remaining() const { return failed_ ? 0 : size_ - pos_; }
    size_t Position() const { return pos_; }
    bool Ok() const { return !failed_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// Little-endian writes appended to a byte vector. Its operations mirror the
// reader's, so one template can spell a file layout for both directions.
class ByteWriter {
  public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U8(uint8_t value) { out_.push_back(value); }
    void U32(uint32_t value);
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void U64(uint64_t value);
    void Bytes(const void* data, size_t n);
    void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }
    // Bytes no reader uses are written as zeros.
    void Skip(size_t n) { Zeros(n); }
    bool Ok() const { return true; }

  private:
    std::vector<uint8_t>& out_;
};

}  // namespace mareldon
