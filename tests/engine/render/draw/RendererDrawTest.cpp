#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "engine/render/archive/MeshData.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "engine/render/draw/ShaderGenBase.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/engine/render/device/FakeTarget.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

// A generator that counts what the Renderer asks of it. Apply adds one word to each
// key and, on a collector, takes up to `takes` instances.
class SpyGen : public ShaderGenBase {
  public:
    SpyGen(const RefPtr<Renderer>& owner, const char* genName) : ShaderGenBase(owner), name(genName) {}
    String GetName() override { return name; }
    bool Apply(const RefPtr<RenderView>&, const RefPtr<RenderBatch>& batch,
               const RefPtr<MeshPart>&) override {
        ++applies;
        if (statesDuringApply != nullptr)
            Owner()->GetDevice()->SetRenderStateBlock(*statesDuringApply);
        vsKey.Append(word);
        psKey.Append(psWord != nullptr ? psWord : word);
        if (batch->instancing != 0) {
            int32_t take = batch->instancesToDraw < takes ? batch->instancesToDraw : takes;
            batch->instancesToDraw -= take;
        }
        return !refuse;
    }
    void BuildVertexShader() override {
        ++vsBuilds;
        text = vsText;
    }
    void BuildPixelShader() override {
        ++psBuilds;
        text = psText;
    }
    bool Cull(const RefPtr<RenderView>&, const RefPtr<RenderBatch>&, const RefPtr<MeshPart>&,
              float&) override {
        ++culls;
        return cullAway;
    }

    String name;
    const char* word = "";
    const char* psWord = nullptr;  // null: the same word as the vertex key
    const char* vsText = "mov\toPos, v0\n";
    const char* psText = "mov\tr0, v0\n";
    int32_t takes = 16;
    bool refuse = false;
    bool cullAway = false;
    const RenderStateBlock* statesDuringApply = nullptr;
    int applies = 0, vsBuilds = 0, psBuilds = 0, culls = 0;
};

RefPtr<RenderBatch> Batch1(const RefPtr<MeshPart>& part) {
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    batch->parts.Add(part);
    return batch;
}

int32_t DictionarySize(const NamedNode& root) {
    int32_t size = 0;
    for (NamedNode* entry = root.NextEntry(); entry != &root; entry = entry->NextEntry())
        ++size;
    return size;
}

struct RendererDrawTest : ::testing::Test {
    DeviceFixture fixture;
    GraphicsDeviceDX& dx = fixture.Make();
    RefPtr<GraphicsDevice> device{&dx, [](GraphicsDevice*) {}};
    RefPtr<Renderer> renderer = MakeTestRenderer(device);
    FakeTarget* target = new FakeTarget(480, 640);
    RefPtr<SpyGen> normal{new SpyGen(renderer, "Normal")};
    RefPtr<RenderView> view{new RenderView(renderer, RefPtr<TextureBase>(target), RenderView::DefaultClear(),
                                           RefPtr<ShaderGenBase>(normal), TextureViewport{})};

    // A part of `vertices` position-only vertices drawn as a triangle list.
    RefPtr<MeshPart> Part(const char* layer, int32_t vertices) {
        RefPtr<MeshPart> part(new MeshPart());
        part->name = layer;
        part->layout.AddElement(3, "Position");
        std::vector<float> bytes(size_t(vertices) * 4, 0.0f);
        RefPtr<VertexBuffer> buffer = device->CreateVertexBuffer(16, uint32_t(vertices), bytes.data(), 0);
        part->geometry =
            device->CreateGeometryBuffer(3, part->layout, buffer, 0, vertices, RefPtr<IndexBuffer>(), 0, 0);
        return part;
    }
    RefPtr<RenderBatch> Batch(const RefPtr<MeshPart>& part, uint8_t instancing = 0) {
        RefPtr<RenderBatch> batch(new RenderBatch(instancing, 0, 0));
        batch->parts.Add(part);
        return batch;
    }
};

TEST_F(RendererDrawTest, VertexKeyIsNameThenEveryElementWithAColon) {
    RefPtr<MeshPart> part = Part("shadingname", 3);
    part->layout = VertexLayout();
    const std::pair<std::vector<std::pair<int, const char*>>, const char*> cases[] = {
        {{{2, "Position"}, {2, "Normal"}, {1, "TextureUV"}}, "NormalPosition:Normal:TextureUV:[L] "},
        {{}, "Normal[L] "},
        {{{3, "N"}, {1, "N"}}, "NormalN:N:[L] "},  // a 6-float archive element, cut in two
    };
    normal->word = "[L] ";
    for (const auto& [elements, key] : cases) {
        part->layout = VertexLayout();
        for (const auto& [type, element] : elements)
            part->layout.AddElement(type, element);
        renderer->BindShaders(normal, view, Batch(part), part);
        EXPECT_STREQ(normal->vsKey.Text(), key);
        EXPECT_STREQ(normal->psKey.Text(), "Normal[L] ");
    }
}

