#include "engine/render/draw/RenderBatch.h"

#include "engine/render/archive/MeshData.h"

namespace mareldon {

RenderBatch::RenderBatch(uint8_t instancingFlag, int32_t paletteMatrices, int32_t parameterTotal)
    : instancing(instancingFlag),
      paletteSize(paletteMatrices > 0 ? paletteMatrices : 0),
      parameterCount(parameterTotal > 0 ? parameterTotal : 0),
      parameters(static_cast<size_t>(parameterCount), 0.0f),
      palette(static_cast<size_t>(paletteSize), Matrix4Identity()) {}

RenderBatch::RenderBatch(const RefPtr<MeshData>& data)
    : RenderBatch(data && data->instancing ? 1 : 0, data ? data->paletteSize : 0,
                  data ? data->parameterCount : 0) {
    meshData = data.Get();
}

RenderBatch::~RenderBatch() = default;

void RenderBatch::AppendInstance(const RefPtr<RenderBatch>& instance) {
    instances.Add(instance);
    instancesToDraw = instances.Count();
}

void RenderBatch::ClearInstances() {
    instances.Clear();
    instancesToDraw = 0;
}

}  // namespace mareldon
