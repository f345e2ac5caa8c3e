#include "engine/render/archive/ArchiveObjects.h"

#include <algorithm>
#include <bit>

#include "engine/core/KeyTrack.h"

namespace mareldon {

SharedWords SharedWords::Copy(const uint32_t* words, size_t count) {
    RefPtr<WordBlock> block(new WordBlock(count));
    std::copy(words, words + count, block->words.get());
    return SharedWords(block, block->words.get(), count);
}

bool SharedWords::operator==(const SharedWords& other) const {
    return count_ == other.count_ && std::equal(begin(), end(), other.begin());
}

MeshPartData::MeshPartData() = default;
MeshPartData::~MeshPartData() = default;

void MeshPartData::BuildLayout() {
    if (layout.Count() != 0) {
        return;
    }
    for (const MeshElement& element : elements) {
        for (int32_t left = element.floatCount; left > 0; left -= 4) {
            layout.AddElement(std::min(left, 4) - 1, element.name->Text());
        }
    }
}

float MeshPartData::DrawFloat(int word) const {
    return std::bit_cast<float>(drawSettings[size_t(word)]);
}

ModelNodeData::ModelNodeData() = default;
ModelNodeData::~ModelNodeData() = default;

}  // namespace mareldon
