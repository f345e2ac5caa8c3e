#include "game/render/ShaderTextBuilder.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/engine/render/device/FakeTarget.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {
namespace {

// A generator whose constants come from the test.
class TestGen : public ShaderTextBuilder {
  public:
    explicit TestGen(const RefPtr<Renderer>& owner = RefPtr<Renderer>()) : ShaderTextBuilder(owner) {}
    String GetName() override { return "Test"; }
    bool SetConstants(const RefPtr<RenderView>&, const RefPtr<RenderBatch>&,
                      const RefPtr<MeshPart>&) override {
        ++setConstantsCalls;
        return fill ? fill(*this) : true;
    }
    bool Run() { return Apply(RefPtr<RenderView>(), RefPtr<RenderBatch>(), RefPtr<MeshPart>()); }

    std::function<bool(TestGen&)> fill;
    int setConstantsCalls = 0;
};

std::string Key(const String& key) {
    return std::string(key.Text(), key.Length());
}

int warnings = 0;
void CountWarnings(LogLevel level, const char*, const char*) {
    if (level == LogLevel::Warning)
        ++warnings;
}

TEST(ShaderTextBuilderTest, ConstantNamesFollowFirstFloatAndComponentCount) {
    TestGen gen;
    const std::pair<int, const char*> cases[] = {
        {0, "c0.x"},    {1, "c0.xy"}, {2, "c0.xyz"}, {3, "c0"},  {16, "c1.x"}, {19, "c1"},
        {22, "c1.yzw"}, {48, "c3.x"}, {9, "c0.zw"},  {10, "c0"}, {12, "c0.w"}, {4095, "c255"},
    };
    for (const auto& [index, name] : cases)
        EXPECT_STREQ(gen.VsConstName(index).Text(), name) << index;
    EXPECT_STREQ(gen.PsConstName(127).Text(), "c7");
    EXPECT_STREQ(gen.PsConstName(22).Text(), "c1.yzw");
    EXPECT_STREQ(gen.TextureOutName(15).Text(), "oT15");
    EXPECT_STREQ(gen.InputName(3).Text(), "v3");
    EXPECT_STREQ(ShaderTextBuilder::PositionOutName().Text(), "oPos");
    EXPECT_STREQ(ShaderTextBuilder::ColourOutName(1).Text(), "oD1");
    EXPECT_STREQ(ShaderTextBuilder::MakeRegisterName("c[a0.x + ", 12).Text(), "c[a0.x + 12");
    EXPECT_FALSE(gen.DrawRefused());
    EXPECT_TRUE(gen.VsConstName(4096).IsEmpty());
    EXPECT_TRUE(gen.PsConstName(-1).IsEmpty());
    EXPECT_TRUE(gen.DrawRefused());
}

TEST(ShaderTextBuilderTest, PartlyUsedRegistersAreFilledLastInFirstOut) {
    TestGen gen;
    const float four[4] = {1, 2, 3, 4};
    const float three[3] = {5, 6, 7};
    EXPECT_EQ(gen.AddScalarConstant(1.0f), 0);               // c0.x
    EXPECT_EQ(gen.AddScalarConstant(2.0f), 4);               // c0.y
    EXPECT_EQ(gen.AddScalarConstant(3.0f), 8);               // c0.z
    EXPECT_EQ(gen.AddConstant(four), 19);                    // c1: a new register
    EXPECT_EQ(gen.AddScalarConstant(4.0f), 12);              // c0.w
    EXPECT_EQ(gen.AddVector3Constant(three), 34);            // c2.xyz
    EXPECT_EQ(gen.AddScalarConstant(8.0f), 44);              // c2.w
    EXPECT_EQ(gen.AllocTwoFloatConstant(9.0f, 10.0f), 49);   // c3.xy
    EXPECT_EQ(gen.AllocTwoFloatConstant(11.0f, 12.0f), 57);  // c3.zw
    EXPECT_EQ(gen.VsFloatCount(), 16);
    const float expected[16] = {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(gen.VsPool()[i], expected[i]) << i;
    EXPECT_EQ(Key(gen.vsKey), "/ 1 / 1 / 1 / 4 / 1 / 3 / 1 / 2 / 2 ");

    TestGen fresh;
    EXPECT_EQ(fresh.AddVector3Constant(three), 2);
    EXPECT_STREQ(fresh.VsConstName(fresh.AddScalarConstant(1.0f)).Text(), "c0.w");
    const float matrix[16] = {};
    EXPECT_EQ(fresh.AddMatrixConstant(matrix), 19);
    EXPECT_EQ(fresh.AddPsConstant(four), 3);
    EXPECT_EQ(fresh.AddPsConstant(four), 19);
    EXPECT_EQ(Key(fresh.vsKey), "/ 3 / 1 / 16 ");
    EXPECT_TRUE(fresh.psKey.IsEmpty());
}

// With several partly used registers about, a part goes to the tightest slot that
// fits, and among slots of one kind to the most recently pushed (4 x first float +
// components - 1).
TEST(ShaderTextBuilderTest, PartialConstantsTakeTheTightestNewestSlot) {
    const float three[3] = {5, 6, 7};
    TestGen gen;
    EXPECT_EQ(gen.AddVector3Constant(three), 2);                  // c0.xyz, c0.w left
    EXPECT_EQ(gen.AddVector3Constant(three), 4 * 4 + 2);          // c1.xyz, c1.w left
    EXPECT_EQ(gen.AllocTwoFloatConstant(1.0f, 2.0f), 4 * 8 + 1);  // c2.xy, c2.zw left
    EXPECT_EQ(gen.AddScalarConstant(1.0f), 4 * 7);                // c1.w: newest 1-free slot
    EXPECT_EQ(gen.AddScalarConstant(2.0f), 4 * 3);                // c0.w
    EXPECT_EQ(gen.AddScalarConstant(3.0f), 4 * 10);               // c2.z: no 1-free slot left
    EXPECT_EQ(gen.AddScalarConstant(4.0f), 4 * 11);               // c2.w, pushed by the one before
    EXPECT_EQ(gen.AddScalarConstant(5.0f), 4 * 12);               // c3.x: all full
    EXPECT_EQ(gen.AddVector3Constant(three), 4 * 13 + 2);         // c3.yzw, the 3-free slot
    EXPECT_EQ(gen.VsFloatCount(), 16);
}

TEST(ShaderTextBuilderTest, KeyWordsForPaletteAndShadowMapChoices) {
    TestGen a;
    TestGen b;
    float palette[4 * 3 * 2] = {};
    a.AddVsConstantBlock(palette, 3);
    b.AddVsConstantBlock(palette, 6);
    EXPECT_NE(Key(a.vsKey), Key(b.vsKey));
    EXPECT_EQ(a.NextVsRegister(), 3);
    a.vsKey = "";
    a.AppendPaletteKeyWord(12);
    a.AppendShadowMapKeyWords(true, 2);
    EXPECT_EQ(Key(a.vsKey), "Palette12 ShadowPerspective ShadowOut2 ");
    b.vsKey = "";
    b.AppendShadowMapKeyWords(false, 2);
    EXPECT_EQ(Key(b.vsKey), "ShadowParallel ShadowOut2 ");
}

TEST(ShaderTextBuilderTest, FindInputMatchesNameAndUsageIndex) {
    VertexLayout layout;
    layout.AddElement(2, "Position");
    layout.AddElement(1, "TextureUV");
    layout.AddElement(2, "Normal");
    layout.AddElement(1, "TextureUV");
    TestGen gen;
    EXPECT_TRUE(gen.FindInput(layout, "Diffuse", 0).IsEmpty());
    EXPECT_TRUE(gen.vsKey.IsEmpty());
    EXPECT_EQ(ShaderTextBuilder::CountInputs(layout, "TextureUV"), 2);
    EXPECT_STREQ(gen.FindInput(layout, "TextureUV", 1).Text(), "v3");
    EXPECT_EQ(Key(gen.vsKey), "TextureUV 1 ");
    EXPECT_STREQ(gen.FindInput(layout, "Position", 0).Text(), "v0");
    EXPECT_EQ(Key(gen.vsKey), "TextureUV 1 Position 0 ");
    EXPECT_FALSE(gen.DrawRefused());
}

TEST(ShaderTextBuilderTest, LightRecordsAndNamedValuesAddTheirNames) {
    LightList lights;
    const float white[7] = {0, 0, 1, 1, 1, 1, 1};
    lights.Add(LightRecord("DirectionalLight", 7, white));
    lights.Add(LightRecord("AmbientLight", 4, white + 3));
    lights.Add(LightRecord("DirectionalLight", 7, white));
    TestGen gen;
    EXPECT_EQ(gen.CountLightRecords(&lights, "DirectionalLight"), 2);
    EXPECT_EQ(gen.CountLightRecords(&lights, "SimpleFog"), 0);
    EXPECT_EQ(gen.CountLightRecords(nullptr, "AmbientLight"), 0);
    EXPECT_EQ(Key(gen.vsKey), "DirectionalLight DirectionalLight ");
    EXPECT_EQ(ShaderTextBuilder::GetLightRecord(&lights, "DirectionalLight", 1), &lights[2]);
    EXPECT_EQ(ShaderTextBuilder::GetLightRecord(&lights, "DirectionalLight", 2), nullptr);

    std::vector<NamedValue> values(2);
    values[0].name = "Specular";
    values[0].track.Reset(new KeyTrack());
    values[0].track->defaultValue = 0.5f;
    values[1].name = "Specular";
    gen.vsKey = "";
    EXPECT_EQ(ShaderTextBuilder::CountNamedValues(&values, "Specular"), 2);
    EXPECT_EQ(gen.GetNamedValue(&values, "Specular", 0.0f), 0.5f);
    EXPECT_EQ(gen.GetNamedValue(&values, "Transparency", 0.0f), 0.0f);
    EXPECT_EQ(gen.GetNamedValue(nullptr, "Specular", 0.0f), 0.0f);
    EXPECT_EQ(Key(gen.vsKey), "Specular ");
}

TEST(ShaderTextBuilderTest, EmittersWriteOneLinePerInstruction) {
    TestGen gen;
    gen.EmitM4x4("r2", "v0", "c0");
    gen.EmitMov(ShaderTextBuilder::PositionOutName(), "r2");
    gen.EmitMad("r4.xyz", "v0", "r6.xxx", "r4.xyz");
    gen.EmitRaw("m4x3\tr0.xyz, v0, c[a0.x + 12]");
    gen.EmitNormalize("r3");
    gen.EmitReflect("r7", "r3", "c5");
    gen.EmitPsMulSat("r0.rgb", "v0", "t0");
    gen.EmitPsCoMul("r0.a", "v0.a", "t0.a");
    gen.EmitPsCnd("r0", "r0.a", "c1", "c0");
    EXPECT_EQ(Key(gen.text),
              "m4x4\tr2, v0, c0\n"
              "mov\toPos, r2\n"
              "mad\tr4.xyz, v0, r6.xxx, r4.xyz\n"
              "m4x3\tr0.xyz, v0, c[a0.x + 12]\n"
              "dp3\tr3.w,r3.xyz,r3.xyz\n"
              "rsq\tr3.w,r3.w\n"
              "mul\tr3.xyz,r3.xyz,r3.www\n"
              "dp3\tr7.xyz, r3,  c5\n"
              "add\tr7.xyz, r7,  r7\n"
              "mad\tr7.xyz, r7, -r3, c5\n"
              "mul_sat\tr0.rgb, v0, t0\n"
              "+mul\tr0.a, v0.a, t0.a\n"
              "cnd\tr0, r0.a, c1, c0\n");
}

TEST(ShaderTextBuilderTest, OrthoMatrixMapsPixelCornersToClipCorners) {
    float m[16];
    const float sizes[][2] = {{640.0f, 480.0f}, {480.0f, 640.0f}};
    for (const auto& size : sizes) {
        MakeOrthoMatrix(m, size[0], size[1]);
        auto map = [&m](float x, float y) {
            return std::pair(m[0] * x + m[1] * y + m[3], m[4] * x + m[5] * y + m[7]);
        };
        EXPECT_EQ(map(0.0f, 0.0f), std::pair(-1.0f, 1.0f));
        EXPECT_EQ(map(size[0], size[1]), std::pair(1.0f, -1.0f));
        EXPECT_EQ(m[10], 1.0f);
        EXPECT_EQ(m[15], 1.0f);
    }
}

// Every bounded table refuses the draw instead of writing past its end, and says so
// once per generator.
TEST(ShaderTextBuilderTest, OverflowRefusesTheDrawAndLogsOnce) {
    const float matrix[16] = {};
    const float four[4] = {};
    const float three[3] = {};
    VertexLayout wide;
    for (int i = 0; i < 17; ++i)
        wide.AddElement(0, "Weight");
    const std::pair<const char*, std::function<bool(TestGen&)>> cases[] = {
        {"vertex pool",
         [&](TestGen& g) {
             for (int i = 0; i < 138; ++i)
                 g.AddMatrixConstant(matrix);
             return true;
         }},
        {"registers",
         [&](TestGen& g) {
             for (int i = 0; i < 65; ++i)
                 g.AddMatrixConstant(matrix);
             return true;
         }},
        {"slot stack",
         [&](TestGen& g) {
             for (int i = 0; i < 257; ++i)
                 g.AddVector3Constant(three);
             return true;
         }},
        {"pixel pool",
         [&](TestGen& g) {
             for (int i = 0; i < 9; ++i)
                 g.AddPsConstant(four);
             return true;
         }},
        {"inputs", [&](TestGen& g) { return g.FindInput(wide, "Weight", 0).IsEmpty(); }},
        {"stage",
         [&](TestGen& g) {
             g.SetTexture(16, nullptr);
             return true;
         }},
    };
    LogSink previous = SetLogSink(&CountWarnings);
    for (const auto& [what, fill] : cases) {
        warnings = 0;
        TestGen gen;
        gen.fill = fill;
        EXPECT_FALSE(gen.Run()) << what;
        EXPECT_FALSE(gen.Run()) << what;
        EXPECT_EQ(warnings, 1) << what;
        EXPECT_LE(gen.VsFloatCount(), ShaderTextBuilder::kVsPoolFloats) << what;
        EXPECT_LE(gen.PsFloatCount(), ShaderTextBuilder::kPsPoolFloats) << what;
        gen.fill = nullptr;
        EXPECT_TRUE(gen.Run()) << what;
    }
    SetLogSink(previous);
}

TEST(ShaderTextBuilderTest, CullSkipsBatchesWithCullingOffAndPartsWithoutRadius) {
    RefPtr<RenderView> view(new RenderView(RefPtr<Renderer>(), RefPtr<TextureBase>(),
                                           RenderView::DefaultClear(), RefPtr<ShaderGenBase>(),
                                           TextureViewport{}));
    view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 1.5707964f, 1.0f, 1.0f);
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    RefPtr<MeshPart> part(new MeshPart());
    part->radius = 1.0f;
    batch->world[11] = -10.0f;  // behind the camera
    TestGen gen;
    float depth = 0.0f;
    EXPECT_TRUE(gen.Cull(view, batch, part, depth));
    batch->cullOff = 1;
    EXPECT_FALSE(gen.Cull(view, batch, part, depth));
    batch->cullOff = 0;
    part->radius = 0.0f;
    EXPECT_FALSE(gen.Cull(view, batch, part, depth));
    part->radius = 1.0f;
    batch->world[11] = 10.0f;
    EXPECT_FALSE(gen.Cull(view, batch, part, depth));
    EXPECT_EQ(depth, 10.0f);
}

TEST(ShaderTextBuilderTest, ApplyUploadsWholeRegistersOfBothPoolsFromZero) {
    auto* spy = new SpyGraphicsDevice();
    RefPtr<Renderer> renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(spy));
    TestGen gen(renderer);
    EXPECT_TRUE(gen.Run());
    ASSERT_EQ(spy->vsUploads.size(), 1u);
    EXPECT_EQ(spy->vsUploads[0].first, 0u);
    EXPECT_EQ(spy->vsUploads[0].count, 0u);
    ASSERT_EQ(spy->psUploads.size(), 1u);
    EXPECT_EQ(spy->psUploads[0].count, 0u);

