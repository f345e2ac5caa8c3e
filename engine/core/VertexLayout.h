#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/String.h"

namespace mareldon {

struct VertexElement {
    int32_t type;  // 0..4: 4, 8, 12, 16 and 4 bytes
    String name;   // semantic name, chosen by the caller
    int32_t usageIndex;
    int32_t offset;
};

// Element offsets and usage indices of a vertex buffer's layout.
class VertexLayout {
  public:
    // Bytes of an element type; 0 for a type that does not exist.
    static int32_t TypeSize(int32_t type);

    // Appends an element at the current stride. Its usage index counts the elements
    // of the same name before it. An unknown type is refused: -1, nothing added.
    int32_t AddElement(int32_t type, const char* name);

    int32_t Count() const { return static_cast<int32_t>(elements.size()); }
    const VertexElement& Element(int32_t index) const { return elements[static_cast<size_t>(index)]; }
    int32_t Stride() const { return stride; }

  private:
    std::vector<VertexElement> elements;
    int32_t stride = 0;
};

}  // namespace mareldon
