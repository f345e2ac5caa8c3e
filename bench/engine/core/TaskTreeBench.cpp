// Cost of the per-step passes over a task tree the size of a busy stage, and of the
// handle copies every task makes.
#include <benchmark/benchmark.h>

#include "engine/core/RefPtr.h"
#include "engine/core/TaskObject.h"

namespace mareldon {
namespace {

constexpr int kTasks = 10000;

class BenchTask : public TaskObject {
  public:
    using TaskObject::TaskObject;
    void OnUpdatePre() override { ++work; }
    void OnDrawPre() override { ++work; }
    int work = 0;
};

// 100 groups of 99 leaves under the root, like scenes holding bullets and effects.
struct Tree {
    Tree() : root(nullptr, 0) {
        for (int group = 0; group < 100; ++group) {
            BenchTask* parent = new BenchTask(&root, group % 7);
            for (int leaf = 0; leaf < 99; ++leaf)
                new BenchTask(parent, leaf % 5);
        }
    }
    TaskObject root;
};

// Seconds per task of one pass, shown in ns.
void PerTask(benchmark::State& state) {
    state.counters["per_task"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTasks,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void UpdateAndSweep(TaskObject& root) {
    root.Update();
    root.CollectDead();
}
void UpdateOnly(TaskObject& root) {
    root.Update();
}
void DrawOnly(TaskObject& root) {
    root.Draw();
}

void Pass(benchmark::State& state, void (*pass)(TaskObject&)) {
    Tree tree;
    for (auto _ : state)
        pass(tree.root);
    PerTask(state);
}
BENCHMARK_CAPTURE(Pass, update_and_sweep, &UpdateAndSweep);
BENCHMARK_CAPTURE(Pass, update, &UpdateOnly);
BENCHMARK_CAPTURE(Pass, draw, &DrawOnly);

struct Service {
    virtual ~Service() = default;
};

void RefPtrCopyRelease(benchmark::State& state) {
    RefPtr<Service> source(new Service);
    int freeTop = theCounterCellPool.FreeTop();
    for (auto _ : state) {
        RefPtr<Service> copy(source);
        benchmark::DoNotOptimize(copy.Get());
    }
    if (theCounterCellPool.FreeTop() != freeTop)
        state.SkipWithError("a copy took a cell");
}
BENCHMARK(RefPtrCopyRelease);

void RefPtrAssign(benchmark::State& state) {
    RefPtr<Service> a(new Service);
    RefPtr<Service> b(new Service);
    RefPtr<Service> holder;
    for (auto _ : state) {
        holder = a;
        holder = b;
        benchmark::DoNotOptimize(holder.Get());
    }
}
BENCHMARK(RefPtrAssign);

}  // namespace
}  // namespace mareldon
