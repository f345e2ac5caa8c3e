// Every variant of the stage materials within their limits assembles, and each
// vertex/pixel pair compiles and links on the OpenGL backend (offscreen through Mesa).
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "engine/platform/helper/ShaderAssembler.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/VertexShader.h"
#include "game/render/ExpShaderGen.h"
#include "game/render/LightWeightShaderGen.h"
#include "game/render/MakeshadowShaderGen.h"
#include "game/render/WaterShaderGen.h"
#include "tests/game/render/GlDrawTest.h"
#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

int errors = 0;
void CountErrors(LogLevel level, const char*, const char*) {
    if (level == LogLevel::Error)
        ++errors;
}

const std::vector<float> kLight = {0.3f, -1, 0.2f, 0.7f, 0.5f, 0.4f, 1};

template <typename Gen>
struct Variant {
    const char* name;
    std::vector<const char*> elements;
    std::function<void(ShaderDraw<Gen>&)> setup;
    int32_t palette = 0;
    int32_t parameters = 0;
};

template <typename Gen>
void Lights(ShaderDraw<Gen>& d, int directional) {
    d.Light("AmbientLight", {0.1f, 0.1f, 0.1f, 1});
    for (int i = 0; i < directional; ++i)
        d.Light("DirectionalLight", kLight);
}

template <typename Gen>
void Projection(ShaderDraw<Gen>& d) {
    std::vector<float> values(19, 0.0f);
    for (int i = 0; i < 4; ++i)
        values[size_t(3 + 5 * i)] = 0.5f;
    d.Light("TextureProjection", values);
}

std::vector<Variant<MakeshadowShaderGen>> ShadowVariants() {
    using D = ShaderDraw<MakeshadowShaderGen>;
    auto parallel = [](D& d) {
        d.view->SetCamera({0, 20, 0}, {0, -1, 0}, {0, 0, 1}, 19, 41, 0, 0.07f, 0.07f);
    };
    std::vector<Variant<MakeshadowShaderGen>> v = {{"parallel", {"Position", "Normal"}, parallel},
                                                   {"perspective", {"Position"}, [](D&) {}}};
    for (int weights = 1; weights <= 4; ++weights) {
        for (bool flat : {true, false}) {
            Variant<MakeshadowShaderGen> bones{"bones", {"Position"}, flat ? parallel : [](D&) {}, 3};
            bones.elements.insert(bones.elements.end(), size_t(weights), "IndexedBoneWeight");
            v.push_back(bones);
        }
    }
    return v;
}

std::vector<Variant<ExpShaderGen>> ExpVariants() {
    using D = ShaderDraw<ExpShaderGen>;
    return {
        {"one set", {"Position", "TextureUV"}, [](D& d) { d.Textures(1); }},
        {"two sets, scrolled",
         {"Position", "TextureUV", "TextureUV"},
         [](D& d) {
             d.Textures(1);
             d.Own("UVScroll", {0.5f, 0, 0, 0});
         }},
        {"instances", {"Position", "TextureUV", "X16"}, [](D& d) { d.Textures(1); }},
    };
}

std::vector<Variant<LightWeightShaderGen>> LightWeightVariants() {
    using D = ShaderDraw<LightWeightShaderGen>;
    auto everything = [](D& d) {
        Lights(d, 2);
        d.Textures(1);
        d.Light("DirectionalSpecularLight", kLight);
        d.Value("Specular", 1.0f);
        d.Value("Transparency", 0.25f);
        d.Own("UVScroll", {0.5f, 0, 0, 0});
        d.Own("EmissiveLight", {0.1f, 0, 0, 0});
    };
    return {
        {"unlit", {"Position", "TextureUV"}, [](D& d) { d.Textures(1); }},
        {"no lights", {"Position", "Normal"}, [](D&) {}},
        {"one light", {"Position", "Normal", "TextureUV"}, [](D& d) { Lights(d, 1); }},
        {"two lights, textured",
         {"Position", "Normal", "TextureUV"},
         [](D& d) {
             Lights(d, 2);
             d.Textures(1);
         }},
        {"specular only",
         {"Position", "Normal"},
         [](D& d) {
             d.Light("DirectionalSpecularLight", kLight);
             d.Value("Specular", 1.0f);
         }},
        {"emissive",
         {"Position", "Normal", "TextureUV"},
         [](D& d) {
             Lights(d, 1);
             d.Own("EmissiveLight", {0.1f, 0, 0, 0});
         }},
        {"everything", {"Position", "Normal", "TextureUV"}, everything},
        {"instances, everything", {"Position", "Normal", "TextureUV", "X16"}, everything},
        {"instances, unlit", {"Position", "TextureUV", "X16"}, [](D&) {}},
        {"instances, one light", {"Position", "Normal", "X16"}, [](D& d) { Lights(d, 1); }},
        {"forced unlit instances",
         {"Position", "Normal", "TextureUV", "X16"},
         [everything](D& d) {
             everything(d);
             d.gen->forcedUnlit = true;
         }},
    };
}

