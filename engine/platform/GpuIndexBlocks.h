#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

// The largest index of every block of 64 indices of an index buffer, kept as
// the buffer is unlocked, so that a draw finds the vertices its indices reach
// by reading only the ends of its range.
class GpuIndexBlocks {
  public:
    // A buffer of bufferSize bytes of indices of indexSize bytes (2 or 4), all zero.
    void Reset(uint32_t bufferSize, uint32_t indexSize);
    // After the bytes from offset (size bytes) of the buffer changed.
    void Update(const uint8_t* bytes, uint32_t offset, uint32_t size);
    // The largest of count indices from first (within the buffer).
    uint32_t Max(const uint8_t* bytes, uint32_t first, uint32_t count) const;
    uint32_t Count() const { return count_; }
    uint32_t IndexSize() const { return indexSize_; }

  private:
    uint32_t IndexAt(const uint8_t* bytes, uint32_t i) const;

    std::vector<uint32_t> maxima_;
    uint32_t count_ = 0;
    uint32_t indexSize_ = 2;
};

}  // namespace mareldon
