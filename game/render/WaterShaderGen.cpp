#include "game/render/WaterShaderGen.h"

#include <algorithm>

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

WaterShaderGen::WaterShaderGen(const RefPtr<Renderer>& rendererHandle) : NormalShaderGen(rendererHandle) {}

WaterShaderGen::~WaterShaderGen() = default;

String WaterShaderGen::GetName() {
    return "Water";
}

bool WaterShaderGen::SetConstants(const RefPtr<RenderView>& viewHandle, const RefPtr<RenderBatch>& node,
                                  const RefPtr<MeshPart>& partHandle) {
    draw = DrawState{};
    draw.position = draw.normal = draw.diffuse = draw.x16Register = &NotFoundName();
    if (!node || !partHandle) {
        RefuseDraw("a draw without a batch or a part");
        return false;
    }
    const RenderBatch& batch = *node;
    const MeshPart& part = *partHandle;
    const VertexLayout& elements = part.layout;
    const RenderView* view = viewHandle.Get();

    if (CountInputs(elements, "TPosition") >= 1) {
        draw.pretransformed = true;
        draw.position = &FindInput(elements, "TPosition", 0);
    } else {
        draw.position = &FindInput(elements, "Position", 0);
    }
    states.cullMode = part.cullMode;
    draw.materialTextures = SetMaterialTextures(part.textures);
    ApplyRenderStates(states);
    draw.normal = &FindInput(elements, "Normal", 0);
    draw.unlit = draw.normal->IsEmpty();
    draw.diffuse = &FindInput(elements, "Diffuse", 0);
    draw.texCoordCount = std::min(CountInputs(elements, "TextureUV"), kMaxTexCoords);
    for (int32_t k = 0; k < draw.texCoordCount; ++k)
        draw.texCoords[k] = &FindInput(elements, "TextureUV", k);
    if (draw.position->IsEmpty())
        RefuseDraw("a part without a position");

    if (draw.pretransformed) {
        // Screen-space parts take no lights.
        if (!draw.unlit || draw.diffuse->IsEmpty())
            RefuseDraw("a pre-transformed part with normals or without a colour");
        Matrix4 screen = ScreenMatrix(view);
        draw.positionMatrix = AddMatrixConstant(screen.m);
    } else {
        Matrix4 m = MatrixMultiply(batch.world, view != nullptr ? view->viewProjection : Matrix4Identity());
        draw.positionMatrix = AddMatrixConstant(m.m);
        draw.zero = AddScalarConstant(0.0f);
        draw.one = AddScalarConstant(1.0f);
        const LightList* lights = owner ? &owner->Lights() : nullptr;
        SetSonic(batch, lights);
        // Without morph targets the batch's weights would only shift the constants.
        if (CountInputs(elements, "IndexedMorphVector") != 0)
            SetMorphs(batch, part);
        SetBoneWeights(elements);
        draw.boneBase = AddBonePalette(batch.palette);
        if (!draw.unlit) {
            SetLighting(view, batch, part, true);
            draw.projectionCount = CountLightRecords(lights, "TextureProjection");
            if (draw.projectionCount > 0) {
                const LightRecord& projection = *GetLightRecord(lights, "TextureProjection", 0);
                SetTexture(0, projection.texture.Get());
                Matrix4 p;
                std::copy(projection.values + 3, projection.values + 19, p.m);
                Matrix4 m = MatrixMultiply(batch.world, p);
                draw.projectionMatrix = AddMatrixConstant(m.m);
                AppendPsKeyWord("TextureProjection");
            }
        }
    }
    const float alpha[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    draw.alpha = AddPsConstant(alpha);
    if (draw.fogCount + draw.sonicCount + draw.emissiveLightCount > 0) {
        draw.addLight = true;
        AppendPsKeyWord("AddLight");
    }
    return true;
}

void WaterShaderGen::EmitRcp(const String& d, const String& s) {
    text += "rcp\t" + d + ", " + s + "\n";
}

void WaterShaderGen::BuildVertexShader() {
    const String* p = draw.position;
    const String* n = draw.normal;
    if (draw.pretransformed) {
        EmitM4x4(PositionOutName(), *p, VsConstName(draw.positionMatrix));
        EmitMov("oD0.rgba", draw.diffuse->IsEmpty() ? VsConstName(draw.one) : *draw.diffuse);
        return;
    }
    EmitMorphs(p, n);
    // Lit parts keep no weight remainder: their weights add up to 1.
    EmitSkinning(p, n, draw.unlit, false);
    EmitSonic(p);
    EmitM4x4("r2", *p, VsConstName(draw.positionMatrix));
    EmitMov(PositionOutName(), "r2");
    for (int32_t k = 0; k < draw.texCoordCount; ++k) {
        if (draw.projectionMatrix < 0) {
            EmitMov(TextureOutName(k), *draw.texCoords[k]);
            continue;
        }
        EmitMov("r7", *draw.texCoords[k]);
        EmitAdd("r7.xy", *n + ".xz", *n + ".xz");
        EmitM4x4("r1", *p, VsConstName(draw.projectionMatrix));
        EmitAdd("r1", "r1", "r7");
        EmitRcp("r7.w", "r1.w");
        EmitMul(TextureOutName(k), "r1.xyzw", "r7.w");
    }
    if (!draw.unlit)
        EmitLitColours(*p, *n);
    else
        EmitMov("oD0.rgba", draw.diffuse->IsEmpty() ? VsConstName(draw.one) : *draw.diffuse);
}

void WaterShaderGen::BuildPixelShader() {
    EmitPixelShader(false);
}

}  // namespace mareldon
