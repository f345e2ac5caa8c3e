// One update step of the stage-3 boss with every pattern of its 31 muzzles firing and
// its nine fighting sections hittable: the body's and sections' timelines, the muzzles'
// fire timers and their bullets' angles, the hit spheres, then the keep-alive sweep.
// Target: under 0.5 ms a step (release).
// There is no ship, so the world refuses every bullet at its first test: the
// bullets' own cost is bench_bullets'.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/game/HeadlessStage.h"
#include "game/bosses/Boss3Body.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "tools/archive/PlaceholderBoss3.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {
namespace {

std::vector<uint8_t> StageArchive() {
    MbdWriter writer;
    StageModelBuilder builder(writer);
    std::vector<MbdWriter::Node> scene = {PlaceholderBoss3Node(builder, 0.0f, 300.0f)};
    writer.AddModel("BENCH", builder.Stage("BENCH", std::move(scene), 300.0f, 25.0f));
    AddPlaceholderBoss3Models(writer);
    return writer.Build();
}

Boss3Body* FindBody(TaskObject& task) {
    if (auto* body = dynamic_cast<Boss3Body*>(&task))
        return body;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss3Body* body = FindBody(*static_cast<TaskObject*>(node)))
            return body;
    }
    return nullptr;
}

// Restarts every pattern that has spent its bursts.
int32_t KeepFiring(Boss3Body& body) {
    int32_t firing = 0;
    for (int32_t slot = 0; slot < kBoss3MuzzleCount; ++slot) {
        Boss3Muzzle* muzzle = body.Muzzle(slot);
        for (int32_t k = 0; muzzle != nullptr && k < muzzle->PatternCount(); ++k) {
            if (muzzle->Pattern(k)->GetBurstsLeft() <= 0)
                muzzle->SwitchPattern(2 * k);
            ++firing;
        }
    }
    return firing;
}

void BM_Boss3Step(benchmark::State& state) {
    HeadlessStage stage(StageArchive(), [](StageNodeRegistry& registry) {
        RegisterStageObjects(registry);
        RegisterBossObjects(registry);
    });
    GameWorldScreen* screen = stage.screen;
    Boss3Body* body = FindBody(*screen->GetWorldRoot());
    if (body == nullptr) {
        state.SkipWithError("no stage-3 boss");
        return;
    }
    for (int32_t slot = 0; slot < kBoss3PartCount; ++slot) {
        if (Boss3Section* part = body->Part(slot); part != nullptr && part->row.fightHittable)
            part->SetHittable(true);
    }
    int64_t shots = 0;
    screen->SetEnemyShotProbe(
        [](void* context, const Vec3&, const Vec3&, int32_t, float) { ++*static_cast<int64_t*>(context); },
        &shots);
    int32_t patterns = 0;
    for (auto _ : state) {
        patterns = KeepFiring(*body);
        stage.Step();
    }
    state.counters["patterns"] = double(patterns);
    state.counters["bullets/step"] = double(shots) / double(state.iterations());
    state.counters["targets"] = double(screen->HitLists().targets.Count());
}
BENCHMARK(BM_Boss3Step)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
