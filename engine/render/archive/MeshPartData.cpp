#include "engine/render/archive/MeshPartData.h"

#include <algorithm>
#include <bit>

#include "engine/core/KeyTrack.h"

namespace mareldon {

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

}  // namespace mareldon