    const float four[4] = {1, 2, 3, 4};
    gen.fill = [&](TestGen& g) {
        g.AddConstant(four);
        g.AddScalarConstant(5.0f);
        g.AddPsConstant(four);
        return true;
    };
    EXPECT_TRUE(gen.Run());
    EXPECT_EQ(spy->vsUploads[1].count, 2u);
    EXPECT_EQ(spy->vsUploads[1].data[4], 5.0f);
    EXPECT_EQ(spy->psUploads[1].count, 1u);
    EXPECT_EQ(Key(gen.vsKey), "/ 4 / 1 ");

    // A generator that fails its constants uploads nothing.
    gen.fill = [](TestGen&) { return false; };
    EXPECT_FALSE(gen.Run());
    EXPECT_EQ(spy->vsUploads.size(), 2u);
}

TEST(ShaderTextBuilderTest, MaterialTexturesAndStatesReachTheDevice) {
    auto* spy = new SpyGraphicsDevice();
    RefPtr<Renderer> renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(spy));
    TestGen gen(renderer);
    std::vector<MaterialTexture> textures(2);
    textures[1].texture = RefPtr<TextureBase>(new FakeTarget(4, 4));
    EXPECT_EQ(gen.SetMaterialTextures(textures), 2);
    gen.SetTexture(3, textures[1].texture.Get());
    EXPECT_EQ(Key(gen.psKey), "SetMatTex 2 SetTex 3 ");
    ASSERT_EQ(spy->texturesSet.size(), 3u);
    EXPECT_EQ(spy->texturesSet[1], std::pair(1u, textures[1].texture.Get()));
    EXPECT_EQ(spy->texturesSet[2].first, 3u);
    EXPECT_EQ(spy->samplerStages, (std::vector<uint32_t>{0, 1}));
}

