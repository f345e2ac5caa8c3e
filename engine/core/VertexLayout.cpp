#include "engine/core/VertexLayout.h"

#include "engine/core/Log.h"

namespace mareldon {

int32_t VertexLayout::TypeSize(int32_t type) {
    static constexpr int32_t kSizes[] = {4, 8, 12, 16, 4};
    return type >= 0 && type < 5 ? kSizes[type] : 0;
}

int32_t VertexLayout::AddElement(int32_t type, const char* name) {
    int32_t size = TypeSize(type);
    if (size == 0) {
        LOG_WARN("vertex", "element \"%s\" has unknown type %d", name != nullptr ? name : "", type);
        return -1;
    }
    String semantic(name);
    int32_t usage = 0;
    for (const VertexElement& element : elements) {
        if (element.name == semantic)
            ++usage;
    }
    elements.push_back(VertexElement{type, semantic, usage, stride});
    stride += size;
    return Count() - 1;
}

}  // namespace mareldon
