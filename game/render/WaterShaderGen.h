#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "game/render/NormalShaderGen.h"

namespace mareldon {

// "Water": the lit, textured water material. It shares the "Normal" sections for
// morphing, the Sonic wave, the light colours and shadow receiving, takes no specular
// light, and replaces the texture coordinates by the vertex position through the
// "TextureProjection" record's matrix, shifted by twice the normal's x and z and
// divided by its own w; the projected texture takes stage 0.
//
// Where there is no projection constant (an unlit part, or no record) the texture
// lines copy the part's coordinates. Pre-transformed parts with normals, and morphs
// without normals, are refused.
class WaterShaderGen : public NormalShaderGen {
  public:
    explicit WaterShaderGen(const RefPtr<Renderer>& owner);
    ~WaterShaderGen() override;

    String GetName() override;
    bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part) override;
    void BuildVertexShader() override;
    void BuildPixelShader() override;

    void EmitRcp(const String& d, const String& s);
};

}  // namespace mareldon
