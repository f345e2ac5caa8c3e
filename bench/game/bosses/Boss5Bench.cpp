// One update step of the stage-5 ball with all twelve chusin1 patterns firing at once,
// on the recording device, without the event log. Target: under 500 us a step (release).
// The first keeps the bullets, whose own cost (a model each) is the bullets' bench's; the
// second runs with the timer at 0, so the world refuses every bullet at its first test
// and the step is the patterns' own.
#include <benchmark/benchmark.h>

#include "game/stage/EnemyBullets.h"
#include "tests/game/bosses/Boss5Fixture.h"

namespace mareldon {
namespace {

void FireEverything(Boss5Muzzle& chusin) {
    for (int32_t i = 0; i < chusin.PatternCount(); ++i)
        chusin.Restart(i);
}

void RunChusin1(benchmark::State& state, bool bullets) {
    Boss5StageFixture f;
    if (!f.StartFight()) {
        state.SkipWithError("the boss stage did not start");
        return;
    }
    f.screen->SetTimeLimitEnabled(false);
    Boss5Muzzle* chusin = f.Ball()->Muzzle(Boss5Slot::kChusin1);
    if (chusin == nullptr || chusin->PatternCount() != 12) {
        state.SkipWithError("chusin1 is missing or short of patterns");
        return;
    }
    // The schedule stays out of the way: only the restarts below fire.
    f.Ball()->attack->Stop();
    f.screen->SetEventLog(nullptr);
    f.shots.clear();
    f.screen->SetEnemyShotProbe(nullptr, nullptr);
    if (!bullets) {
        // The timer at 0 (stopped) refuses every bullet; the ball's time marks are passed
        // by hand so that it keeps firing.
        f.Ball()->attackTimedOut = 1;
        f.Ball()->timedOut = 1;
        f.screen->SetTimeLeft(0.0f);
    }
    FireEverything(*chusin);
    int32_t step = 0;
    int32_t mostBullets = 0;
    for (auto _ : state) {
        // Bursts end: every pattern starts again each second.
        if (++step % 60 == 0)
            FireEverything(*chusin);
        f.Step5();
        const int32_t bullets = f.screen->Bullets().GetEnemyBulletCount();
        mostBullets = bullets > mostBullets ? bullets : mostBullets;
    }
    state.counters["bullets"] = double(mostBullets);
}
void BM_Boss5Chusin1Step(benchmark::State& state) {
    RunChusin1(state, true);
}
BENCHMARK(BM_Boss5Chusin1Step)->Unit(benchmark::kMicrosecond);

void BM_Boss5Chusin1Patterns(benchmark::State& state) {
    RunChusin1(state, false);
}
BENCHMARK(BM_Boss5Chusin1Patterns)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
