// Every "Normal" variant within the limits assembles, and each vertex/pixel pair
// compiles and links on the OpenGL backend (offscreen through Mesa).
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "engine/platform/helper/ShaderAssembler.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexShader.h"
#include "engine/render/draw/DrawCommandList.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "tests/game/render/GlDrawTest.h"
#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

constexpr int kSize = 64;

int errors = 0;
void CountErrors(LogLevel level, const char*, const char*) {
    if (level == LogLevel::Error)
        ++errors;
}

const std::vector<float> kLight = {0.3f, -1, 0.2f, 0.7f, 0.5f, 0.4f, 1};

struct Variant {
    const char* name;
    std::vector<const char*> elements;
    std::function<void(NormalDraw&)> setup;
    int32_t palette = 0;
    int32_t parameters = 0;
};

void Lights(NormalDraw& d, int directional) {
    d.Light("AmbientLight", {0.1f, 0.1f, 0.1f, 1});
    for (int i = 0; i < directional; ++i)
        d.Light("DirectionalLight", kLight);
}

void Everything(NormalDraw& d) {
    Lights(d, 4);
    d.Value("Specular", 1.0f);
    d.Value("Emissive", 0.2f);
    d.Value("Transparency", 0.5f);
    d.Light("DirectionalSpecularLight", kLight);
    d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
    d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
    d.Own("EmissiveLight", {0.1f, 0, 0, 0});
    d.Own("UVScroll", {0.5f, 0, 0, 0});
}

std::vector<Variant> Variants() {
    const std::vector<const char*> lit = {"Position", "Normal", "TextureUV"};
    const std::vector<const char*> unlit = {"Position", "Diffuse", "TextureUV"};
    std::vector<Variant> v = {
        {"lit", lit, [](NormalDraw& d) { Lights(d, 1); }},
        {"lit, no lights", {"Position", "Normal"}, [](NormalDraw&) {}},
        {"unlit", {"Position"}, [](NormalDraw&) {}},
        {"unlit textured", unlit, [](NormalDraw& d) { d.Textures(1); }},
        {"lit, three textures", lit,
         [](NormalDraw& d) {
             Lights(d, 2);
             d.Textures(3);
         }},
        {"uv scroll",
         {"Position", "Normal", "TextureUV", "TextureUV"},
         [](NormalDraw& d) {
             Lights(d, 3);
             d.Textures(1);
             d.Own("UVScroll", {0.5f, 0.25f, 0, 0});
         }},
        {"one morph",
         {"Position", "Normal", "IndexedMorphVector", "IndexedMorphNormal"},
         [](NormalDraw& d) { Lights(d, 1); },
         0,
         1},
        {"two morphs and fog",
         {"Position", "Normal", "TextureUV", "IndexedMorphVector", "IndexedMorphNormal", "IndexedMorphVector",
          "IndexedMorphNormal"},
         [](NormalDraw& d) {
             Lights(d, 2);
             d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
         },
         0,
         2},
        {"unlit two bones",
         {"Position", "TextureUV", "IndexedBoneWeight", "IndexedBoneWeight"},
         [](NormalDraw& d) { d.Textures(1); },
         2},
        {"sonic", lit,
         [](NormalDraw& d) {
             d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
         }},
        {"unlit sonic",
         {"Position"},
         [](NormalDraw& d) {
             d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
         }},
        {"fog", lit,
         [](NormalDraw& d) {
             Lights(d, 1);
             d.Textures(1);
             d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
         }},
        {"specular", lit,
         [](NormalDraw& d) {
             Lights(d, 1);
             d.Value("Specular", 1.0f);
             d.Light("DirectionalSpecularLight", kLight);
         }},
        {"emissive", lit,
         [](NormalDraw& d) {
             Lights(d, 2);
             d.Value("Emissive", 0.3f);
             d.Own("EmissiveLight", {0.1f, 0, 0, 0});
         }},
        {"parallel shadow", {"Position", "Normal"}, [](NormalDraw& d) { d.Shadow(0.0f); }},
        {"perspective shadow, textured", lit,
         [](NormalDraw& d) {
             Lights(d, 1);
             d.Textures(1);
             d.Shadow(1.0f);
         }},
        {"shadow behind three textures", lit,
         [](NormalDraw& d) {
             d.Textures(3);
             d.Shadow(1.0f);
             d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
         }},
        {"instances", {"Position", "Normal", "TextureUV", "X16"}, [](NormalDraw& d) { Lights(d, 1); }},
        {"unlit instances", {"Position", "Diffuse", "X16"}, [](NormalDraw&) {}},
        {"sprite", {"TPosition", "Diffuse", "TextureUV"}, [](NormalDraw& d) { d.Textures(1); }},
        {"screen shape", {"TPosition", "Diffuse"}, [](NormalDraw&) {}},
        {"textured screen quad",
         {"TPosition", "TextureUV"},
         [](NormalDraw& d) {
             d.Textures(1);
             d.Own("UVScroll", {0.5f, 0, 0, 0});
         }},
        {"everything",
         {"Position", "Normal", "TextureUV", "IndexedMorphVector", "IndexedMorphNormal", "IndexedBoneWeight",
          "IndexedBoneWeight", "IndexedBoneWeight", "IndexedBoneWeight"},
         [](NormalDraw& d) {
             Everything(d);
             d.Textures(3);
             d.Shadow(1.0f);
         },
         3,
         1},
    };
    for (int weights = 1; weights <= 4; ++weights) {
        Variant bones{
            "lit bones", {"Position", "Normal", "TextureUV"}, [](NormalDraw& d) { Lights(d, 2); }, 4};
        bones.elements.insert(bones.elements.end(), size_t(weights), "IndexedBoneWeight");
        v.push_back(bones);
    }
    return v;
}