std::vector<Variant<WaterShaderGen>> WaterVariants() {
    using D = ShaderDraw<WaterShaderGen>;
    const std::vector<const char*> lit = {"Position", "Normal", "TextureUV"};
    return {
        {"projection", lit,
         [](D& d) {
             Lights(d, 1);
             Projection(d);
         }},
        {"shadow, textured, fog", lit,
         [](D& d) {
             Lights(d, 4);
             d.Textures(2);
             d.Shadow(0.0f);
             Projection(d);
             d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
         }},
        {"perspective shadow", {"Position", "Normal"}, [](D& d) { d.Shadow(1.0f); }},
        {"no projection record", lit, [](D& d) { Lights(d, 2); }},
        {"unlit textured", {"Position", "Diffuse", "TextureUV"}, [](D& d) { d.Textures(1); }},
        {"screen", {"TPosition", "Diffuse", "TextureUV"}, [](D& d) { d.Textures(1); }},
        {"lit bones",
         {"Position", "Normal", "IndexedBoneWeight", "IndexedBoneWeight"},
         [](D& d) { Lights(d, 1); },
         2},
        {"unlit bones",
         {"Position", "IndexedBoneWeight", "IndexedBoneWeight", "IndexedBoneWeight"},
         [](D&) {},
         3},
        {"everything",
         {"Position", "Normal", "TextureUV", "IndexedMorphVector", "IndexedMorphNormal", "IndexedBoneWeight"},
         [](D& d) {
             Lights(d, 3);
             d.Textures(1);
             d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
             d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
             d.Own("EmissiveLight", {0.1f, 0, 0, 0});
             d.Shadow(1.0f);
             Projection(d);
         },
         2,
         1},
    };
}

template <typename Gen>
void Prepare(ShaderDraw<Gen>& d, const Variant<Gen>& variant, bool instances) {
    for (const char* element : variant.elements)
        d.part->layout.AddElement(ElementType(element), element);
    d.part->castShadow = 1;
    d.part->receiveShadow = 1;
    variant.setup(d);
    if (instances && ShaderTextBuilder::CountInputs(d.part->layout, "X16") > 0) {
        d.batch->instancing = 1;
        for (int i = 0; i < 3; ++i) {
            RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
            instance->parts.Add(d.part);
            d.batch->AppendInstance(instance);
        }
    }
}

template <typename Gen>
void AssembleEvery(const std::vector<Variant<Gen>>& variants) {
    for (const Variant<Gen>& variant : variants) {
        ShaderDraw<Gen> d({}, variant.palette, variant.parameters);
        Prepare(d, variant, true);
        ASSERT_TRUE(d.Run()) << variant.name;
        AssembledShader vs = AssembleShader("vs.1.1\n" + d.vs, {96});
        AssembledShader ps = AssembleShader("ps.1.1\n" + d.ps);
        EXPECT_TRUE(vs.Ok()) << variant.name << ": " << vs.error << "\n" << d.vs;
        EXPECT_TRUE(ps.Ok()) << variant.name << ": " << ps.error << "\n" << d.ps;
    }
}

TEST(StageMaterialAssemblyTest, EveryVariantAssembles) {
    AssembleEvery(ShadowVariants());
    AssembleEvery(ExpVariants());
    AssembleEvery(LightWeightVariants());
    AssembleEvery(WaterVariants());
}

class StageMaterialGlTest : public GlDrawTest {
  protected:
    template <typename Gen>
    void LinkEvery(const RefPtr<Renderer>& renderer, const std::vector<Variant<Gen>>& variants,
                   std::set<std::string>& pairs) {
        for (const Variant<Gen>& variant : variants) {
            renderer->Lights().Clear();
            ShaderDraw<Gen> d({}, variant.palette, variant.parameters, renderer);
            Prepare(d, variant, true);
            d.view->target = RefPtr<TextureBase>(device->ScreenTexture());
            const uint32_t count = 48;
            const uint32_t stride = uint32_t(d.part->layout.Stride());
            std::vector<uint8_t> vertices(size_t(stride) * count, 0);
            d.part->geometry = device->CreateGeometryBuffer(
                3, d.part->layout, device->CreateVertexBuffer(stride, count, vertices.data(), 0), 0,
                int32_t(count), RefPtr<IndexBuffer>(), 0, 0);
            renderer->DrawView(d.view, d.batch);
            RefPtr<VertexShader> vs = renderer->FindVertexShader(d.gen->vsKey);
            RefPtr<PixelShader> ps = renderer->FindPixelShader(d.gen->psKey);
            EXPECT_TRUE(vs && vs->Handle() != 0) << variant.name << "\n" << d.gen->vsKey.Text();
            EXPECT_TRUE(ps && ps->Handle() != 0) << variant.name << "\n" << d.gen->psKey.Text();
            pairs.insert(std::string(d.gen->vsKey.Text()) + "|" + d.gen->psKey.Text());
        }
    }
};

TEST_F(StageMaterialGlTest, EveryVariantLinks) {
    ASSERT_NE(MakeDevice(64), nullptr);
    RefPtr<Renderer> renderer = MakeTestRenderer(DeviceHandle());
    LogSink previous = SetLogSink(&CountErrors);
    errors = 0;
    size_t programs = Gl().Shaders().ProgramCount();
    std::set<std::string> pairs;
    LinkEvery(renderer, ShadowVariants(), pairs);
    LinkEvery(renderer, ExpVariants(), pairs);
    LinkEvery(renderer, LightWeightVariants(), pairs);
    LinkEvery(renderer, WaterVariants(), pairs);
    SetLogSink(previous);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(Gl().Shaders().ProgramCount(), programs + pairs.size());
}

}  // namespace
}  // namespace mareldon
