#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/render/ShaderTextBuilder.h"

namespace mareldon {

// "Makeshadow": draws shadow casters into the shadow map, each pixel's depth between
// the view's near and far distances as a grey level. Parts that cast no shadow are
// culled and, should they reach it uncalled (cull switch 0, instances), refused; so
// are parts with more than four bone weights.
class MakeshadowShaderGen : public ShaderTextBuilder {
  public:
    static constexpr int32_t kMaxBoneWeights = 4;

    explicit MakeshadowShaderGen(const RefPtr<Renderer>& owner);
    ~MakeshadowShaderGen() override;

    String GetName() override;
    bool Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node, const RefPtr<MeshPart>& part,
              float& depth) override;
    bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part) override;
    void BuildVertexShader() override;
    void BuildPixelShader() override;

    RenderStateBlock states;

    struct DrawState {
        const String* position = nullptr;
        const String* boneWeights[kMaxBoneWeights] = {};
        int32_t boneWeightCount = 0;
        int32_t matrixConstant = -1;
        int32_t depthScaleConstant = -1;
        int32_t depthOffsetConstant = -1;
        bool parallelProjection = true;
        int32_t paletteBase = 0;
    };
    const DrawState& State() const { return draw; }

  private:
    DrawState draw;
};

}  // namespace mareldon
