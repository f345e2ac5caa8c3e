// The record/replay harness's dense case headless: two ships against a stream of
// slow aimed fans, some hundreds of enemy bullets on screen, update and draw pass on
// the recording device. Target: 1,200 steps a second or more (20 times real time).
#include <benchmark/benchmark.h>

#include "tools/stagesim/StageSim.h"

namespace mareldon {
namespace {

void BM_StageSimStorm(benchmark::State& state) {
    StageSimCase storm = *FindStageSimCase("storm");
    int64_t steps = 0;
    int32_t most = 0;
    for (auto _ : state) {
        StageSim sim(storm);
        const StageSimRun run = sim.Record(state.range(0) != 0);
        steps += int64_t(run.hashes.size());
        most = run.mostEnemyBullets;
    }
    state.counters["steps_per_second"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
    state.counters["most_enemy_bullets"] = double(most);
}
BENCHMARK(BM_StageSimStorm)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"drawing"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace mareldon
