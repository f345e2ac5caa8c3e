#include "game/render/LightWeightShaderGen.h"

#include <algorithm>

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

const float kNoScroll[4] = {0.0f, 0.0f, 0.0f, 0.0f};

// "c[a0.x + R]" and its blank-free form "c[a0.x+R]", as the game's text has both.
String Indexed(int32_t base) {
    return ShaderTextBuilder::MakeRegisterName("c[a0.x + ", base) + "]";
}
String IndexedTight(int32_t base) {
    return ShaderTextBuilder::MakeRegisterName("c[a0.x+", base) + "]";
}

// A light's direction into model space (towards the light), with the division by w.
// The inverse world's rotation part applied to a direction: what a transform through
// DirectionMatrix gives (its w is exactly 1), without building the matrix, as this
// runs four times for each of up to 16 instances a bind.
Vec3 ModelDirection(const Matrix4& m, const Vec3& d) {
    return {m[0] * d.x + m[1] * d.y + m[2] * d.z, m[4] * d.x + m[5] * d.y + m[6] * d.z,
            m[8] * d.x + m[9] * d.y + m[10] * d.z};
}

}  // namespace

LightWeightShaderGen::LightWeightShaderGen(const RefPtr<Renderer>& rendererHandle)
    : ShaderTextBuilder(rendererHandle), states{4, 5, 2, 2, 3, 0} {}

LightWeightShaderGen::~LightWeightShaderGen() = default;

String LightWeightShaderGen::GetName() {
    return "LightWeight";
}

bool LightWeightShaderGen::Cull(const RefPtr<RenderView>&, const RefPtr<RenderBatch>&,
                                const RefPtr<MeshPart>&, float&) {
    return false;
}

const RenderBatch& LightWeightShaderGen::InstanceAt(const RenderBatch& batch, int32_t k) const {
    const RefPtr<RenderBatch>& instance = batch.Instance(batch.instancesToDraw - 1 - k);
    return instance ? *instance : batch;
}

void LightWeightShaderGen::AppendBaseWord(const char* word, int32_t base) {
    AppendVsKeyWord(String(word) + NumberString(base, -1, -1));
}

