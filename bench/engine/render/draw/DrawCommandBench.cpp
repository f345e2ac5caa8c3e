// One frame of 2D drawing: 5,000 triangles and lines under a few descriptors with
// scattered keys, then the run building (on a device that makes no buffers, so the
// figure is the list's own cost).
#include <benchmark/benchmark.h>

#include "engine/render/draw/DrawCommandList.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {
namespace {

class SpriteDescriptor : public DrawDescriptor {
  public:
    SpriteDescriptor() {
        layout.AddElement(2, "TPosition");
        layout.AddElement(3, "Diffuse");
        layout.AddElement(1, "TextureUV");
        layerName = "shadingname";
    }
};

// Submission and sorting alone; the run building is left out of the timing.
void DrawCommandSubmitAndSort(benchmark::State& state) {
    const int commands = static_cast<int>(state.range(0));
    auto* spy = new SpyGraphicsDevice();
    RefPtr<GraphicsDevice> device(spy);
    DrawCommandList list(MakeTestRenderer(device));
    SpriteDescriptor descriptors[4];
    float vertex[9] = {};
    uint32_t seed = 12345;
    for (auto _ : state) {
        for (int i = 0; i < commands; ++i) {
            seed = seed * 1103515245u + 12345u;
            list.AddTriangle(static_cast<float>((seed >> 16) % 64), &descriptors[i & 3], vertex, vertex,
                             vertex);
        }
        benchmark::DoNotOptimize(&list.CommandAt(0));
        state.PauseTiming();
        list.Process();
        spy->vertexBuffers.clear();
        spy->geometries.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * commands);
}
BENCHMARK(DrawCommandSubmitAndSort)->Arg(5000)->Unit(benchmark::kMicrosecond);

void DrawCommandFrame(benchmark::State& state) {
    const int commands = static_cast<int>(state.range(0));
    auto* spy = new SpyGraphicsDevice();
    RefPtr<GraphicsDevice> device(spy);
    RefPtr<Renderer> renderer = MakeTestRenderer(device);
    DrawCommandList list(renderer);
    SpriteDescriptor descriptors[4];
    float vertex[9] = {};
    std::vector<float> keys(static_cast<size_t>(commands));
    uint32_t seed = 12345;
    for (float& key : keys) {
        seed = seed * 1103515245u + 12345u;
        key = static_cast<float>((seed >> 16) % 64);  // many equal keys, as layered sprites have
    }
    for (auto _ : state) {
        for (int i = 0; i < commands; ++i) {
            const DrawDescriptor* d = &descriptors[i & 3];
            if (i % 8 == 7)
                list.AddLine(keys[size_t(i)], d, vertex, vertex);
            else
                list.AddTriangle(keys[size_t(i)], d, vertex, vertex, vertex);
        }
        list.Process();
        benchmark::ClobberMemory();
        state.PauseTiming();
        spy->vertexBuffers.clear();
        spy->geometries.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * commands);
}
BENCHMARK(DrawCommandFrame)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