// The device turns the six zero-based words into the engine's state values.
TEST(ShaderTextBuilderTest, RenderStateBlocksOfTheTwoNormalForms) {
    DeviceFixture fixture;
    GraphicsDeviceDX& dx = fixture.Make();
    RefPtr<Renderer> renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(&dx, [](GraphicsDevice*) {}));
    TestGen gen(renderer);
    RecordingGpuDevice& gpu = fixture.Gpu();
    gen.ApplyRenderStates(RenderStateBlock{4, 5, 2, 2, 7, 0});
    EXPECT_EQ(gpu.RenderState(GpuRenderState::ZFUNC), gpu::CMP_ALWAYS);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::ZWRITEENABLE), gpu::kFalse);
    gen.ApplyRenderStates(RenderStateBlock{4, 5, 2, 2, 3, 1});
    EXPECT_EQ(gpu.RenderState(GpuRenderState::SRCBLEND), gpu::BLEND_SRCALPHA);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::DESTBLEND), gpu::BLEND_INVSRCALPHA);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::FILLMODE), gpu::FILL_SOLID);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::CULLMODE), gpu::CULL_CCW);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::ZFUNC), gpu::CMP_LESSEQUAL);
    EXPECT_EQ(gpu.RenderState(GpuRenderState::ZWRITEENABLE), gpu::kTrue);
}

