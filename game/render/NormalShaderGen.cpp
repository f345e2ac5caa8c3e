// The "Normal" generator's constants and key words (the builds are in
// NormalShaderGenVertex.cpp and NormalShaderGenPixel.cpp).
#include "game/render/NormalShaderGen.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "engine/core/Math.h"
#include "engine/render/device/TextureBase.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

Vec3 ModelDirection(const Matrix4& m, const Vec3& direction) {
    return Vec3Normalize(Vec3TransformCoord(direction, m));
}

}  // namespace

NormalShaderGen::NormalShaderGen(const RefPtr<Renderer>& rendererHandle)
    : ShaderTextBuilder(rendererHandle), states{4, 5, 2, 2, 3, 1} {}

NormalShaderGen::~NormalShaderGen() = default;

RefPtr<NormalShaderGen> NormalShaderGen::NormalShaderGenAlt(const RefPtr<Renderer>& rendererHandle) {
    RefPtr<NormalShaderGen> generator(new NormalShaderGen(rendererHandle));
    generator->states = RenderStateBlock{4, 5, 2, 2, 7, 0};
    return generator;
}

String NormalShaderGen::GetName() {
    return "Normal";
}

bool NormalShaderGen::SetConstants(const RefPtr<RenderView>& viewHandle, const RefPtr<RenderBatch>& node,
                                   const RefPtr<MeshPart>& partHandle) {
    // Registers a build may name stay valid (empty) names when absent.
    draw = DrawState{};
    const String* none = &NotFoundName();
    draw.position = draw.normal = draw.diffuse = draw.x16Register = none;
    if (!node || !partHandle) {
        RefuseDraw("a draw without a batch or a part");
        return false;
    }
    RenderBatch& batch = *node;
    const MeshPart& part = *partHandle;
    const VertexLayout& elements = part.layout;

    // Position, culling, material textures, render states.
    if (CountInputs(elements, "TPosition") >= 1) {
        draw.pretransformed = true;
        draw.position = &FindInput(elements, "TPosition", 0);
    } else {
        draw.position = &FindInput(elements, "Position", 0);
    }
    states.cullMode = part.cullMode;
    draw.materialTextures = SetMaterialTextures(part.textures);
    ApplyRenderStates(states);

    static const String kNoInput;
    draw.normal = forcedUnlit ? &kNoInput : &FindInput(elements, "Normal", 0);
    draw.unlit = draw.normal->IsEmpty();
    const char* variant = draw.unlit ? "[L]" : "[NL]";
    AppendPsKeyWord(variant);
    AppendVsKeyWord(variant);
    draw.diffuse = &FindInput(elements, "Diffuse", 0);

    draw.texCoordCount = std::min(CountInputs(elements, "TextureUV"), kMaxTexCoords);
    for (int32_t i = 0; i < draw.texCoordCount; ++i)
        draw.texCoords[i] = &FindInput(elements, "TextureUV", i);
    draw.uvScrollCount = CountLightRecords(&batch.records, "UVScroll");
    if (draw.uvScrollCount > 0)
        draw.uvScroll = AddConstant(GetLightRecord(&batch.records, "UVScroll", 0)->values);

    if (draw.position->IsEmpty())
        RefuseDraw("a part without a position");
    SetPositionTransform(viewHandle.Get(), batch, elements);
    float alpha = 1.0f;
    if (draw.pretransformed) {
        // Screen-space parts take no lights.
        if (!draw.unlit)
            RefuseDraw("a pre-transformed part with normals");
    } else {
        const LightList* lights = owner ? &owner->Lights() : nullptr;
        SetSonic(batch, lights);
        SetMorphs(batch, part);
        SetBoneWeights(part.layout);
        // Three rows a bone: the palette holds affine transforms.
        for (const Matrix4& bone : batch.palette)
            AddVsConstantBlock(bone.m, 3);
        if (!draw.unlit)
            SetLighting(viewHandle.Get(), batch, part);
        if (CountNamedValues(&part.values, "Transparency") > 0)
            alpha = 1.0f - GetNamedValue(&part.values, "Transparency", batch.time);
    }
    const float alphaValues[4] = {0.0f, 0.0f, 0.0f, alpha};
    draw.alpha = AddPsConstant(alphaValues);
    if (draw.specularCount + draw.emissiveLightCount + draw.fogCount + draw.sonicCount > 0) {
        draw.addLight = true;
        AppendPsKeyWord("AddLight");
    }
    return true;
}

Matrix4 NormalShaderGen::ScreenMatrix(const RenderView* view) {
    TextureBase* target = view != nullptr ? view->target.Get() : nullptr;
    Matrix4 ortho;
    MakeOrthoMatrix(ortho.m, target != nullptr ? float(target->Width()) : 1.0f,
                    target != nullptr ? float(target->Height()) : 1.0f);
    Matrix4 own = Matrix4Identity();
    const float* transform = target != nullptr ? target->ScreenTransform() : nullptr;
    if (transform != nullptr)
        std::copy(transform, transform + 16, own.m);
    return MatrixMultiply(ortho, own);
}