bool LightWeightShaderGen::SetConstants(const RefPtr<RenderView>& viewHandle, const RefPtr<RenderBatch>& node,
                                        const RefPtr<MeshPart>& partHandle) {
    draw = DrawState{};
    draw.position = draw.normal = draw.x16 = draw.texCoord = &NotFoundName();
    if (!node || !partHandle) {
        RefuseDraw("a draw without a batch or a part");
        return false;
    }
    RenderBatch& batch = *node;
    const MeshPart& part = *partHandle;
    const VertexLayout& elements = part.layout;
    const RenderView* view = viewHandle.Get();
    const Matrix4 viewProjection = view != nullptr ? view->viewProjection : Matrix4Identity();

    states.cullMode = part.cullMode;
    draw.materialTextures = SetMaterialTextures(part.textures);
    ApplyRenderStates(states);
    draw.position = &FindInput(elements, "Position", 0);
    draw.normal = &FindInput(elements, "Normal", 0);
    if (draw.position->IsEmpty())
        RefuseDraw("a part without a position");
    draw.unlit = draw.normal->IsEmpty() || forcedUnlit;
    const char* variant = draw.unlit ? "[L]" : "[NL]";
    AppendPsKeyWord(variant);
    AppendVsKeyWord(variant);
    // One texture-coordinate set is kept; further sets are not written.
    draw.texCoordCount = std::min(CountInputs(elements, "TextureUV"), 1);
    if (draw.texCoordCount > 0)
        draw.texCoord = &FindInput(elements, "TextureUV", 0);
    draw.x16 = &FindInput(elements, "X16", 0);
    draw.instanced = !draw.x16->IsEmpty();

    if (draw.instanced) {
        int32_t maxConstants = 0;
        if (owner) {
            RefPtr<GraphicsDevice> device = owner->GetDevice();
            if (device)
                maxConstants = int32_t(std::min<uint32_t>(device->MaxVertexShaderConstants(), kVsRegisters));
        }
        batch.instancesToDraw = std::min(batch.instancesToDraw, batch.InstanceCount());
        draw.instances = std::min(
            {(maxConstants - kSharedRegisters) / kInstanceRegisters, kMaxInstances, batch.instancesToDraw});
        if (draw.instances <= 0) {
            draw.instances = 0;
            RefuseDraw("instances with no room for their constants");
        }
        AppendVsKeyWord(NumberString(draw.instances, 2, 2));
        const int32_t n = draw.instances;
        if (CountLightRecords(&batch.records, "UVScroll") != 0) {
            draw.instancedUV = true;
            draw.uvBase = NextVsRegister();
            AppendBaseWord("X16UV", draw.uvBase);
            for (int32_t k = 0; k < n; ++k) {
                const LightRecord* scroll = GetLightRecord(&InstanceAt(batch, k).records, "UVScroll", 0);
                AddConstant(scroll != nullptr ? scroll->values : kNoScroll);
            }
        }
        draw.x16 = &FindInput(elements, "X16", 0);
        draw.transformBase = NextVsRegister();
        AppendBaseWord("X16", draw.transformBase);
        for (int32_t k = 0; k < n; ++k) {
            Matrix4 m = MatrixMultiply(InstanceAt(batch, k).world, viewProjection);
            AddMatrixConstant(m.m);
        }
    } else {
        Matrix4 m = MatrixMultiply(batch.world, viewProjection);
        draw.transform = AddMatrixConstant(m.m);
    }
    draw.zero = AddScalarConstant(0.0f);
    draw.one = AddScalarConstant(1.0f);
    draw.four = AddScalarConstant(4.0f);
    if (!draw.unlit)
        SetLighting(view, batch, part);

    if (draw.instanced && CountNamedValues(&part.values, "Transparency") > 0) {
        draw.instancedAlpha = true;
        draw.x16 = &FindInput(elements, "X16", 0);
        draw.alphaBase = NextVsRegister();
        AppendBaseWord("X16Alpha", draw.alphaBase);
        for (int32_t k = 0; k < draw.instances; ++k) {
            const RenderBatch& instance = InstanceAt(batch, k);
            // An instance without parts has nothing to be transparent: opaque.
            const RefPtr<MeshPart>& first =
                instance.parts.Count() > 0 ? instance.parts[0] : RefPtr<MeshPart>();
            float t = first ? GetNamedValue(&first->values, "Transparency", instance.time) : 0.0f;
            const float alpha[4] = {0.0f, 0.0f, 0.0f, 1.0f - t};
            AddConstant(alpha);
        }
    } else {
        float a = 1.0f;
        if (!draw.instanced && CountNamedValues(&part.values, "Transparency") > 0)
            a = 1.0f - GetNamedValue(&part.values, "Transparency", batch.time);
        const float alpha[4] = {0.0f, 0.0f, 0.0f, a};
        draw.alpha = AddConstant(alpha);
    }
    if (draw.specularCount + draw.emissiveCount > 0) {
        draw.addLight = true;
        AppendPsKeyWord("AddLight");
    }
    if (draw.instanced)
        batch.instancesToDraw -= draw.instances;
    return true;
}

