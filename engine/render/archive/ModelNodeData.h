#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/MeshData.h"
#include "engine/render/archive/ParamTrack.h"

namespace mareldon {

class KeyTrack;

class ModelNodeData {
  public:
    ModelNodeData();
    virtual ~ModelNodeData();
    RefPtr<String> name;
    int32_t type = 0;
    // Position xyz, Euler xyz, scale xyz, pivot xyz.
    std::array<RefPtr<KeyTrack>, 12> tracks;
    std::vector<RefPtr<ModelNodeData>> children;
    float startTime = 0.0f;  // type 0
    float endTime = 0.0f;
    RefPtr<MeshData> mesh;  // type 2
    std::vector<ParamTrack> params;
    int32_t paletteIndex = 0;  // type 3
    std::array<float, 16> offsetMatrix{};
};

}  // namespace mareldon