TEST_F(RendererDrawTest, SecondBindOfTheSameKeysHitsTheCache) {
    RefPtr<MeshPart> part = Part("shadingname", 3);
    RefPtr<RenderBatch> batch = Batch(part);
    renderer->DrawView(view, batch);
    renderer->DrawView(view, batch);
    EXPECT_EQ(normal->applies, 2);
    EXPECT_EQ(normal->vsBuilds, 1);
    EXPECT_EQ(normal->psBuilds, 1);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{1, 1}));
    EXPECT_NE(fixture.Gpu().VertexShader(), 0u);
    EXPECT_NE(fixture.Gpu().PixelShader(), 0u);
}

TEST_F(RendererDrawTest, LayersChooseTheGeneratorAndMissingOnesDrawNothing) {
    RefPtr<SpyGen> add(new SpyGen(renderer, "Add"));
    view->AddLayer("addsat", RefPtr<ShaderGenBase>(add));
    view->AddLayer("hidden", RefPtr<ShaderGenBase>());
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    batch->parts.Add(Part("addsat", 3));
    batch->parts.Add(Part("unknown", 6));
    batch->parts.Add(Part("hidden", 9));
    renderer->DrawView(view, batch);
    EXPECT_EQ(add->applies, 1);
    EXPECT_EQ(normal->applies, 1);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{1, 2}));

    // Neither a layer nor a default generator: no device call at all.
    RefPtr<RenderView> bare(new RenderView(renderer, RefPtr<TextureBase>(new FakeTarget(8, 8)),
                                           RenderView::DefaultClear(), RefPtr<ShaderGenBase>(),
                                           TextureViewport{}));
    RefPtr<RenderBatch> lone = Batch(Part("shadingname", 3));
    fixture.gpu.ClearCalls();
    renderer->DrawView(bare, lone);
    EXPECT_TRUE(fixture.gpu.Calls().empty());
}

TEST_F(RendererDrawTest, CullSwitchAsksTheGenerator) {
    RefPtr<MeshPart> part = Part("shadingname", 3);
    RefPtr<RenderBatch> batch = Batch(part);
    normal->cullAway = true;
    renderer->DrawView(view, batch);
    EXPECT_EQ(normal->culls, 0);
    part->cullSwitch = 1;
    renderer->DrawView(view, batch);
    EXPECT_EQ(normal->culls, 1);
    EXPECT_EQ(normal->applies, 1);
    EXPECT_EQ(target->draws.size(), 1u);
}

TEST_F(RendererDrawTest, InstancedCollectorDrawsInPassesOfWhatTheGeneratorTakes) {
    RefPtr<MeshPart> part = Part("shadingname", 16 * 3 * 4);  // 64 triangles, 4 per instance
    RefPtr<RenderBatch> collector = Batch(part, 1);
    for (int i = 0; i < 20; ++i)
        collector->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
    renderer->DrawView(view, collector);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{64, 16}));
    EXPECT_EQ(part->geometry->PrimitiveCount(), 64);
    EXPECT_EQ(collector->instancesToDraw, 20);
    EXPECT_EQ(normal->culls, 0);

    // A generator that takes none draws one sixteenth once and stops.
    target->draws.clear();
    normal->takes = 0;
    renderer->DrawView(view, collector);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{4}));
    EXPECT_EQ(collector->instancesToDraw, 20);

    // One taking more than 16 at once never draws past the 16 sections.
    target->draws.clear();
    normal->takes = 20;
    renderer->DrawView(view, collector);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{64}));
    EXPECT_EQ(part->geometry->PrimitiveCount(), 64);
}

TEST_F(RendererDrawTest, DrawRegisteredDrawsAndEmptiesEveryCollector) {
    RefPtr<MeshPart> part = Part("shadingname", 48);
    RefPtr<RenderBatch> collector = Batch(part, 1);
    RefPtr<MeshData> mesh(new MeshData());
    collector->meshData = mesh.Get();
    EXPECT_EQ(renderer->RegisterBatch(collector), collector);
    for (int i = 0; i < 3; ++i)
        collector->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
    RefPtr<RenderBatch> instance = collector->Instance(0);
    renderer->DrawRegistered(view);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{3}));
    EXPECT_EQ(collector->InstanceCount(), 0);
    EXPECT_EQ(collector->instancesToDraw, 0);
    EXPECT_EQ(instance.UseCount(), 1);
}

