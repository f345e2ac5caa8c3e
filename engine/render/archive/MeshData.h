#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/render/archive/MeshPartData.h"

namespace mareldon {

class MeshData {
  public:
    virtual ~MeshData() = default;
    int32_t paletteSize = 0;
    int32_t parameterCount = 0;
    bool instancing = false;
    std::vector<RefPtr<MeshPartData>> parts;
};

}  // namespace mareldon
