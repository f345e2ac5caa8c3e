#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "tests/game/bosses/FirePatternBench.h"

namespace mareldon {
namespace {

float Bearing(const BossShot& s) {
    float b = std::atan2(s.velocity.x, s.velocity.z) * 57.29578f;
    return b < 0.0f ? b + 360.0f : b;
}

struct PatternCase {
    const char* name;
    std::function<BossPattern*(Object3D*, GameWorldScreen*)> make;
    int32_t shots;    // shot steps of one firing
    int32_t bullets;  // bullets of the whole firing
    std::set<int32_t> sprites;
    std::set<float> sizes;
    float minSpeed, maxSpeed;
};

TEST(Boss1Patterns, EachPatternFiresItsTable) {
    const std::vector<PatternCase> cases = {
        {"wing 0",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1WingSpray(m, s, Boss1Wing::kA, "t"); },
         13,
         39,
         {12},
         {1.0f},
         0.025f,
         0.085f},
        {"wing 1",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1WingLine(m, s, Boss1Wing::kB, "t"); },
         4,
         48,
         {32},
         {1.0f},
         0.13f,
         0.163f},
        {"wing 2",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1WingFan(m, s, Boss1Wing::kA, "t"); },
         18,
         4 * 9 + 5 * 9,
         {2},
         {1.5f},
         0.2f,
         0.2f},
        {"wing 4",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1Ring(m, s, 30, 3, "t"); },
         3,
         96,
         {12},
         {1.0f, 1.5f},
         0.035f,
         0.055f},
        {"wing 5",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1Ring(m, s, 20, 2, "t"); },
         2,
         64,
         {12},
         {1.0f, 1.5f},
         0.035f,
         0.055f},
        {"wing 6",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1WingVolley(m, s, Boss1Wing::kB, "t"); },
         9,
         36,
         {12},
         {1.0f, 1.3f},
         0.08f,
         0.16f},
        {"kirai 0",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1KiraiSpin(m, s, false, "t"); },
         61,
         183,
         {12},
         {1.0f},
         0.045f,
         0.045f},
        {"houdai_B 2",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiBPattern(m, s, 2, "t"); },
         24,
         144,
         {8},
         {1.0f},
         0.05f,
         0.05f},
        {"houdai_B 3",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiBPattern(m, s, 3, "t"); },
         24,
         216,
         {8},
         {1.0f},
         0.14f,
         0.16f},
        {"houdai_B 4",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiBPattern(m, s, 4, "t"); },
         121,
         9 * 61,
         {52, 54},
         {0.6f, 0.8f},
         0.05f,
         0.11f},
        {"houdai_S 0",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiSPattern(m, s, 0, false, "t"); },
         9,
         2 * (5 * 2 + 4 * 12),
         {0},
         {1.0f},
         0.1f,
         0.3f},
        {"houdai_S 1",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiSPattern(m, s, 1, false, "t"); },
         21,
         63,
         {0},
         {1.0f},
         0.23f,
         0.31f},
        {"houdai_S2 1",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiSPattern(m, s, 1, true, "t"); },
         7,
         21,
         {0},
         {1.0f},
         0.23f,
         0.25f},
        {"houdai_S 2",
         [](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiSPattern(m, s, 2, false, "t"); },
         121,
         6 * 61,
         {10, 11},
         {1.0f},
         0.06f,
         0.076f},
    };
    for (const PatternCase& c : cases) {
        FirePatternBench bench;
        BossPattern* pattern = c.make(bench.mount, bench.f.screen);
        const std::vector<int32_t> perShot = bench.Run(pattern);
        EXPECT_EQ(int32_t(perShot.size()), c.shots) << c.name;
        EXPECT_EQ(int32_t(bench.f.shots.size()), c.bullets) << c.name;
        std::set<int32_t> sprites;
        std::set<float> sizes;
        for (const BossShot& s : bench.f.shots) {
            sprites.insert(s.sprite);
            sizes.insert(s.size);
            EXPECT_GE(ShotSpeed(s), c.minSpeed - 1e-4f) << c.name;
            EXPECT_LE(ShotSpeed(s), c.maxSpeed + 1e-4f) << c.name;
        }
        EXPECT_EQ(sprites, c.sprites) << c.name;
        EXPECT_EQ(sizes, c.sizes) << c.name;
    }
}

TEST(Boss1Patterns, WingSprayBearingsStayInTheirWingsArc) {
    for (Boss1Wing wing : {Boss1Wing::kA, Boss1Wing::kB}) {
        FirePatternBench bench;
        bench.Run(new Boss1WingSpray(bench.mount, bench.f.screen, wing, "t"));
        for (const BossShot& s : bench.f.shots) {
            const float b = Bearing(s);
            if (wing == Boss1Wing::kA) {
                EXPECT_GE(b, 60.0f - 1e-3f);
                EXPECT_LT(b, 200.0f + 1e-3f);
            } else {
                EXPECT_GT(b, 160.0f - 1e-3f);
                EXPECT_LE(b, 300.0f + 1e-3f);
            }
        }
    }
}

