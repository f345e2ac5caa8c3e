#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/render/ShaderTextBuilder.h"

namespace mareldon {

// "Normal", the game's general material: model parts and screen sprites are drawn
// with it unless a stage material says otherwise. SetConstants reads the part's
// vertex elements, the frame's light records, the batch's own records and the
// part's named values, fills both constant pools and adds the key words of the
// variant; the two builds write its vs.1.1 and ps.1.1 text from what it left.
//
// Limits: at most 4 directional and 4 specular lights, 8 texture coordinate sets,
// 8 morph targets and 4 bone weights take part in a draw; records beyond them only
// add their key words. A part the text could not be written for (a pre-transformed
// part with "Normal", morphing without normals, instances without "X16") is refused.
class NormalShaderGen : public ShaderTextBuilder {
  public:
    static constexpr int32_t kMaxTexCoords = 8;
    static constexpr int32_t kMaxMorphs = 8;
    static constexpr int32_t kMaxBoneWeights = 4;
    static constexpr int32_t kMaxDirectional = 4;
    static constexpr int32_t kMaxSpecular = 4;
    static constexpr int32_t kMaxInstances = 12;

    // The world screen's, the test mode's and most screens' form: 4, 5, 2, 2, 3, 1.
    explicit NormalShaderGen(const RefPtr<Renderer>& owner);
    ~NormalShaderGen() override;
    // The game system's shared generator and three front-end screens: no depth test
    // (always passes) and no depth writes (4, 5, 2, 2, 7, 0).
    static RefPtr<NormalShaderGen> NormalShaderGenAlt(const RefPtr<Renderer>& owner);

    String GetName() override;
    bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part) override;
    // NormalShaderGenVertex.cpp
    void BuildVertexShader() override;
    // NormalShaderGenPixel.cpp
    void BuildPixelShader() override;

    RenderStateBlock states;
    // Draws every item as one without a "Normal" input: unlit, key word "[L]".
    bool forcedUnlit = false;

    // What SetConstants leaves for the builds. Registers point into the builder's
    // name tables; constants are name indexes, -1 where this draw added none.
    struct DrawState {
        const String* position = nullptr;
        bool pretransformed = false;
        const String* normal = nullptr;
        const String* diffuse = nullptr;
        bool unlit = true;
        const String* texCoords[kMaxTexCoords] = {};
        int32_t texCoordCount = 0;
        int32_t uvScrollCount = 0;
        int32_t uvScroll = -1;
        int32_t materialTextures = 0;
        bool x16 = false;
        const String* x16Register = nullptr;
        int32_t x16Base = 0;
        int32_t morphCount = 0;
        const String* morphVectors[kMaxMorphs] = {};
        const String* morphNormals[kMaxMorphs] = {};
        int32_t morphBase = 0;
        int32_t boneWeightCount = 0;
        const String* boneWeights[kMaxBoneWeights] = {};
        int32_t boneBase = 0;
        int32_t sonicCount = 0;
        int32_t sonicCentre = -1;
        int32_t sonic[4] = {-1, -1, -1, -1};  // values 3 to 6 of the record
        int32_t ambientCount = 0;
        int32_t ambient = -1;
        int32_t emissiveLightCount = 0;
        int32_t emissiveLight = -1;
        int32_t directionalCount = 0;
        int32_t directions[kMaxDirectional] = {-1, -1, -1, -1};
        int32_t colours[kMaxDirectional] = {-1, -1, -1, -1};
        int32_t specularCount = 0;
        int32_t eyeDirection = -1;
        int32_t specularDirections[kMaxSpecular] = {-1, -1, -1, -1};
        int32_t specularColours[kMaxSpecular] = {-1, -1, -1, -1};
        int32_t fogCount = 0;
        int32_t fogColour = -1;
        int32_t fogStart = -1;
        int32_t fogScale = -1;
        int32_t shadowCount = 0;
        // Set: a parallel projection, whose depth is the light space z.
        bool shadowFlag = false;
        int32_t shadowMatrix = -1;
        int32_t shadowStart = -1;
        int32_t shadowScale = -1;
        int32_t shadowBias = -1;    // pixel constant (0, 0, 0, bias)
        int32_t shadowColour = -1;  // pixel constant
        int32_t alpha = -1;         // pixel constant (0, 0, 0, alpha)
        bool addLight = false;
        int32_t zero = -1;
        int32_t one = -1;
        int32_t four = -1;
        int32_t positionMatrix = -1;
        int32_t projectionCount = 0;
        int32_t projectionMatrix = -1;
    };
    const DrawState& State() const { return draw; }

  protected:
    void SetPositionTransform(const RenderView* view, RenderBatch& node, const VertexLayout& elements);
    // Pixels to clip space for pre-transformed parts: the target's size, then its own
    // screen transform.
    static Matrix4 ScreenMatrix(const RenderView* view);
    void SetSonic(const RenderBatch& node, const LightList* lights);
    void SetMorphs(const RenderBatch& node, const MeshPart& part);
    void SetBoneWeights(const VertexLayout& elements);
    // The stage materials take no specular light and no "Emissive" value, and name
    // their shadow receiving with their own pixel key word.
    void SetLighting(const RenderView* view, const RenderBatch& node, const MeshPart& part,
                     bool stageMaterial = false);
    void SetShadowMap(const RenderBatch& node, const LightList* lights, const char* keyWord);

    // Vertex sections, in text order.
    void EmitTexCoords();
    void EmitMorphs(const String*& p, const String*& n);
    // The weight left over keeps the unskinned position (and, with `normalise`, the
    // normal, which is then normalised).
    void EmitSkinning(const String*& p, const String*& n, bool remainder, bool normalise);
    void EmitSonic(const String*& p);
    void EmitLitColours(const String& p, const String& n);
    void EmitDirectionalLights(const String& n);
    void EmitShadowCoordinates(const String& p);
    // The pixel text; the unlit form multiplies the whole colour by the texture.
    void EmitPixelShader(bool unlitForm);

    DrawState draw;
};

}  // namespace mareldon
