#include "engine/platform/GpuIndexBlocks.h"

#include <algorithm>
#include <cstring>

namespace mareldon {
namespace {

constexpr uint32_t kIndexBlock = 64;

}  // namespace

void GpuIndexBlocks::Reset(uint32_t bufferSize, uint32_t indexSize) {
    count_ = bufferSize / indexSize;
    indexSize_ = indexSize;
    maxima_.assign((count_ + kIndexBlock - 1) / kIndexBlock, 0);
}

uint32_t GpuIndexBlocks::IndexAt(const uint8_t* bytes, uint32_t i) const {
    const uint8_t* p = bytes + static_cast<size_t>(i) * indexSize_;
    if (indexSize_ == 4) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void GpuIndexBlocks::Update(const uint8_t* bytes, uint32_t offset, uint32_t size) {
    if (size == 0 || maxima_.empty()) {
        return;
    }
    uint32_t firstBlock = offset / indexSize_ / kIndexBlock;
    uint64_t endIndex = std::min<uint64_t>(count_, (uint64_t{offset} + size + indexSize_ - 1) / indexSize_);
    for (uint32_t block = firstBlock; uint64_t{block} * kIndexBlock < endIndex; ++block) {
        uint32_t end = std::min(count_, (block + 1) * kIndexBlock);
        uint32_t largest = 0;
        for (uint32_t i = block * kIndexBlock; i < end; ++i) {
            largest = std::max(largest, IndexAt(bytes, i));
        }
        maxima_[block] = largest;
    }
}

uint32_t GpuIndexBlocks::Max(const uint8_t* bytes, uint32_t first, uint32_t count) const {
    uint32_t largest = 0;
    uint32_t i = first, end = first + count;
    while (i < end) {
        if (i % kIndexBlock == 0 && i + kIndexBlock <= end) {
            largest = std::max(largest, maxima_[i / kIndexBlock]);
            i += kIndexBlock;
        } else {
            largest = std::max(largest, IndexAt(bytes, i));
            ++i;
        }
    }
    return largest;
}

}  // namespace mareldon
