// One update step of a busy stage's enemies: 1,000 active layer enemies, each
// registering a hit sphere (one projection) into the world's target list, with the
// two guns named in kChildNodes under each running their volley machines, then the
// keep-alive sweep. Target: under 250 us a step (release).
// There is no ship, so the world refuses every bullet at its first test: the
// bullets' own cost is bench_bullets'. BM_StageHiStep: the placeholder stage as played.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/render/draw/Renderer.h"
#include "game/objects/GunPart.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/PlaceholderEffects.h"
#include "tools/archive/PlaceholderGunships.h"
#include "tools/archive/PlaceholderItems.h"
#include "tools/archive/PlaceholderStages.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {
namespace {

constexpr int kEnemies = 1000;
// The guns under every enemy: a forward turret, asking both suppression tests at
// each volley, and a gun that aims every step.
const std::vector<const char*> kChildNodes = {"BS_YOKONAGA", "BS_TUTU_R"};

// Guns whose volley machine has stepped (it reads its volley count on its first step).
int CountRunningGuns(TaskObject& task) {
    int count = 0;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        auto* child = static_cast<TaskObject*>(node);
        if (auto* gun = dynamic_cast<GunPart*>(child); gun != nullptr && gun->volleysLeft != -2)
            ++count;
        count += CountRunningGuns(*child);
    }
    return count;
}

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
    state.counters["guns"] = double(CountRunningGuns(*screen->GetWorldRoot()));
    delete screen;
}
BENCHMARK(BM_EnemyStep)->Unit(benchmark::kMicrosecond);

// "STAGE_HI" of the placeholder data first, so the screen binds it, with the effect,
// item and wreck models its kills ask for.
std::vector<uint8_t> StageHiArchive() {
    MbdWriter writer;
    MbdWriter::Node hi = PlaceholderStageModel(writer, "STAGE_HI");
    AddPlaceholderEnemies(writer, hi);
    writer.AddModel("STAGE_HI", hi);
    AddPlaceholderEffectData(writer);
    AddPlaceholderItemModels(writer);
    AddPlaceholderGunshipModels(writer);
    return writer.Build();
}

// One update step of the placeholder "STAGE_HI" with every stage object class it
// holds, headless: its first two minutes, step by step, once.
// Target: at least 100 times real time, 167 us a step (release).
void BM_StageHiStep(benchmark::State& state) {
    TaskObject root(nullptr, 0);
    root.frameRate = 60.0f;
    root.framePeriod = 1.0f / 60.0f;
    auto* files = new MemoryFileSystem();
    files->files["STAGEHI.mbd"] = StageHiArchive();
    root.fileSystem = RefPtr<FileSystem>(files);
    root.renderer =
        RefPtr<Renderer>(new Renderer(root.fileSystem, RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
    root.renderer->LoadArchive("STAGEHI.mbd");

    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    ScopedStageNodeRegistry scope(registry);
    auto* screen = new GameWorldScreen(nullptr, String(), String(), 3, 0, 0, 0, 1);
    screen->InheritServices(root);
    screen->GetWorldRoot()->InheritServices(root);
    screen->LoadStage();
    screen->SetupCamera();
    StageScene& scene = *screen->GetStageScene();
    scene.CollectDead();
    for (auto _ : state) {
        screen->ClearHitLists();
        screen->GetWorldRoot()->StepAnimation();
        scene.Update();
        scene.CollectDead();
    }
    state.counters["stage_time"] = double(scene.GetMotionTime());
    state.counters["targets"] = double(screen->HitLists().targets.Count());
    delete screen;
}
BENCHMARK(BM_StageHiStep)->Unit(benchmark::kMicrosecond)->Iterations(7200);

}  // namespace
}  // namespace mareldon