TEST(NormalShaderAssemblyTest, EveryVariantAssembles) {
    for (const Variant& variant : Variants()) {
        for (bool instanced : {false, true}) {
            NormalDraw d({}, variant.palette, variant.parameters);
            for (const char* element : variant.elements)
                d.part->layout.AddElement(ElementType(element), element);
            variant.setup(d);
            bool x16 = ShaderTextBuilder::CountInputs(d.part->layout, "X16") > 0;
            if (instanced != x16)
                continue;
            if (x16)
                d.batch->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
            ASSERT_TRUE(d.Run()) << variant.name;
            AssembledShader vs = AssembleShader("vs.1.1\n" + d.vs, {96});
            AssembledShader ps = AssembleShader("ps.1.1\n" + d.ps);
            EXPECT_TRUE(vs.Ok()) << variant.name << ": " << vs.error << "\n" << d.vs;
            EXPECT_TRUE(ps.Ok()) << variant.name << ": " << ps.error << "\n" << d.ps;
        }
    }
}

using NormalShaderGlTest = GlDrawTest;

TEST_F(NormalShaderGlTest, EveryVariantLinksAndDraws) {
    ASSERT_NE(MakeDevice(kSize), nullptr);
    RefPtr<Renderer> renderer = MakeTestRenderer(DeviceHandle());
    LogSink previous = SetLogSink(&CountErrors);
    errors = 0;
    size_t programs = Gl().Shaders().ProgramCount();
    std::set<std::string> pairs;
    for (const Variant& variant : Variants()) {
        renderer->Lights().Clear();
        NormalDraw d({}, variant.palette, variant.parameters, renderer);
        for (const char* element : variant.elements)
            d.part->layout.AddElement(ElementType(element), element);
        variant.setup(d);
        d.view->target = RefPtr<TextureBase>(device->ScreenTexture());
        // An instanced part's geometry is 16 copies, one per instance.
        const bool instanced = ShaderTextBuilder::CountInputs(d.part->layout, "X16") > 0;
        const uint32_t count = instanced ? 48 : 3;
        const uint32_t stride = uint32_t(d.part->layout.Stride());
        std::vector<uint8_t> vertices(size_t(stride) * count, 0);
        d.part->geometry = device->CreateGeometryBuffer(
            3, d.part->layout, device->CreateVertexBuffer(stride, count, vertices.data(), 0), 0,
            int32_t(count), RefPtr<IndexBuffer>(), 0, 0);
        if (instanced) {
            d.batch->instancing = 1;
            d.batch->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
            d.batch->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
        }
        renderer->DrawView(d.view, d.batch);
        RefPtr<VertexShader> vs = renderer->FindVertexShader(d.gen->vsKey);
        RefPtr<PixelShader> ps = renderer->FindPixelShader(d.gen->psKey);
        EXPECT_TRUE(vs && vs->Handle() != 0) << variant.name << "\n" << d.gen->vsKey.Text();
        EXPECT_TRUE(ps && ps->Handle() != 0) << variant.name << "\n" << d.gen->psKey.Text();
        pairs.insert(std::string(d.gen->vsKey.Text()) + "|" + d.gen->psKey.Text());
    }
    SetLogSink(previous);
    EXPECT_EQ(errors, 0);
    // Each distinct pair was linked.
    EXPECT_EQ(Gl().Shaders().ProgramCount(), programs + pairs.size());
}

