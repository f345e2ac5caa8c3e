#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "engine/core/RefPtr.h"

namespace mareldon {

// A block of 32-bit words that several arrays view: an archive body, read whole,
// lives on as long as an array cut from it.
class WordBlock {
  public:
    explicit WordBlock(size_t count) : words(new uint32_t[count]), size(count) {}
    virtual ~WordBlock() = default;
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(words.get()); }
    std::unique_ptr<uint32_t[]> words;
    size_t size;
};

// The words of an array: a range of a shared block.
class SharedWords {
  public:
    SharedWords() = default;
    SharedWords(const RefPtr<WordBlock>& block, const uint32_t* first, size_t count)
        : block_(block), first_(first), count_(count) {}
    // A block of its own holding a copy.
    static SharedWords Copy(const uint32_t* words, size_t count);
    SharedWords(std::initializer_list<uint32_t> words) : SharedWords(Copy(words.begin(), words.size())) {}

    const uint32_t* data() const { return first_; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    uint32_t operator[](size_t index) const { return first_[index]; }
    const uint32_t* begin() const { return first_; }
    const uint32_t* end() const { return first_ + count_; }
    bool operator==(const SharedWords& other) const;

  private:
    RefPtr<WordBlock> block_;
    const uint32_t* first_ = nullptr;
    size_t count_ = 0;
};

}  // namespace mareldon
