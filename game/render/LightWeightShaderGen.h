#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/render/ShaderTextBuilder.h"

namespace mareldon {

// "LightWeight": ambient, at most two directional lights, one specular light, an added
// emissive colour and one texture. A part with "X16" draws up to 16 instances a call,
// each with its own transform, light and eye directions in its own model space,
// texture offset and alpha, held in constant arrays the vertex text indexes by a0.x;
// the arrays' first registers are key words.
//
// Instances missing a "UVScroll" record scroll by 0; an instance without parts is
// opaque. A device with too few constants for one instance refuses instanced draws.
class LightWeightShaderGen : public ShaderTextBuilder {
  public:
    static constexpr int32_t kMaxInstances = 16;
    static constexpr int32_t kMaxDirectional = 2;
    // Registers shared by every instance, and those each instance takes at most.
    static constexpr int32_t kSharedRegisters = 12;
    static constexpr int32_t kInstanceRegisters = 10;

    explicit LightWeightShaderGen(const RefPtr<Renderer>& owner);
    ~LightWeightShaderGen() override;

    String GetName() override;
    bool Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node, const RefPtr<MeshPart>& part,
              float& depth) override;
    bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part) override;
    void BuildVertexShader() override;
    void BuildPixelShader() override;

    // The owner's configuration: 4, 5, 2, 2, 3, 0 after construction.
    RenderStateBlock states;
    bool forcedUnlit = false;

    struct DrawState {
        const String* position = nullptr;
        const String* normal = nullptr;
        const String* x16 = nullptr;
        const String* texCoord = nullptr;
        int32_t texCoordCount = 0;
        int32_t materialTextures = 0;
        bool unlit = true;
        bool addLight = false;
        bool instanced = false;
        bool instancedUV = false;
        bool instancedAlpha = false;
        int32_t instances = 0;
        int32_t directionalCount = 0;
        int32_t specularCount = 0;
        int32_t emissiveCount = 0;
        int32_t zero = -1, one = -1, four = -1;
        int32_t transform = -1;
        int32_t ambient = -1;
        int32_t directions[kMaxDirectional] = {-1, -1};
        int32_t colours[kMaxDirectional] = {-1, -1};
        int32_t specularDirection = -1;
        int32_t specularColour = -1;
        int32_t eyeDirection = -1;
        int32_t emissive = -1;
        int32_t alpha = -1;
        // First registers of the per-instance arrays.
        int32_t uvBase = 0;
        int32_t transformBase = 0;
        int32_t directionBases[kMaxDirectional] = {0, 0};
        int32_t eyeBase = 0;
        int32_t specularBase = 0;
        int32_t alphaBase = 0;
    };
    const DrawState& State() const { return draw; }

  private:
    void SetLighting(const RenderView* view, const RenderBatch& batch, const MeshPart& part);
    // The instance entry k of this draw holds: the one at (still to draw - 1 - k).
    const RenderBatch& InstanceAt(const RenderBatch& batch, int32_t k) const;
    void AppendBaseWord(const char* word, int32_t base);

    DrawState draw;
};

}  // namespace mareldon
