#include "game/render/MakeshadowShaderGen.h"

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"

namespace mareldon {

namespace {

// Pixel centres lie on whole coordinates and texel centres half a texel in: drawn as
// is, each texel would hold the depth half a texel before the point the receivers'
// texture matrix reads it for, an error that grows with a caster's slope and, on
// faces steeper than about 60 degrees to the light, outgrows a small bias (acne).
// Drawing the map half a texel back, left and up, puts each depth at its texel's centre.
Matrix4 HalfTexelBack(RenderView& view) {
    int32_t width = view.viewport.width, height = view.viewport.height;
    if ((width == 0 || height == 0) && view.target) {
        width = view.target->Width();
        height = view.target->Height();
    }
    Matrix4 shift = Matrix4Identity();
    if (width > 0 && height > 0) {
        shift[3] = -1.0f / float(width);
        shift[7] = 1.0f / float(height);
    }
    return shift;
}

}  // namespace

MakeshadowShaderGen::MakeshadowShaderGen(const RefPtr<Renderer>& rendererHandle)
    : ShaderTextBuilder(rendererHandle), states{1, 0, 2, 2, 3, 1} {}

MakeshadowShaderGen::~MakeshadowShaderGen() = default;

String MakeshadowShaderGen::GetName() {
    return "Makeshadow";
}

bool MakeshadowShaderGen::Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                               const RefPtr<MeshPart>& part, float& depth) {
    if (part && part->castShadow == 0)
        return true;
    return ShaderTextBuilder::Cull(view, node, part, depth);
}

bool MakeshadowShaderGen::SetConstants(const RefPtr<RenderView>& viewHandle, const RefPtr<RenderBatch>& node,
                                       const RefPtr<MeshPart>& partHandle) {
    draw = DrawState{};
    draw.position = &NotFoundName();
    // Culling is not asked for every part (cull switch 0, instances): a part that
    // casts no shadow is kept out here, quietly, as it is no fault.
    if (!node || !partHandle || partHandle->castShadow == 0)
        return false;
    const RenderBatch& batch = *node;
    const VertexLayout& elements = partHandle->layout;

    draw.position = &FindInput(elements, "Position", 0);
    if (draw.position->IsEmpty())
        RefuseDraw("a part without a position");
    ApplyRenderStates(states);
    const RenderView* view = viewHandle.Get();
    draw.parallelProjection = view == nullptr || view->fov == 0.0f;
    Matrix4 m = MatrixMultiply(batch.world, view != nullptr ? view->viewProjection : Matrix4Identity());
    if (view != nullptr)
        m = MatrixMultiply(m, HalfTexelBack(*viewHandle));
    draw.matrixConstant = AddMatrixConstant(m.m);
    draw.boneWeightCount = CountInputs(elements, "IndexedBoneWeight");
    if (draw.boneWeightCount > kMaxBoneWeights) {
        RefuseDraw("a shadow caster with more than four bone weights");
        draw.boneWeightCount = kMaxBoneWeights;
    }
    for (int32_t k = 0; k < draw.boneWeightCount; ++k)
        draw.boneWeights[k] = &FindInput(elements, "IndexedBoneWeight", k);
    draw.paletteBase = AddBonePalette(batch.palette);
    const float nearZ = view != nullptr ? view->nearZ : 0.0f;
    const float farZ = view != nullptr ? view->farZ : 0.0f;
    draw.depthScaleConstant = AddScalarConstant(Reciprocal(farZ - nearZ, "a shadow depth range"));
    draw.depthOffsetConstant = AddScalarConstant(nearZ);
    // The two depth lines leave the layout words alike.
    if (!draw.parallelProjection)
        AppendShadowMapKeyWords(true, 0);
    return true;
}

void MakeshadowShaderGen::BuildVertexShader() {
    static const String r4("r4");
    const String* p = draw.position;
    if (draw.boneWeightCount > 0) {
        const String palette = MakeRegisterName("c[a0.x + ", draw.paletteBase) + "]";
        for (int32_t k = 0; k < draw.boneWeightCount; ++k) {
            const String& weight = *draw.boneWeights[k];
            EmitMov("a0.x", weight + ".y");
            EmitRaw("m4x3\tr0.xyz, " + *p + ", " + palette);
            if (k == 0)
                EmitMul("r4.xyz", "r0.xyz", weight + ".xxx");
            else
                EmitMad("r4.xyz", "r0.xyz", weight + ".xxx", "r4.xyz");
        }
        EmitSge("r4.w", "r4.x", "r4.x");
        p = &r4;
    }
    EmitM4x4("r2", *p, VsConstName(draw.matrixConstant));
    EmitMov(PositionOutName(), "r2");
    if (draw.parallelProjection) {
        EmitMov(ColourOutName(0), "r2.zzzz");
    } else {
        EmitSub("r0", "r2.w", VsConstName(draw.depthOffsetConstant));
        EmitMul(ColourOutName(0), "r0", VsConstName(draw.depthScaleConstant));
    }
}

void MakeshadowShaderGen::BuildPixelShader() {
    EmitRaw("mov_sat\tr0, v0");
}

}  // namespace mareldon