// Screen sprites, as the screen drawers make them: pixel coordinates through the
// screen matrix, coloured and textured, onto exactly their pixels.
TEST_F(NormalShaderGlTest, ScreenPartsCoverTheirPixels) {
    ASSERT_NE(MakeDevice(kSize), nullptr);
    RefPtr<Renderer> renderer = MakeTestRenderer(DeviceHandle());
    SceneDrawSet set(renderer);
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0x3;
    clear.color = 0xFF000000u;
    set.AddView(RefPtr<RenderView>(new RenderView(
        renderer, RefPtr<TextureBase>(device->ScreenTexture()), clear,
        RefPtr<ShaderGenBase>(NormalShaderGen::NormalShaderGenAlt(renderer)), TextureViewport{})));

    struct Coloured : DrawDescriptor {
        Coloured() {
            layout.AddElement(2, "TPosition");
            layout.AddElement(3, "Diffuse");
        }
    } coloured;
    struct Textured : DrawDescriptor {
        Textured() {
            layout.AddElement(2, "TPosition");
            layout.AddElement(3, "Diffuse");
            layout.AddElement(1, "TextureUV");
        }
    } textured;
    RefPtr<Texture> green = device->CreateTexture(kTextureSampled, 4, 4);
    ASSERT_TRUE(green);
    const std::vector<uint32_t> texels(16, 0xFF00FF00u);
    green->Upload(TextureRect{0, 0, 4, 4}, PixelKind::ARGB8888, texels.data());
    textured.textures.resize(1);
    textured.textures[0].texture = RefPtr<TextureBase>(green);

    // A red rectangle over x 8 to 23, y 16 to 39; a textured one over x 32 to 55, y 8 to
    // 23, its diffuse colour halving the texel. Clockwise on screen.
    struct ColourVertex {
        float x, y, z, r, g, b, a;
    };
    const ColourVertex red[4] = {{8, 16, 0.5f, 1, 0, 0, 1},
                                 {24, 16, 0.5f, 1, 0, 0, 1},
                                 {24, 40, 0.5f, 1, 0, 0, 1},
                                 {8, 40, 0.5f, 1, 0, 0, 1}};
    struct SpriteVertex {
        float x, y, z, r, g, b, a, u, v;
    };
    const SpriteVertex sprite[4] = {{32, 8, 0.5f, 0.5f, 0.5f, 0.5f, 1, 0, 0},
                                    {56, 8, 0.5f, 0.5f, 0.5f, 0.5f, 1, 1, 0},
                                    {56, 24, 0.5f, 0.5f, 0.5f, 0.5f, 1, 1, 1},
                                    {32, 24, 0.5f, 0.5f, 0.5f, 0.5f, 1, 0, 1}};
    set.commands->AddTriangle(1.0f, &coloured, &red[0], &red[1], &red[2]);
    set.commands->AddTriangle(1.0f, &coloured, &red[0], &red[2], &red[3]);
    set.commands->AddTriangle(1.0f, &textured, &sprite[0], &sprite[1], &sprite[2]);
    set.commands->AddTriangle(1.0f, &textured, &sprite[0], &sprite[2], &sprite[3]);
    set.Draw();

    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    auto at = [&](int x, int y) { return pixels[size_t(y * kSize + x)] & 0xFFFFFFu; };
    for (auto [x, y] : {std::pair{8, 16}, {23, 16}, {8, 39}, {23, 39}, {15, 28}})
        EXPECT_EQ(at(x, y), 0xFF0000u) << x << "," << y;
    for (auto [x, y] : {std::pair{7, 16}, {24, 16}, {8, 15}, {8, 40}, {31, 8}, {56, 8}, {32, 24}})
        EXPECT_EQ(at(x, y), 0x000000u) << x << "," << y;
    for (auto [x, y] : {std::pair{32, 8}, {55, 23}, {44, 16}}) {
        uint32_t p = at(x, y);
        EXPECT_EQ(p & 0xFF00FFu, 0u) << x << "," << y;
        EXPECT_NEAR(int((p >> 8) & 0xFF), 0x80, 1) << x << "," << y;
    }
}

}  // namespace
}  // namespace mareldon