void LightWeightShaderGen::SetLighting(const RenderView* view, const RenderBatch& batch,
                                       const MeshPart& part) {
    const LightList* lights = owner ? &owner->Lights() : nullptr;
    const int32_t n = draw.instances;

    float ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    const int32_t ambientCount = CountLightRecords(lights, "AmbientLight");
    for (int32_t k = 0; k < ambientCount; ++k)
        Add4(ambient, GetLightRecord(lights, "AmbientLight", k)->values);
    ambient[3] = 1.0f;
    draw.ambient = AddConstant(ambient);

    draw.directionalCount = std::min(CountLightRecords(lights, "DirectionalLight"), kMaxDirectional);
    for (int32_t i = 0; i < draw.directionalCount; ++i) {
        const LightRecord& light = *GetLightRecord(lights, "DirectionalLight", i);
        const Vec3 towards{-light.values[0], -light.values[1], -light.values[2]};
        if (draw.instanced) {
            // The array starts in the register after the colour's.
            draw.directionBases[i] = NextVsRegister() + 1;
            AppendBaseWord("X16DIFF", draw.directionBases[i]);
            draw.colours[i] = AddConstant(light.values + 3);
            const Vec3 u = Vec3Normalize(towards);
            for (int32_t k = 0; k < n; ++k) {
                // Not normalised again, as the game's instances have it.
                Vec3 d = ModelDirection(InstanceAt(batch, k).inverseWorld, u);
                const float values[4] = {d.x, d.y, d.z, 0.0f};
                AddConstant(values);
            }
        } else {
            Vec3 d = Vec3Normalize(ModelDirection(batch.inverseWorld, towards));
            const float values[3] = {d.x, d.y, d.z};
            draw.directions[i] = AddVector3Constant(values);
            draw.colours[i] = AddConstant(light.values + 3);
        }
    }

    if (CountNamedValues(&part.values, "Specular") > 0) {
        const float s = GetNamedValue(&part.values, "Specular", batch.time);
        if (s > 0.0f) {
            draw.specularCount = CountLightRecords(lights, "DirectionalSpecularLight");
            if (draw.specularCount > 0) {
                const LightRecord& light = *GetLightRecord(lights, "DirectionalSpecularLight", 0);
                const Vec3 viewDirection = view != nullptr ? view->direction : Vec3{0.0f, 0.0f, 1.0f};
                const Vec3 towards{-light.values[0], -light.values[1], -light.values[2]};
                const float colour[4] = {s * light.values[3], s * light.values[4], s * light.values[5],
                                         s * light.values[6]};
                if (draw.instanced) {
                    draw.specularColour = AddConstant(colour);
                    draw.eyeBase = NextVsRegister();
                    AppendBaseWord("X16SPEC", draw.eyeBase);
                    for (int32_t k = 0; k < n; ++k) {
                        Vec3 g =
                            Vec3Normalize(ModelDirection(InstanceAt(batch, k).inverseWorld, viewDirection));
                        const float values[4] = {-g.x, -g.y, -g.z, 0.0f};
                        AddConstant(values);
                    }
                    draw.specularBase = NextVsRegister();
                    for (int32_t k = 0; k < n; ++k) {
                        Vec3 d = Vec3Normalize(ModelDirection(InstanceAt(batch, k).inverseWorld, towards));
                        const float values[4] = {d.x, d.y, d.z, 0.0f};
                        AddConstant(values);
                    }
                } else {
                    Vec3 g = Vec3Normalize(ModelDirection(batch.inverseWorld, viewDirection));
                    const float eye[3] = {-g.x, -g.y, -g.z};
                    draw.eyeDirection = AddVector3Constant(eye);
                    Vec3 d = Vec3Normalize(ModelDirection(batch.inverseWorld, towards));
                    const float direction[3] = {d.x, d.y, d.z};
                    draw.specularDirection = AddVector3Constant(direction);
                    draw.specularColour = AddConstant(colour);
                }
            }
        }
    }

    float emissive[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    draw.emissiveCount = CountLightRecords(&batch.records, "EmissiveLight");
    for (int32_t k = 0; k < draw.emissiveCount; ++k)
        Add4(emissive, GetLightRecord(&batch.records, "EmissiveLight", k)->values);
    if (draw.emissiveCount > 0)
        emissive[3] = 1.0f;
    draw.emissive = AddConstant(emissive);
}

void LightWeightShaderGen::BuildVertexShader() {
    static const char* const kDirectionLanes[kMaxDirectional] = {"r6.x", "r6.y"};
    const String& n = *draw.normal;
    if (draw.instanced) {
        EmitMov("a0.x", *draw.x16 + ".y");
        EmitM4x4("r2", *draw.position, Indexed(draw.transformBase));
        EmitMov(PositionOutName(), "r2");
        EmitMov("a0.x", *draw.x16 + ".x");
    } else {
        EmitM4x4("r2", *draw.position, VsConstName(draw.transform));
        EmitMov(PositionOutName(), "r2");
    }
    if (!draw.unlit) {
        if (draw.specularCount > 0) {
            const String target = draw.emissiveCount == 0 ? "oD1.rgb" : "r6.rgb";
            EmitReflect("r7", n,
                        draw.instanced ? Indexed(draw.specularBase) : VsConstName(draw.specularDirection));
            EmitDp3("r7.w", draw.instanced ? Indexed(draw.eyeBase) : VsConstName(draw.eyeDirection), "r7");
            EmitMax("r7.w", "r7.w", VsConstName(draw.zero));
            for (int i = 0; i < 3; ++i)
                EmitMul("r7.w", "r7.w", "r7.w");
            EmitMul(target, "r7.www", VsConstName(draw.specularColour));
        }
        if (draw.emissiveCount > 0) {
            if (draw.specularCount > 0)
                EmitAdd("oD1.rgb", VsConstName(draw.emissive), "r6.xyz");
            else
                EmitMov("oD1.rgb", VsConstName(draw.emissive));
        }
        const int32_t m = draw.directionalCount;
        if (m == 0) {
            EmitMov("oD0.rgb", VsConstName(draw.ambient));
        } else {
            const String normal = n + ".xyz";
            for (int32_t i = 0; i < m; ++i)
                EmitDp3(
                    kDirectionLanes[i], normal,
                    draw.instanced ? IndexedTight(draw.directionBases[i]) : VsConstName(draw.directions[i]));
            const char* factors = m == 1 ? "r6.x" : "r6.xy";
            EmitMax(factors, VsConstName(draw.zero), factors);
            EmitMul("r0.xyz", "r6.xxx", VsConstName(draw.colours[0]));
            if (m == 2)
                EmitMad("r0.xyz", "r6.yyy", VsConstName(draw.colours[1]), "r0.xyz");
            // Two blanks after the first comma, as the game's text has them.
            EmitAdd("oD0.rgb", " r0.xyz", VsConstName(draw.ambient));
        }
    } else {
        EmitMov("oD0.rgb", VsConstName(draw.one));
    }
    if (draw.instancedAlpha)
        EmitMov("oD0.a", IndexedTight(draw.alphaBase) + ".a");
    else
        EmitMov("oD0.a", VsConstName(draw.alpha) + ".a");
    if (draw.instancedUV) {
        EmitMov("a0.x", *draw.x16 + ".x");
        for (int32_t i = 0; i < draw.texCoordCount; ++i)
            EmitAdd(TextureOutName(i), *draw.texCoord, Indexed(draw.uvBase));
    } else {
        for (int32_t i = 0; i < draw.texCoordCount; ++i)
            EmitMov(TextureOutName(i), *draw.texCoord);
    }
}

void LightWeightShaderGen::BuildPixelShader() {
    if (draw.materialTextures == 0) {
        if (draw.addLight)
            EmitPsAdd("r0", "v0", "v1");
        else
            EmitPsMov("r0", "v0");
        return;
    }
    EmitRaw("tex\tt0");
    if (draw.addLight)
        EmitPsMadSat("r0.rgb", "v0", "t0", "v1");
    else
        EmitPsMulSat("r0.rgb", "v0", "t0");
    EmitPsCoMul("r0.a", "v0.a", "t0.a");
}

}  // namespace mareldon