void NormalShaderGen::SetSonic(const RenderBatch& batch, const LightList* lights) {
    draw.sonicCount = CountLightRecords(lights, "Sonic");
    if (draw.sonicCount > 0) {
        const LightRecord& sonic = *GetLightRecord(lights, "Sonic", 0);
        Vec3 centre =
            Vec3TransformCoord(Vec3{sonic.values[0], sonic.values[1], sonic.values[2]}, batch.inverseWorld);
        const float centreValues[3] = {centre.x, centre.y, centre.z};
        draw.sonicCentre = AddVector3Constant(centreValues);
        for (int32_t i = 0; i < 4; ++i)
            draw.sonic[i] = AddScalarConstant(sonic.values[3 + i]);
    }
}

void NormalShaderGen::SetPositionTransform(const RenderView* view, RenderBatch& batch,
                                           const VertexLayout& elements) {
    Matrix4 viewProjection = view != nullptr ? view->viewProjection : Matrix4Identity();
    if (draw.pretransformed) {
        Matrix4 screen = ScreenMatrix(view);
        draw.positionMatrix = AddMatrixConstant(screen.m);
        draw.one = AddScalarConstant(1.0f);
        return;
    }
    if (batch.instancesToDraw != 0) {
        AppendVsKeyWord("X16");
        draw.x16 = true;
        draw.x16Register = &FindInput(elements, "X16", 0);
        if (draw.x16Register->IsEmpty())
            RefuseDraw("instances of a part without \"X16\"");
        draw.x16Base = VsFloatCount() / 4;
        batch.instancesToDraw = std::min(batch.instancesToDraw, batch.InstanceCount());
        // From the end of the list, at most 12 a draw: the Renderer repeats the draw
        // until none is left.
        for (int32_t n = 0; n < kMaxInstances && batch.instancesToDraw > 0; ++n) {
            --batch.instancesToDraw;
            const RefPtr<RenderBatch>& instance = batch.Instance(batch.instancesToDraw);
            Matrix4 m = MatrixMultiply(instance ? instance->world : batch.world, viewProjection);
            AddMatrixConstant(m.m);
        }
    } else {
        Matrix4 m = MatrixMultiply(batch.world, viewProjection);
        draw.positionMatrix = AddMatrixConstant(m.m);
    }
    draw.zero = AddScalarConstant(0.0f);
    draw.one = AddScalarConstant(1.0f);
    draw.four = AddScalarConstant(4.0f);
}

void NormalShaderGen::SetMorphs(const RenderBatch& batch, const MeshPart& part) {
    const VertexLayout& elements = part.layout;
    draw.morphCount = std::min(CountInputs(elements, "IndexedMorphVector"), kMaxMorphs);
    for (int32_t i = 0; i < draw.morphCount; ++i) {
        draw.morphVectors[i] = &FindInput(elements, "IndexedMorphVector", i);
        draw.morphNormals[i] = &FindInput(elements, "IndexedMorphNormal", i);
        // The morph section moves the normal in every variant.
        if (draw.morphNormals[i]->IsEmpty() || draw.normal->IsEmpty())
            RefuseDraw("morph targets without normals");
    }
    draw.morphBase = VsFloatCount() / 4;
    for (float weight : batch.parameters) {
        const float values[4] = {weight, 0.0f, 0.0f, 0.0f};
        AddConstant(values);
    }
}

void NormalShaderGen::SetBoneWeights(const VertexLayout& elements) {
    draw.boneWeightCount = std::min(CountInputs(elements, "IndexedBoneWeight"), kMaxBoneWeights);
    for (int32_t i = 0; i < draw.boneWeightCount; ++i)
        draw.boneWeights[i] = &FindInput(elements, "IndexedBoneWeight", i);
    draw.boneBase = VsFloatCount() / 4;
}