// A text that does not assemble is built again at every bind, but the dictionary
// keeps one entry for its key and nothing is drawn.
TEST_F(RendererDrawTest, FailedShaderIsRebuiltWithoutGrowingTheDictionary) {
    normal->vsText = "bogus\tr0\n";
    RefPtr<MeshPart> part = Part("shadingname", 3);
    RefPtr<RenderBatch> batch = Batch(part);
    LogSink previous = SetLogSink([](LogLevel, const char*, const char*) {});
    for (int frame = 0; frame < 3; ++frame)
        renderer->DrawView(view, batch);
    SetLogSink(previous);
    EXPECT_EQ(normal->vsBuilds, 3);
    EXPECT_EQ(normal->psBuilds, 1);
    EXPECT_EQ(DictionarySize(renderer->VertexShaders()), 1);
    EXPECT_EQ(DictionarySize(renderer->PixelShaders()), 1);
    EXPECT_TRUE(target->draws.empty());
}

TEST_F(RendererDrawTest, RefusedEmptyOrTargetlessPartsAreNotDrawn) {
    RefPtr<MeshPart> part = Part("shadingname", 3);
    RefPtr<RenderBatch> batch = Batch(part);
    normal->refuse = true;
    renderer->DrawView(view, batch);
    EXPECT_EQ(normal->vsBuilds, 0);
    normal->refuse = false;
    part->geometry = RefPtr<GeometryBuffer>();
    renderer->DrawView(view, batch);
    EXPECT_EQ(normal->applies, 1);
    // A view without a target (reported once), and no view or batch at all.
    RefPtr<RenderView> blind(new RenderView(renderer, RefPtr<TextureBase>(), RenderView::DefaultClear(),
                                            RefPtr<ShaderGenBase>(normal), TextureViewport{}));
    static int warnings = 0;
    LogSink previous = SetLogSink([](LogLevel level, const char*, const char*) {
        if (level == LogLevel::Warning)
            ++warnings;
    });
    renderer->DrawView(blind, Batch(Part("shadingname", 3)));
    renderer->DrawView(blind, Batch(Part("shadingname", 3)));
    SetLogSink(previous);
    EXPECT_EQ(warnings, 1);
    renderer->DrawView(RefPtr<RenderView>(), batch);
    renderer->DrawView(view, RefPtr<RenderBatch>());
    EXPECT_EQ(normal->applies, 1);
    EXPECT_TRUE(target->draws.empty());
}

