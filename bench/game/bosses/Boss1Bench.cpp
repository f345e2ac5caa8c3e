// One update step of the stage-1 boss in its core-phase cycle with every pattern of
// every weapon firing at once (the two wing roots' seven patterns and twin cannons,
// the wing turrets, the mine cover and the big turret), on the recording device,
// without the event log. Target: under 500 us a step (release).
#include <benchmark/benchmark.h>

#include "game/stage/EnemyBullets.h"
#include "tests/game/bosses/Boss1Fixture.h"

namespace mareldon {
namespace {

// Restarts every pattern of every weapon.
void FireEverything(Boss1Body& body) {
    for (int32_t root : {kBoss1WingRootA, kBoss1WingRootB}) {
        if (Boss1Section* section = body.Section(root)) {
            for (int32_t k = 0; k < 16; k += 2)
                section->SwitchPattern(k);
        }
    }
    if (Boss1Section* core = body.Section(kBoss1Core)) {
        for (int32_t k = 0; k < 12; k += 2)
            core->SwitchPattern(k);
    }
    for (int32_t wing : {kBoss1Layer5, kBoss1Layer6}) {
        if (Boss1Section* section = body.Section(wing)) {
            for (int32_t k = 0; k < 6; k += 2)
                section->SwitchPattern(k);
        }
    }
}

void BM_Boss1CycleBStep(benchmark::State& state) {
    BossStageFixture f;
    if (!f.StartWorld() || f.Body() == nullptr) {
        state.SkipWithError("the boss stage did not start");
        return;
    }
    f.screen->SetTimeLimitEnabled(false);
    f.JumpBefore(8095);
    f.StepToFrame(8102);
    BossStageFixture::Hit(f.Section(kBoss1Cover), 760.0f);
    // Into cycle B.
    f.Steps(320);
    if (!f.Body()->IsCoreOpen()) {
        state.SkipWithError("the core never opened");
        return;
    }
    f.screen->SetEventLog(nullptr);
    FireEverything(*f.Body());
    int32_t step = 0;
    int32_t mostBullets = 0;
    for (auto _ : state) {
        // Bursts end: every pattern starts again each second.
        if (++step % 60 == 0)
            FireEverything(*f.Body());
        f.BossStep();
        const int32_t bullets = f.screen->Bullets().GetEnemyBulletCount();
        mostBullets = bullets > mostBullets ? bullets : mostBullets;
    }
    state.counters["bullets"] = double(mostBullets);
}
BENCHMARK(BM_Boss1CycleBStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
