#include "engine/render/archive/SharedWords.h"

#include <algorithm>

namespace mareldon {

SharedWords SharedWords::Copy(const uint32_t* words, size_t count) {
    RefPtr<WordBlock> block(new WordBlock(count));
    std::copy(words, words + count, block->words.get());
    return SharedWords(block, block->words.get(), count);
}

bool SharedWords::operator==(const SharedWords& other) const {
    return count_ == other.count_ && std::equal(begin(), end(), other.begin());
}

}  // namespace mareldon
