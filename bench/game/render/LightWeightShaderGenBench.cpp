// One frame's "LightWeight" binds: 200 batches of 16 instances each, one bind each
// (256 vertex constants), all on cache hits, on the recording device: key building,
// the per-instance constant arrays, the uploads and the shader lookups.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/core/Log.h"
#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "game/render/LightWeightShaderGen.h"

namespace {

using namespace mareldon;

constexpr int kBinds = 200;
constexpr int kInstances = 16;

RefPtr<MeshPart> Part() {
    RefPtr<MeshPart> part(new MeshPart());
    part->layout.AddElement(2, "Position");
    part->layout.AddElement(2, "Normal");
    part->layout.AddElement(1, "TextureUV");
    part->layout.AddElement(1, "X16");
    part->textures.resize(1);
    for (const char* name : {"Specular", "Transparency"}) {
        NamedValue value;
        value.name = name;
        value.track.Reset(new KeyTrack());
        value.track->defaultValue = 0.5f;
        part->values.push_back(value);
    }
    return part;
}

void LightWeightInstancedBinds(benchmark::State& state) {
    SetLogLevel(LogLevel::Error);
    RecordingGpu gpu;
    gpu.SetLogging(false);
    gpu.config.caps.MaxVertexShaderConst = 256;
    RecordingDeviceWindow window;
    auto device = std::make_unique<GraphicsDeviceDX>(&gpu, &window, 1, 8, 480, 640, 3);
    RefPtr<Renderer> renderer(new Renderer(RefPtr<FileSystem>(),
                                           RefPtr<GraphicsDevice>(device.get(), [](GraphicsDevice*) {}),
                                           RefPtr<SoundBox>()));
    RefPtr<LightWeightShaderGen> generator(new LightWeightShaderGen(renderer));
    RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()),
                                           RenderView::DefaultClear(), RefPtr<ShaderGenBase>(generator),
                                           TextureViewport{}));
    view->SetCamera({0, 0, -6}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
    const float ambient[4] = {0.15f, 0.15f, 0.2f, 1.0f};
    const float light[7] = {0.3f, -1.0f, 0.2f, 0.8f, 0.8f, 0.7f, 1.0f};
    const float scroll[4] = {0.25f, 0.0f, 0.0f, 0.0f};
    RefPtr<MeshPart> part = Part();
    std::vector<RefPtr<RenderBatch>> batches;
    for (int b = 0; b < kBinds; ++b) {
        RefPtr<RenderBatch> batch(new RenderBatch(1, 0, 0));
        batch->parts.Add(part);
        batch->records.Add(LightRecord("UVScroll", 4, scroll));
        for (int k = 0; k < kInstances; ++k) {
            RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
            instance->world[3] = float(k);
            instance->parts.Add(part);
            instance->records.Add(LightRecord("UVScroll", 4, scroll));
            batch->AppendInstance(instance);
        }
        batches.push_back(batch);
    }
    LightList& lights = renderer->Lights();
    lights.Add(LightRecord("AmbientLight", 4, ambient));
    lights.Add(LightRecord("DirectionalLight", 7, light));
    lights.Add(LightRecord("DirectionalLight", 7, light));
    lights.Add(LightRecord("DirectionalSpecularLight", 7, light));
    int taken = 0;
    auto frame = [&] {
        for (const RefPtr<RenderBatch>& batch : batches) {
            batch->instancesToDraw = kInstances;
            renderer->BindShaders(RefPtr<ShaderGenBase>(generator), view, batch, part);
            taken += kInstances - batch->instancesToDraw;
        }
    };
    frame();  // builds and assembles the variant
    taken = 0;
    for (auto _ : state)
        frame();
    state.SetItemsProcessed(state.iterations() * kBinds);
    state.counters["instances_per_bind"] = double(taken) / double(state.iterations() * kBinds);
}
BENCHMARK(LightWeightInstancedBinds)->Unit(benchmark::kMicrosecond);

}  // namespace
