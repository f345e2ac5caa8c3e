#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/HandleArray.h"
#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/render/draw/LightList.h"

namespace mareldon {

class MeshData;
class MeshPart;

// The unit the Renderer draws into a view: parts plus the values their shaders read.
// A batch that collects the instances of one mesh (instancing flag set) also holds
// the instances appended this frame.
class RenderBatch {
  public:
    static constexpr int32_t kInstanceCapacity = 16;
    static constexpr int32_t kPartCapacity = 2;

    // For batches built by code.
    RenderBatch(uint8_t instancing, int32_t paletteSize, int32_t parameterCount);
    // For a model layer: palette size, parameter count and instancing flag of its mesh data.
    explicit RenderBatch(const RefPtr<MeshData>& data);
    virtual ~RenderBatch();
    RenderBatch(const RenderBatch&) = delete;
    RenderBatch& operator=(const RenderBatch&) = delete;

    // Around the drawing of the parts.
    virtual void Prepare() {}
    virtual void Finish() {}

    // A collector's instance for this frame.
    void AppendInstance(const RefPtr<RenderBatch>& instance);
    // Lets the instances go and zeroes the counts.
    void ClearInstances();
    int32_t InstanceCount() const { return instances.Count(); }
    const RefPtr<RenderBatch>& Instance(int32_t index) const { return instances[index]; }

    // The mesh data the batch was built from (collectors are matched by it), or null.
    MeshData* meshData = nullptr;
    HandleArray<RenderBatch> instances{kInstanceCapacity};
    int32_t instancesToDraw = 0;
    uint8_t instancing = 0;
    // Set: the generators never cull this batch's parts.
    uint8_t cullOff = 0;
    HandleArray<MeshPart> parts{kPartCapacity};
    int32_t paletteSize = 0;
    int32_t parameterCount = 0;
    std::vector<float> parameters;
    std::vector<Matrix4> palette;
    float time = 0.0f;
    // The batch's own records ("EmissiveLight", "UVScroll"), refilled by its owner.
    LightList records{2};
    Matrix4 world = Matrix4Identity();
    Matrix4 inverseWorld = Matrix4Identity();
};

}  // namespace mareldon
