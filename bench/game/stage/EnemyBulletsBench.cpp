// One update step of a busy stage's bullets: 2,000 live enemy bullets moved, culled
// and registered, two ship death checks and a reflect-field sweep that turns back the
// bullets inside it. Target: under 0.5 ms a step.
#include <benchmark/benchmark.h>

#include <cmath>

#include "game/stage/EnemyBullets.h"
#include "game/stage/ScreenMapping.h"
#include "game/stage/WorldHitLists.h"

namespace mareldon {
namespace {

class BenchWorld : public BulletWorld {
  public:
    float GetTimeLeft() override { return 90.0f; }
    bool IsCleared() override { return false; }
    bool IsBombActive() override { return false; }
    bool HasAnyShip() override { return true; }
    Vec3 GetCameraEye() override { return {0.0f, 25.0f, 0.0f}; }
    const Matrix4& GetSceneRootWorldMatrix() override { return identity; }
    const Matrix4& GetSceneRootInverseWorldMatrix() override { return identity; }
    const Matrix4& GetItemParentInverseWorldMatrix() override { return identity; }
    void SpawnEffect(const char*, const Vec3&) override {}
    void SpawnItem(const Vec3&, const Vec3&, const char*) override {}
    void SpawnSpark(const Vec3&, const Vec3&, float) override {}
    void PlaySe(int32_t) override {}
    void AddScore(uint32_t, int64_t) override {}
    Random& GetRandom() override { return random; }
    WorldEventLog* GetEventLog() override { return nullptr; }

    Matrix4 identity = Matrix4Identity();
    Random random;
};

void BM_EnemyBulletStep(benchmark::State& state) {
    constexpr int kBullets = 2000;
    BenchWorld world;
    ScreenMapping mapping;
    Matrix4 view = MatrixLookAt({0.0f, 25.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    mapping.SetupCamera(view, MatrixPerspectiveFov(1.0f, 380.0f, 0.5235988f, 1.0f, 0.75f), 480.0f, 640.0f);
    WorldHitLists hitLists(mapping);
    EnemyBullets bullets(world, mapping, hitLists);
    Random random(1234);
    auto refill = [&] {
        while (bullets.GetEnemyBulletCount() < kBullets) {
            Vec3 p{random.Range(-6.0f, 6.0f), 0.0f, random.Range(-8.0f, 8.0f)};
            float angle = random.Range(0.0f, 6.2831855f);
            bullets.FireEnemyBullet(p, {0.02f * std::cos(angle), 0.0f, 0.02f * std::sin(angle)}, 3, 1.0f);
        }
    };
    refill();
    const Vec3 ship1{-2.0f, 0.0f, -5.0f};
    const Vec3 ship2{2.0f, 0.0f, -5.0f};
    int64_t reflected = 0;
    for (auto _ : state) {
        hitLists.ClearHitLists();
        bullets.UpdateEnemyBullets();
        benchmark::DoNotOptimize(hitLists.FindEnemyBulletHit(ship1, 0.08f));
        benchmark::DoNotOptimize(hitLists.FindEnemyBulletHit(ship2, 0.08f));
        while (EnemyBulletRecord* hit = hitLists.FindEnemyBulletHit(ship1, 1.5f)) {
            Vec3 v = hit->velocity;
            hit->velocity = {0.0f, 0.0f, 0.0f};
            bullets.FireReflectedBullet(hit->GetWorldPosition(), {-v.x, 0.0f, -v.z}, 1);
            ++reflected;
        }
        bullets.UpdateReflectedBullets();
        state.PauseTiming();
        refill();
        state.ResumeTiming();
    }
    state.counters["reflected_per_step"] = double(reflected) / double(state.iterations());
}
BENCHMARK(BM_EnemyBulletStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