// What reaches the recording device through the screen texture: an instanced strip
// draws its share of primitives (not of indices), a part without a pixel shader is
// drawn by the fixed stage, and keys of the tool's sample shader data are hit as they
// are preloaded, without building.
TEST(RendererDrawDeviceTest, DrawingPathOnTheRecordingDevice) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["QVDSHDV.dat"] = MakeSampleVertexShaderData();
    files->files["QVDSHDP.dat"] = MakeSamplePixelShaderData();
    DeviceFixture fixture;
    RefPtr<GraphicsDevice> device{&fixture.Make(), [](GraphicsDevice*) {}};
    RefPtr<Renderer> renderer(new Renderer(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>()));
    RecordingGpu& gpu = fixture.gpu;
    auto viewWith = [&](const RefPtr<SpyGen>& generator) {
        return RefPtr<RenderView>(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()),
                                                 RenderView::DefaultClear(), RefPtr<ShaderGenBase>(generator),
                                                 TextureViewport{}));
    };
    auto part = [&](std::initializer_list<const char*> elements, int32_t kind, int32_t indices) {
        RefPtr<MeshPart> p(new MeshPart());
        p->name = "shadingname";
        for (const char* element : elements)
            p->layout.AddElement(2, element);
        std::vector<float> vertices(64 * 6, 0.0f);
        RefPtr<VertexBuffer> vb = device->CreateVertexBuffer(
            p->layout.Stride() != 0 ? p->layout.Stride() : 12, 64, vertices.data(), 0);
        std::vector<uint16_t> order(64);
        for (uint16_t i = 0; i < 64; ++i)
            order[i] = i;
        RefPtr<IndexBuffer> ib = indices != 0
                                     ? device->CreateIndexBuffer(uint32_t(indices), order.data(), kIndex16Bit)
                                     : RefPtr<IndexBuffer>();
        p->geometry = device->CreateGeometryBuffer(kind, p->layout, vb, 0, 64, ib, 0, indices);
        return p;
    };

    // A 64-index strip (62 triangles) drawn for 4 instances: 62 x 4 / 16 = 15.
    {
        RefPtr<SpyGen> generator(new SpyGen(renderer, "Strip"));
        RefPtr<MeshPart> strip = part({"Position"}, 4, 64);
        RefPtr<RenderBatch> collector(new RenderBatch(1, 0, 0));
        collector->parts.Add(strip);
        for (int i = 0; i < 4; ++i)
            collector->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
        gpu.ClearCalls();
        renderer->DrawView(viewWith(generator), collector);
        EXPECT_EQ(gpu.Find("DrawIndexedPrimitive("),
                  std::vector<std::string>{"DrawIndexedPrimitive(TRIANGLESTRIP, 0, 64, 0, 15)"});
        EXPECT_EQ(strip->geometry->PrimitiveCount(), 62);
    }
    // An empty pixel shader: the vertex shader is set, the pixel stage is the fixed one.
    {
        RefPtr<SpyGen> generator(new SpyGen(renderer, "Unlit"));
        generator->psText = "";
        LogSink previous = SetLogSink([](LogLevel, const char*, const char*) {});
        gpu.ClearCalls();
        renderer->DrawView(viewWith(generator), Batch1(part({"Position"}, 3, 0)));
        SetLogSink(previous);
        EXPECT_EQ(gpu.Find("DrawPrimitive("), std::vector<std::string>{"DrawPrimitive(TRIANGLELIST, 0, 21)"});
        EXPECT_NE(fixture.Gpu().VertexShader(), 0u);
        EXPECT_EQ(fixture.Gpu().PixelShader(), 0u);
    }
    // Preloaded keys, exactly as binding builds them.
    struct Preloaded {
        const char* generator;
        std::initializer_list<const char*> elements;
        const char* psWord;
    };
    for (const Preloaded& c :
         {Preloaded{"Plain", {}, ""}, Preloaded{"Normal", {"Position", "Normal"}, "SetMatTex 1 [L] "}}) {
        RefPtr<SpyGen> generator(new SpyGen(renderer, c.generator));
        generator->psWord = c.psWord;
        RefPtr<MeshPart> p = part(c.elements, 3, 0);
        gpu.ClearCalls();
        renderer->DrawView(viewWith(generator), Batch1(p));
        EXPECT_EQ(generator->vsBuilds, 0) << c.generator;
        EXPECT_EQ(generator->psBuilds, 0) << c.generator;
        EXPECT_EQ(fixture.Gpu().VertexShader(),
                  renderer->FindVertexShader(generator->vsKey.Text())->Handle());
        EXPECT_EQ(fixture.Gpu().PixelShader(), renderer->FindPixelShader(generator->psKey.Text())->Handle());
        EXPECT_NE(fixture.Gpu().PixelShader(), 0u);
        EXPECT_EQ(gpu.Count("DrawPrimitive(TRIANGLELIST, 0, 21)"), 1u) << c.generator;
    }
}

TEST(SceneDrawSetTest, DrawSavesAndRestoresTheRenderStatesAroundItsViews) {
    auto* spy = new SpyGraphicsDevice();
    RefPtr<Renderer> renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(spy));
    SceneDrawSet set(renderer);
    set.Draw();
    EXPECT_EQ(spy->blockGets, 1);
    EXPECT_EQ(spy->blocksSet.size(), 1u);

    auto* target = new FakeTarget(480, 640);
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 3;
    set.AddView(RefPtr<RenderView>(new RenderView(renderer, RefPtr<TextureBase>(target), clear,
                                                  RefPtr<ShaderGenBase>(), TextureViewport{})));
    spy->block.zFunc = 7;
    set.Draw();
    ASSERT_EQ(target->clears.size(), 1u);
    EXPECT_EQ(target->clears[0].flags, 3u);
    EXPECT_EQ(spy->blocksSet.back().zFunc, 7);
}

TEST_F(RendererDrawTest, DrawSetClearsDrawsTheCommandsAndRestoresStatesAGeneratorChanged) {
    RenderStateBlock before;
    before.zFunc = 3;
    dx.SetRenderStateBlock(before);
    RenderStateBlock changed;
    changed.zFunc = 7;
    changed.zWrite = 0;
    normal->statesDuringApply = &changed;
    SceneDrawSet set(renderer);
    set.AddView(view);
    DrawDescriptor descriptor;
    descriptor.layout.AddElement(2, "Position");
    descriptor.layerName = "shadingname";
    const float vertex[3] = {};
    set.commands->AddTriangle(1.0f, &descriptor, vertex, vertex, vertex);
    set.Draw();
    EXPECT_EQ(target->clears.size(), 1u);
    EXPECT_EQ(target->draws, (std::vector<int32_t>{1}));
    EXPECT_EQ(normal->applies, 1);
    EXPECT_EQ(dx.GetRenderStateBlock()->zFunc, 3);
    EXPECT_EQ(dx.GetRenderStateBlock()->zWrite, 1);
}

}  // namespace
}  // namespace mareldon
