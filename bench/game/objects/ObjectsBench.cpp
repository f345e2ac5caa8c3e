// One update step of a busy stage's enemies: 1,000 active layer enemies, each
// registering a hit sphere (one projection) into the world's target list, with the
// two guns named in kChildNodes under each running their volley machines, then the
// keep-alive sweep. Target: under 250 us a step (release).
// There is no ship, so the world refuses every bullet at its first test: the
// bullets' own cost is bench_bullets'. BM_StageHiStep: the placeholder stage as played.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/game/HeadlessStage.h"
#include "game/objects/GunPart.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
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
    HeadlessStage stage(StageArchive(), [](StageNodeRegistry& registry) {
        RegisterStageObjects(registry);
        registry.defaultLayer = BuildEnemy;
    });
    for (auto _ : state)
        stage.Step();
    state.counters["targets"] = double(stage.screen->HitLists().targets.Count());
    state.counters["guns"] = double(CountRunningGuns(*stage.screen->GetWorldRoot()));
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
    HeadlessStage stage(StageHiArchive(), RegisterStageObjects);
    for (auto _ : state)
        stage.Step();
    state.counters["stage_time"] = double(stage.Scene().GetMotionTime());
    state.counters["targets"] = double(stage.screen->HitLists().targets.Count());
}
BENCHMARK(BM_StageHiStep)->Unit(benchmark::kMicrosecond)->Iterations(7200);

}  // namespace
}  // namespace mareldon
