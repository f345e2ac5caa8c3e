// One step of a 3D scene: 2,000 animated nodes of which 500 are meshes (50 of them
// instances of 5 shared meshes), advanced and posed, drawn and submitted through a
// camera into the screen of a recording device that keeps no log.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/render/ArchiveObjects.h"
#include "engine/render/MeshPart.h"
#include "engine/render/RenderBatch.h"
#include "engine/render/RenderView.h"
#include "engine/render/ResourceProxy.h"
#include "engine/render/ShaderGenBase.h"
#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/ClockNode.h"
#include "engine/render/scene/MeshObject.h"
#include "tests/engine/render/scene/SceneDrawFixture.h"

namespace mareldon {
namespace {

constexpr int kGroups = 100;
constexpr int kMeshesPerGroup = 5;
constexpr int kPlainPerGroup = 14;

// The scene on the fixture's recording device, drawn into the device's screen.
struct Scene : SceneDrawFixture {
    ClockNode* sceneRoot = nullptr;
    CameraNode* camera = nullptr;

    Scene() {
        fixture.gpu.SetLogging(false);
        sceneRoot = new ClockNode(&root, 0, kRootNode);
        sceneRoot->clock.end = 1000.0f;
        camera = new CameraNode(sceneRoot, 1.0f, 500.0f, 0.8f, 4.0f / 3.0f, 1.0f);
        camera->SetPosition({0, 0, -100});
        // No clear: the recording device clears in software, which is not the scene's cost.
        ClearRecord clear;
        clear.flags = 0;
        camera->AddView(RefPtr<RenderView>(
            new RenderView(renderer, RefPtr<TextureBase>(new ResourceProxy(dx.ScreenTexture())), clear,
                           RefPtr<ShaderGenBase>(generator), TextureViewport{0, 0, 0, 0, 0.0f, 0.0f})));
        std::vector<RefPtr<MeshData>> shared;
        for (int i = 0; i < 5; ++i)
            shared.push_back(Mesh(true));
        int meshes = 0;
        for (int g = 0; g < kGroups; ++g) {
            auto* group = new Object3D(sceneRoot, 0);
            Animate(*group, g);
            for (int m = 0; m < kMeshesPerGroup; ++m, ++meshes) {
                // Every tenth mesh is an instance of a shared one: 16 sections of 3 vertices.
                RefPtr<MeshData> data = meshes % 10 == 0 ? shared[size_t(meshes / 10 % 5)] : Mesh(false);
                auto* mesh =
                    new MeshObject(group, RefPtr<ModelNodeData>(), DrawSet(data, data->instancing ? 48 : 36));
                Animate(*mesh, m);
            }
            for (int p = 0; p < kPlainPerGroup; ++p)
                Animate(*new Object3D(group, 0), p);
        }
    }

    // Position and yaw keyed over 4 s, cycling.
    static void Animate(Object3D& node, int seed) {
        const float offset = float(seed % 7);
        node.AddPositionKey(0.0f, {offset, 0, 0}, 3);
        node.AddPositionKey(4.0f, {offset, 2, 1}, 3);
        for (int i = 0; i < 3; ++i)
            node.tracks[Object3D::kTrackPosition + i].postMode = 2;
        node.tracks[Object3D::kTrackEuler + 1].SetKey(0.0f, 0.0f, 3);
        node.tracks[Object3D::kTrackEuler + 1].SetKey(4.0f, 6.2831855f, 3);
        node.tracks[Object3D::kTrackEuler + 1].postMode = 2;
    }

    void Step() {
        sceneRoot->StepAnimation();
        sceneRoot->DrawHierarchy();
        camera->Render(sceneRoot);
    }
};

// The whole step: advance and pose, draw pass, submit and draw.
void SceneStep(benchmark::State& state) {
    Scene world;
    for (auto _ : state)
        world.Step();
    state.SetItemsProcessed(state.iterations() * (kGroups * (1 + kMeshesPerGroup + kPlainPerGroup)));
}
BENCHMARK(SceneStep)->Unit(benchmark::kMicrosecond);

void SceneStepAnimation(benchmark::State& state) {
    Scene world;
    for (auto _ : state)
        world.sceneRoot->StepAnimation();
}
BENCHMARK(SceneStepAnimation)->Unit(benchmark::kMicrosecond);

void SceneDrawHierarchy(benchmark::State& state) {
    Scene world;
    for (auto _ : state) {
        // Moved every time, so every world matrix is rebuilt as in a real step.
        world.sceneRoot->StepAnimation();
        world.sceneRoot->DrawHierarchy();
    }
}
BENCHMARK(SceneDrawHierarchy)->Unit(benchmark::kMicrosecond);

void SceneSubmit(benchmark::State& state) {
    Scene world;
    world.Step();
    for (auto _ : state)
        world.camera->Render(world.sceneRoot);
}
BENCHMARK(SceneSubmit)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