TEST(Boss1Patterns, TwinCannonVolleysHeadWithin265To275) {
    FirePatternBench bench;
    auto* cannon = new Boss1TwinCannon(bench.mount, bench.f.screen, Boss1Wing::kA);
    BossPattern* pattern = cannon->Pattern(0);
    const std::vector<int32_t> perShot = bench.Run(pattern);
    EXPECT_EQ(perShot, std::vector<int32_t>(17, 10));
    for (const BossShot& s : bench.f.shots) {
        EXPECT_EQ(s.sprite, 52);
        EXPECT_GE(Bearing(s), 264.0f - 1e-3f);
        EXPECT_LE(Bearing(s), 275.0f + 1e-3f);
    }

    // Case 1 while a firing runs changes nothing; while idle it starts one.
    cannon->SwitchPattern(0);
    bench.f.Steps(30);
    const int32_t left = pattern->GetShotsLeft();
    cannon->SwitchPattern(1);
    EXPECT_EQ(pattern->GetShotsLeft(), left);
    EXPECT_EQ(pattern->GetBurstsLeft(), 1);
    bench.f.Steps(200);
    ASSERT_EQ(pattern->GetBurstsLeft(), 0);
    cannon->SwitchPattern(1);
    EXPECT_EQ(pattern->GetBurstsLeft(), 1);
}

TEST(Boss1Patterns, SpiralIsSilentOnMultiplesOfItsRedrawnDivisor) {
    // The divisor's draws from the patterns' seed.
    Random random(ShotPatternBase::kSeed);
    auto unit = [&] { return float(random.Next()) * 2.3283064e-10f; };
    int32_t k = 5 + int32_t(6.0f * unit());
    int32_t silent = 0;
    for (int32_t left = 50; left >= 0; --left) {
        if (left % k == 0) {
            ++silent;
            k = 5 + int32_t(4.0f * unit());
        }
    }
    ASSERT_GT(silent, 0);
    FirePatternBench bench;
    const std::vector<int32_t> perShot =
        bench.Run(new Boss1WingSpiral(bench.mount, bench.f.screen, Boss1Wing::kA, "t"));
    int32_t zero = 0;
    for (int32_t n : perShot) {
        EXPECT_TRUE(n == 0 || n == 9);
        zero += n == 0 ? 1 : 0;
    }
    EXPECT_EQ(zero, silent);
    EXPECT_EQ(int32_t(bench.f.shots.size()), (51 - silent) * 9);
}

TEST(Boss1Patterns, EndlessTurretPatternsFireUntilSwitchedOff) {
    for (int32_t i : {0, 1}) {
        FirePatternBench bench;
        auto* turret = new Boss1HoudaiB(bench.mount, bench.f.screen);
        turret->SwitchPattern(2 * i);
        bench.f.Steps(1500);
        const size_t fired = bench.f.shots.size();
        bench.f.Steps(200);
        EXPECT_GT(bench.f.shots.size(), fired) << i;
        EXPECT_TRUE(turret->Pattern(i)->IsFiring());
        turret->SwitchPattern(2 * i + 1);
        const size_t stopped = bench.f.shots.size();
        bench.f.Steps(200);
        EXPECT_EQ(bench.f.shots.size(), stopped) << i;
    }
}

TEST(Boss1Patterns, KiraiCoverSlidesOpenToMinusThree) {
    FirePatternBench bench;
    auto* cover = new Boss1KiraiCover(bench.mount, bench.f.screen);
    bench.f.BossStep();
    EXPECT_EQ(cover->GetOffsetZ(), -2.0f);
    cover->Open();
    float previous = cover->GetOffsetZ();
    int32_t steps = 0;
    while (cover->IsOpening() && steps < 200) {
        bench.f.BossStep();
        const float step = previous - cover->GetOffsetZ();
        // Only the arriving step may be shorter: it never passes the target.
        if (cover->IsOpening()) {
            EXPECT_GE(step, 0.01f - 1e-6f);
        }
        EXPECT_LE(step, 0.1f + 1e-6f);
        previous = cover->GetOffsetZ();
        ++steps;
    }
    EXPECT_FALSE(cover->IsOpening());
    EXPECT_EQ(cover->GetOffsetZ(), -3.0f);
    EXPECT_EQ(cover->GetPosition().z, -3.0f);
}

TEST(Boss1Patterns, SwitchRestartsStopsAndIgnoresUnknownCases) {
    FirePatternBench bench;
    auto* cover = new Boss1KiraiCover(bench.mount, bench.f.screen);
    cover->SwitchPattern(2);
    bench.f.Steps(20);
    BossPattern* second = cover->Pattern(1);
    const int32_t left = second->GetShotsLeft();
    ASSERT_LT(left, 60);
    cover->SwitchPattern(2);
    EXPECT_EQ(second->GetShotsLeft(), 0);
    bench.f.BossStep();
    EXPECT_EQ(second->GetShotsLeft(), 60);
    cover->SwitchPattern(99);
    cover->SwitchPattern(-1);
    EXPECT_TRUE(second->IsFiring());
    cover->SwitchPattern(3);
    EXPECT_FALSE(second->IsFiring());
}

}  // namespace
}  // namespace mareldon
