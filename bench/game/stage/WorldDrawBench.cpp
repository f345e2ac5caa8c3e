// The play screen on the placeholder stage (its scenery, lights and shadow map) on the
// recording device, logging off, with 2,000 enemy bullets on the field:
//  - WorldFrame: one whole drawing pass of the screen (shadow, scene, bullets, the
//    head-up display). Target: under 2 ms a frame.
//  - BulletsToChips: the bomb's cancel of 2,000 bullets into score chips, then one
//    update and one draw of the chips with the 2D set submitted. Target: under 1 ms.
//    ("cancel_allocs": allocations of the cancel itself.)
//  - ChipStep: the update and draw of 2,000 live chips, the step a cancel is followed
//    by, the chips kept clear of the ship. Target: under 1 ms, and no allocation once
//    the pools have grown
//    ("allocs_per_step" must read 0; "submit_allocs" counts the buffers the 2D set's
//    submission makes per run of commands, whatever the number of chips).
#include <atomic>
#include <cstdlib>
#include <new>

#include <benchmark/benchmark.h>

#include "engine/render/draw/SceneDrawSet.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace {
std::atomic<int64_t> g_allocations{0};
}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace mareldon {
namespace {

constexpr int kBullets = 2000;

// The screen's spawn parent of effects.
struct EffectsOf : GameWorldScreen {
    static TaskObject& Get(GameWorldScreen& screen) { return *(screen.*(&EffectsOf::effectParent)); }
};

// The real play screen on stage entry 1 with player 1's ship.
class BenchWorld : public WorldScreenFixture {
  public:
    BenchWorld() : WorldScreenFixture(MakeGameArchive()) {
        devices.gpu.SetLogging(false);
        AddScreen();
        entry = 1;
        Enter(1);
        ok = StartWorld();
        if (ok) {
            // The log would grow without end.
            screen->SetEventLog(nullptr);
            for (int i = 0; i < 30; ++i)
                Step();
        }
    }
    // Bullets spread over the field, drifting slowly so none leaves during a run;
    // `besideShip` keeps them out of the ship's column, so no chip they become is
    // picked up (a pick-up makes its number pop-up, a task of its own).
    void Fill(bool besideShip = false) {
        Random random(1234);
        for (int i = 0; i < kBullets; ++i) {
            float x = random.Range(-4.5f, 4.5f);
            if (besideShip)
                x = x < 0.0f ? x * 0.4f - 2.6f : x * 0.4f + 2.6f;
            const Vec3 p{x, 0.0f, random.Range(-2.0f, 6.0f)};
            screen->FireEnemyBullet(p, {0.0f, 0.0f, -0.0001f}, i % 64, 1.0f);
        }
        // Each shot's muzzle flash lives a quarter of a second; a whole field's worth
        // at once would be drawn and kept for ever, as the world is never stepped here.
        EffectsOf::Get(*screen).DeleteChildren();
    }
    bool ok = false;
};

void WorldFrame(benchmark::State& state) {
    BenchWorld world;
    if (!world.ok) {
        state.SkipWithError("the play screen did not start");
        return;
    }
    world.Fill();
    for (auto _ : state)
        world.root.Draw();
    state.SetItemsProcessed(state.iterations() * kBullets);
}
BENCHMARK(WorldFrame)->Unit(benchmark::kMicrosecond);

// The screen's 2D set, which the head-up display submits in a frame.
struct DrawSetOf : GameWorldScreen {
    static SceneDrawSet& Get(GameWorldScreen& screen) { return *(screen.*(&DrawSetOf::drawSet)); }
};

// Allocations while the chips move and are queued, and while the 2D set is submitted.
struct Allocations {
    int64_t chips = 0;
    int64_t submit = 0;
};

void ChipsStep(GameWorldScreen& screen, Allocations& allocations) {
    const int64_t start = g_allocations.load(std::memory_order_relaxed);
    screen.UpdateScoreChips();
    screen.DrawScoreChips();
    const int64_t queued = g_allocations.load(std::memory_order_relaxed);
    DrawSetOf::Get(screen).Draw();
    allocations.chips += queued - start;
    allocations.submit += g_allocations.load(std::memory_order_relaxed) - queued;
}

void BulletsToChips(benchmark::State& state) {
    BenchWorld world;
    if (!world.ok) {
        state.SkipWithError("the play screen did not start");
        return;
    }
    GameWorldScreen& screen = *world.screen;
    int64_t chips = 0;
    int64_t cancelAllocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        world.Fill(true);
        state.ResumeTiming();
        const int64_t before = g_allocations.load(std::memory_order_relaxed);
        screen.CancelAllEnemyBullets();
        cancelAllocations += g_allocations.load(std::memory_order_relaxed) - before;
        chips += screen.GetScoreChipCount();
        Allocations allocations;
        ChipsStep(screen, allocations);
        state.PauseTiming();
        // Chips left from this round would pile up over the next.
        while (screen.GetScoreChipCount() > 0)
            screen.UpdateScoreChips();
        state.ResumeTiming();
    }
    state.counters["chips_per_cancel"] = double(chips) / double(state.iterations());
    state.counters["cancel_allocs"] = double(cancelAllocations) / double(state.iterations());
}
BENCHMARK(BulletsToChips)->Unit(benchmark::kMicrosecond);

void ChipStep(benchmark::State& state) {
    BenchWorld world;
    if (!world.ok) {
        state.SkipWithError("the play screen did not start");
        return;
    }
    GameWorldScreen& screen = *world.screen;
    // Two rounds at once first, so the pools and the command list have grown past the
    // most the run holds (a refill comes when half the chips are left).
    Allocations warmUp;
    world.Fill(true);
    world.Fill(true);
    screen.CancelAllEnemyBullets();
    ChipsStep(screen, warmUp);
    Allocations allocations;
    int64_t chips = 0;
    for (auto _ : state) {
        if (screen.GetScoreChipCount() < kBullets / 2) {
            state.PauseTiming();
            world.Fill(true);
            screen.CancelAllEnemyBullets();
            state.ResumeTiming();
        }
        chips += screen.GetScoreChipCount();
        ChipsStep(screen, allocations);
    }
    state.counters["chips_per_step"] = double(chips) / double(state.iterations());
    state.counters["allocs_per_step"] = double(allocations.chips) / double(state.iterations());
    state.counters["submit_allocs"] = double(allocations.submit) / double(state.iterations());
}
BENCHMARK(ChipStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
