// One update step of the ship select in its ship phase, whose two ship rebinds a step
// are its extra cost, against a plain world step of the same stage on the recording
// device. Target: under 1.5 times the plain step. The frames (update and drawing,
// the hangar's views and shadow map included) are measured alongside.
#include <benchmark/benchmark.h>

#include "engine/core/Log.h"
#include "game/stage/PlayerShip.h"
#include "tests/game/screens/StageSelectTestFixture.h"

namespace mareldon {
namespace {

// The ship select, or with `plain` a world screen of the same stage and flags.
class BenchScenes : public WorldScenesFixture {
  public:
    explicit BenchScenes(bool plain) : WorldScenesFixture(plain ? "actualgame" : "shipselect") {
        flow.Add("actualgame", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            auto* world =
                new GameWorldScreen(&s, at.breakIn, at.successor, 3, GameWorldScreen::kPlayLive, 0, 1, 0);
            // The ship select's ship, flying and firing.
            world->SpawnPlayersAtStart(1);
            if (world->ships[0] != nullptr)
                world->ships[0]->SetAutoFire(1);
            current->screen = world;
            return world;
        });
        AddScreen();
    }
};

void Run(benchmark::State& state, bool plain, bool draw) {
    SetLogLevel(LogLevel::Error);
    BenchScenes scenes(plain);
    if (!scenes.RunWith(1)) {
        state.SkipWithError("the scene did not start");
        return;
    }
    // Past the slide-in.
    scenes.Steps(30);
    for (auto _ : state) {
        if (draw) {
            scenes.Step();
        } else {
            scenes.root.Update();
            scenes.root.CollectDead();
        }
    }
}

void BM_ShipSelectStep(benchmark::State& state) {
    Run(state, false, false);
}
void BM_PlainWorldStep(benchmark::State& state) {
    Run(state, true, false);
}
void BM_ShipSelectFrame(benchmark::State& state) {
    Run(state, false, true);
}
void BM_PlainWorldFrame(benchmark::State& state) {
    Run(state, true, true);
}
// The ship phase lasts 1008 steps.
BENCHMARK(BM_ShipSelectStep)->Unit(benchmark::kMicrosecond)->Iterations(900);
BENCHMARK(BM_PlainWorldStep)->Unit(benchmark::kMicrosecond)->Iterations(900);
BENCHMARK(BM_ShipSelectFrame)->Unit(benchmark::kMicrosecond)->Iterations(900);
BENCHMARK(BM_PlainWorldFrame)->Unit(benchmark::kMicrosecond)->Iterations(900);

}  // namespace
}  // namespace mareldon
