// One frame's shader binding for 1,000 "Normal" parts under five light records, all
// on cache hits: key building, SetConstants, the constant uploads and the shader
// lookups (on the recording device, so the figure is the generator's and the
// Renderer's own cost).
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
#include "game/render/NormalShaderGen.h"

namespace {

using namespace mareldon;

constexpr int kParts = 1000;

RefPtr<MeshPart> Part(bool skinned) {
    RefPtr<MeshPart> part(new MeshPart());
    part->layout.AddElement(2, "Position");
    part->layout.AddElement(2, "Normal");
    part->layout.AddElement(1, "TextureUV");
    if (skinned)
        part->layout.AddElement(1, "IndexedBoneWeight");
    part->textures.resize(1);
    NamedValue specular;
    specular.name = "Specular";
    specular.track.Reset(new KeyTrack());
    specular.track->defaultValue = 1.0f;
    part->values.push_back(specular);
    return part;
}

void NormalBindOnCacheHits(benchmark::State& state) {
    SetLogLevel(LogLevel::Error);
    RecordingGpu gpu;
    gpu.SetLogging(false);
    RecordingDeviceWindow window;
    auto device = std::make_unique<GraphicsDeviceDX>(&gpu, &window, 1, 8, 480, 640, 3);
    RefPtr<Renderer> renderer(new Renderer(RefPtr<FileSystem>(),
                                           RefPtr<GraphicsDevice>(device.get(), [](GraphicsDevice*) {}),
                                           RefPtr<SoundBox>()));
    RefPtr<NormalShaderGen> generator(new NormalShaderGen(renderer));
    RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()),
                                           RenderView::DefaultClear(), RefPtr<ShaderGenBase>(generator),
                                           TextureViewport{}));
    view->SetCamera({0, 0, -6}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
    const float ambient[4] = {0.15f, 0.15f, 0.2f, 1.0f};
    const float light[7] = {0.3f, -1.0f, 0.2f, 0.8f, 0.8f, 0.7f, 1.0f};
    const float fog[6] = {5.0f, 40.0f, 0.1f, 0.2f, 0.3f, 1.0f};
    std::vector<RefPtr<RenderBatch>> batches;
    std::vector<RefPtr<MeshPart>> parts;
    for (int i = 0; i < kParts; ++i) {
        bool skinned = i % 4 == 0;
        RefPtr<RenderBatch> batch(new RenderBatch(0, skinned ? 2 : 0, 0));
        batch->world[3] = float(i % 10);
        batches.push_back(batch);
        parts.push_back(Part(skinned));
    }
    auto frame = [&] {
        LightList& lights = renderer->Lights();
        lights.Clear();
        lights.Add(LightRecord("AmbientLight", 4, ambient));
        lights.Add(LightRecord("DirectionalLight", 7, light));
        lights.Add(LightRecord("DirectionalLight", 7, light));
        lights.Add(LightRecord("DirectionalSpecularLight", 7, light));
        lights.Add(LightRecord("SimpleFog", 6, fog));
        for (int i = 0; i < kParts; ++i)
            renderer->BindShaders(RefPtr<ShaderGenBase>(generator), view, batches[size_t(i)],
                                  parts[size_t(i)]);
    };
    frame();  // builds and assembles the two variants
    for (auto _ : state)
        frame();
    state.SetItemsProcessed(state.iterations() * kParts);
    int shaders = 0;
    for (const NamedNode* dictionary : {&renderer->VertexShaders(), &renderer->PixelShaders()}) {
        for (const NamedNode* e = dictionary->NextEntry(); e != dictionary; e = e->NextEntry())
            ++shaders;
    }
    state.counters["shaders"] = shaders;
}
BENCHMARK(NormalBindOnCacheHits)->Unit(benchmark::kMicrosecond);

}  // namespace