// A generator over the Renderer: the same draw twice builds each text once, and the
// key words a draw adds choose the shader.
TEST(ShaderTextBuilderTest, IdenticalDrawsHitTheShaderCache) {
    DeviceFixture fixture;
    GraphicsDeviceDX& dx = fixture.Make();
    RefPtr<Renderer> renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(&dx, [](GraphicsDevice*) {}));
    struct CountingGen : TestGen {
        using TestGen::TestGen;
        void BuildVertexShader() override {
            ++vsBuilds;
            EmitM4x4(ShaderTextBuilder::PositionOutName(), "v0", VsConstName(matrix));
        }
        void BuildPixelShader() override {
            ++psBuilds;
            EmitPsMov("r0", "v0");
        }
        int32_t matrix = 3;
        int vsBuilds = 0, psBuilds = 0;
    };
    RefPtr<CountingGen> gen(new CountingGen(renderer));
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    int scalars = 0;
    gen->fill = [&](TestGen& g) {
        for (int i = 0; i < scalars; ++i)
            g.AddScalarConstant(0.0f);
        static_cast<CountingGen&>(g).matrix = g.AddMatrixConstant(identity);
        return true;
    };
    auto* target = new FakeTarget(480, 640);
    RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(target), RenderView::DefaultClear(),
                                           RefPtr<ShaderGenBase>(gen), TextureViewport{}));
    RefPtr<MeshPart> part(new MeshPart());
    part->layout.AddElement(3, "Position");
    std::vector<float> vertices(12, 0.0f);
    part->geometry = dx.CreateGeometryBuffer(
        3, part->layout, dx.CreateVertexBuffer(16, 3, vertices.data(), 0), 0, 3, RefPtr<IndexBuffer>(), 0, 0);
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    batch->parts.Add(part);
    renderer->DrawView(view, batch);
    renderer->DrawView(view, batch);
    EXPECT_EQ(gen->vsBuilds, 1);
    EXPECT_EQ(gen->psBuilds, 1);
    EXPECT_EQ(target->draws.size(), 2u);
    scalars = 1;  // the matrix moves to c1: another key, another text
    renderer->DrawView(view, batch);
    EXPECT_EQ(gen->vsBuilds, 2);
    EXPECT_EQ(gen->psBuilds, 1);
    EXPECT_STREQ(gen->vsKey.Text(), "TestPosition:/ 1 / 16 ");
    EXPECT_EQ(target->draws.size(), 3u);
}

}  // namespace
}  // namespace mareldon
