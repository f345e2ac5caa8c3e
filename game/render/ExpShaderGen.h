#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/render/ShaderTextBuilder.h"

namespace mareldon {

// "Exp", the effect material: textured quads whose coordinates are shifted by the
// batch's "UVScroll" offset, blended over the scene without depth test or writes. A
// part with "X16" draws up to 16 queued instances a call, each with its own matrix and
// offset. A missing "UVScroll" record gives the offset 0; instances of a part without
// "TextureUV" are refused (their text could not be written).
class ExpShaderGen : public ShaderTextBuilder {
  public:
    static constexpr int32_t kMaxTexCoords = 8;
    static constexpr int32_t kMaxInstances = 16;

    explicit ExpShaderGen(const RefPtr<Renderer>& owner);
    ~ExpShaderGen() override;

    String GetName() override;
    bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part) override;
    void BuildVertexShader() override;
    void BuildPixelShader() override;

    RenderStateBlock states;

    // What SetConstants leaves for the builds.
    struct DrawState {
        const String* position = nullptr;
        const String* instance = nullptr;
        const String* uv[kMaxTexCoords] = {};
        int32_t uvCount = 0;
        int32_t textureCount = 0;
        int32_t matrixConstant = -1;
        int32_t scrollConstant = -1;
        bool instanced = false;
        int32_t instances = 0;
        int32_t matrixBase = 0;
        int32_t scrollBase = 0;
    };
    const DrawState& State() const { return draw; }

  private:
    DrawState draw;
};

}  // namespace mareldon
