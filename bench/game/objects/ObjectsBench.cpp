// One update step of a busy stage's enemies: 1,000 active layer enemies, each
// registering a hit sphere (one projection) into the world's target list, with the
// frame nodes named in kChildNodes under each (guns, once registered, run with them),
// then the keep-alive sweep. Target: under 250 us a step (release).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/render/draw/Renderer.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {
namespace {

constexpr int kEnemies = 1000;
// The frame nodes under every enemy.
const std::vector<const char*> kChildNodes = {};

Object3D* BuildEnemy(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1000.0f, 0.5f, String("BONUS_S"));
}

std::vector<uint8_t> StageArchive() {
    MbdWriter writer;
    StageModelBuilder builder(writer);
    std::vector<MbdWriter::Node> enemies;
    for (int i = 0; i < kEnemies; ++i) {
        std::vector<MbdWriter::Node> children;
        for (const char* name : kChildNodes)
            children.push_back(StageModelBuilder::Frame(name));
        MbdWriter::Node enemy = builder.Box("e" + std::to_string(i) + ":Layer0", 0.2f, 0xE05030, children);
        // A grid over the view.
        builder.At(enemy, float(i % 40) * 0.3f - 6.0f, 0.0f, float(i / 40) * 0.3f - 4.0f);
        enemies.push_back(std::move(enemy));
    }
    writer.AddModel("BENCH", builder.Stage("BENCH", std::move(enemies), 300.0f, 25.0f));
    return writer.Build();
}

void BM_EnemyStep(benchmark::State& state) {
    TaskObject root(nullptr, 0);
    root.frameRate = 60.0f;
    root.framePeriod = 1.0f / 60.0f;
    auto* files = new MemoryFileSystem();
    files->files["BENCH.mbd"] = StageArchive();
    root.fileSystem = RefPtr<FileSystem>(files);
    root.renderer =
        RefPtr<Renderer>(new Renderer(root.fileSystem, RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
    root.renderer->LoadArchive("BENCH.mbd");

    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    registry.defaultLayer = BuildEnemy;
    ScopedStageNodeRegistry scope(registry);
    // A screen without a game system: given the root's services, it loads again and,
    // without a stage table, binds the archive's one model.
    auto* screen = new GameWorldScreen(nullptr, String(), String(), 3, 0, 0, 0, 1);
    screen->InheritServices(root);
    screen->GetWorldRoot()->InheritServices(root);
    screen->LoadStage();
    screen->SetupCamera();
    StageScene& scene = *screen->GetStageScene();
    // The first sweep wakes them.
    scene.CollectDead();
    for (auto _ : state) {
        screen->ClearHitLists();
        screen->GetWorldRoot()->StepAnimation();
        scene.Update();
        scene.CollectDead();
    }
    state.counters["targets"] = double(screen->HitLists().targets.Count());
    delete screen;
}
BENCHMARK(BM_EnemyStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