void NormalShaderGen::SetLighting(const RenderView* view, const RenderBatch& batch, const MeshPart& part,
                                  bool stageMaterial) {
    const LightList* lights = owner ? &owner->Lights() : nullptr;
    const Matrix4 toModel = DirectionMatrix(batch.inverseWorld);

    float ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    draw.ambientCount = CountLightRecords(lights, "AmbientLight");
    for (int32_t k = 0; k < draw.ambientCount; ++k)
        Add4(ambient, GetLightRecord(lights, "AmbientLight", k)->values);
    // Each "Emissive" entry adds the first one's value, as the game always did.
    int32_t emissives = stageMaterial ? 0 : CountNamedValues(&part.values, "Emissive");
    for (int32_t k = 0; k < emissives; ++k) {
        float e = GetNamedValue(&part.values, "Emissive", batch.time);
        const float glow[4] = {e, e, e, 0.0f};
        Add4(ambient, glow);
    }
    ambient[3] = 1.0f;
    draw.ambient = AddConstant(ambient);

    int32_t directional = CountLightRecords(lights, "DirectionalLight");
    draw.directionalCount = std::min(directional, kMaxDirectional);
    for (int32_t k = 0; k < draw.directionalCount; ++k) {
        const LightRecord& light = *GetLightRecord(lights, "DirectionalLight", k);
        Vec3 d = ModelDirection(toModel, Vec3{-light.values[0], -light.values[1], -light.values[2]});
        const float dv[3] = {d.x, d.y, d.z};
        draw.directions[k] = AddVector3Constant(dv);
        draw.colours[k] = AddConstant(light.values + 3);
    }

    float specular = stageMaterial ? 0.0f : GetNamedValue(&part.values, "Specular", batch.time);
    if (specular > 0.0f) {
        int32_t count = CountLightRecords(lights, "DirectionalSpecularLight");
        draw.specularCount = std::min(count, kMaxSpecular);
        if (draw.specularCount > 0) {
            Vec3 viewDirection = view != nullptr ? view->direction : Vec3{0.0f, 0.0f, 1.0f};
            Vec3 eye = Negate3(ModelDirection(toModel, viewDirection));
            const float ev[3] = {eye.x, eye.y, eye.z};
            draw.eyeDirection = AddVector3Constant(ev);
        }
        for (int32_t k = 0; k < draw.specularCount; ++k) {
            const LightRecord& light = *GetLightRecord(lights, "DirectionalSpecularLight", k);
            Vec3 d = ModelDirection(toModel, Vec3{-light.values[0], -light.values[1], -light.values[2]});
            const float dv[3] = {d.x, d.y, d.z};
            draw.specularDirections[k] = AddVector3Constant(dv);
            const float colour[4] = {light.values[3] * specular, light.values[4] * specular,
                                     light.values[5] * specular, light.values[6] * specular};
            draw.specularColours[k] = AddConstant(colour);
        }
    }

    draw.fogCount = CountLightRecords(lights, "SimpleFog");
    if (draw.fogCount > 0) {
        const LightRecord& fog = *GetLightRecord(lights, "SimpleFog", 0);
        draw.fogColour = AddConstant(fog.values + 2);
        draw.fogStart = AddScalarConstant(fog.values[0]);
        draw.fogScale = AddScalarConstant(Reciprocal(fog.values[1], "a fog far distance"));
    }

    draw.emissiveLightCount = CountLightRecords(&batch.records, "EmissiveLight");
    if (draw.emissiveLightCount > 0) {
        float added[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        for (int32_t k = 0; k < draw.emissiveLightCount; ++k)
            Add4(added, GetLightRecord(&batch.records, "EmissiveLight", k)->values);
        added[3] = 1.0f;
        draw.emissiveLight = AddConstant(added);
    }

    if (stageMaterial ? part.receiveShadow == 1 : part.receiveShadow != 0)
        SetShadowMap(batch, lights, stageMaterial ? "ShadowMapping" : "Shadowmap");
}

void NormalShaderGen::SetShadowMap(const RenderBatch& batch, const LightList* lights, const char* keyWord) {
    draw.shadowCount = CountLightRecords(lights, "Shadowmap");
    if (draw.shadowCount == 0)
        return;
    // ps.1.1 samples stages 0 to 3 only.
    if (draw.materialTextures > 3)
        RefuseDraw("a shadow map behind more than three material textures");
    const LightRecord& shadow = *GetLightRecord(lights, "Shadowmap", 0);
    SetTexture(draw.materialTextures, shadow.texture.Get());
    draw.shadowFlag = shadow.values[21] == 0.0f;
    Matrix4 lightMatrix;
    std::copy(shadow.values + 3, shadow.values + 19, lightMatrix.m);
    Matrix4 m = MatrixMultiply(batch.world, lightMatrix);
    draw.shadowMatrix = AddMatrixConstant(m.m);
    draw.shadowStart = AddScalarConstant(shadow.values[19]);
    draw.shadowScale =
        AddScalarConstant(Reciprocal(shadow.values[20] - shadow.values[19], "a shadow depth range"));
    const float bias[4] = {0.0f, 0.0f, 0.0f, shadow.values[22]};
    draw.shadowBias = AddPsConstant(bias);
    draw.shadowColour = AddPsConstant(shadow.values + 23);
    AppendPsKeyWord(keyWord);
    AppendShadowMapKeyWords(!draw.shadowFlag, draw.materialTextures);
}

}  // namespace mareldon
