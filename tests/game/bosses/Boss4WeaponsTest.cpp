#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "game/bosses/Boss4Weapons.h"
#include "tests/game/bosses/FirePatternBench.h"

namespace mareldon {
namespace {

constexpr float kRadiansPerDegree = 0.017453294f;

// Shots of each burst of one firing.
std::vector<int32_t> ShotsPerBurst(FirePatternBench& bench, BossFirePattern* pattern) {
    pattern->Restart();
    std::vector<int32_t> bursts;
    int32_t burstsLeft = -1;
    for (int32_t i = 0; i < 5000 && pattern->GetBurstsLeft() > 0; ++i) {
        const size_t before = bench.f.shots.size();
        const int32_t left = pattern->GetBurstsLeft();
        bench.f.BossStep();
        if (bench.f.shots.size() == before)
            continue;
        if (left != burstsLeft || bursts.empty()) {
            bursts.push_back(0);
            burstsLeft = left;
        }
        ++bursts.back();
    }
    return bursts;
}

TEST(Boss4Patterns, BothAimedPairsFireBurstsSetByTheBurstsLeft) {
    // The left eye's settings say 1000 shots: each burst start replaces it.
    for (int32_t configured : {1, 1000}) {
        FirePatternBench bench;
        auto* pattern = new Boss4AimedPair(bench.mount, bench.f.screen, "t", {30, 1, configured, 5}, 10, 1);
        EXPECT_EQ(ShotsPerBurst(bench, pattern), (std::vector<int32_t>{71, 86, 166, 221, 71})) << configured;
        EXPECT_EQ(bench.f.shots.size(), size_t(2 * (71 + 86 + 166 + 221 + 71)));
        // Pairs 48 degrees apart around the camera aim, odd shots-left on sprite 10.
        std::set<int32_t> sprites;
        for (size_t i = 0; i + 1 < bench.f.shots.size(); i += 2) {
            EXPECT_NEAR(AngleGap(ShotAngle(bench.f.shots[i]), ShotAngle(bench.f.shots[i + 1])), 0.83775806f,
                        1e-4f);
            EXPECT_NEAR(ShotSpeed(bench.f.shots[i]), 0.13f, 1e-6f);
            sprites.insert(bench.f.shots[i].sprite);
        }
        EXPECT_EQ(sprites, (std::set<int32_t>{1, 10}));
    }
}

TEST(Boss4Patterns, RosettesKeepTheirShapeWhateverTheirAim) {
    const RosetteSpec medarion{12, 0.66f, 6, 0.33f, 40, 1.0f};
    const RosetteSpec hebi{10, 0.66f, 5, 0.33f, 12, 1.0f};
    struct Case {
        RosetteAim aim;
        const RosetteSpec* spec;
        float minSpeed, maxSpeed;
    };
    for (const Case& c :
         {Case{RosetteAim::kTowardShip, &medarion, 0.14f, 0.25f},
          Case{RosetteAim::kForward, &hebi, 0.08f, 0.15f}, Case{RosetteAim::kCamera, &medarion, 0.25f, 0.25f},
          Case{RosetteAim::kDownward, &medarion, 0.14f, 0.25f}}) {
        FirePatternBench bench;
        auto* pattern = new Boss4RosettePair(bench.mount, bench.f.screen, "t", {0, 3, 7, 1}, 34752, c.aim,
                                             *c.spec, 3.8397245f);
        pattern->Restart();
        std::set<std::pair<float, float>> velocities;
        for (int32_t shot = 0; shot < 8; ++shot) {
            const std::vector<BossShot> rosette = bench.NextVolley();
            ASSERT_EQ(int32_t(rosette.size()), c.spec->outerCount + c.spec->innerCount);
            for (const BossShot& s : rosette) {
                EXPECT_EQ(s.velocity.x, rosette[0].velocity.x);
                EXPECT_EQ(s.velocity.z, rosette[0].velocity.z);
                EXPECT_EQ(s.sprite, c.spec->sprite);
            }
            EXPECT_GE(ShotSpeed(rosette[0]), c.minSpeed - 1e-5f);
            EXPECT_LE(ShotSpeed(rosette[0]), c.maxSpeed + 1e-5f);
            velocities.insert({rosette[0].velocity.x, rosette[0].velocity.z});
            if (c.aim == RosetteAim::kDownward) {
                float degrees = ShotAngle(rosette[0]) / kRadiansPerDegree;
                degrees = degrees < 0.0f ? degrees + 360.0f : degrees;
                EXPECT_GE(degrees, 260.0f - 1e-3f);
                EXPECT_LT(degrees, 280.0f + 1e-3f);
            }
        }
        // The drawn aims differ rosette by rosette; the camera aim holds still.
        EXPECT_EQ(velocities.size(), c.aim == RosetteAim::kCamera ? 1u : 8u);
    }
}

TEST(Boss4Patterns, RandomStreamTurnsItsSeededWayByOneAndAHalfDegrees) {
    std::vector<BossShot> runs[2];
    for (std::vector<BossShot>& run : runs) {
        FirePatternBench bench;
        auto* pattern = new Boss4RandomStream(bench.mount, bench.f.screen, "t", 98764576);
        pattern->Restart();
        for (int32_t burst = 0; burst < 6; ++burst) {
            const size_t first = bench.f.shots.size();
            while (bench.f.shots.size() < first + 5)
                bench.f.BossStep();
            const float sign = pattern->TurnSign();
            for (size_t i = first + 1; i < first + 5; ++i) {
                EXPECT_NEAR(AngleGap(ShotAngle(bench.f.shots[i]), ShotAngle(bench.f.shots[i - 1])),
                            sign * 0.02617994f, 1e-5f);
                EXPECT_NEAR(ShotSpeed(bench.f.shots[i]) - ShotSpeed(bench.f.shots[i - 1]), 0.005f, 1e-6f);
            }
        }
        run = bench.f.shots;
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    for (size_t i = 0; i < runs[0].size(); ++i)
        EXPECT_EQ(runs[0][i].velocity.x, runs[1][i].velocity.x);
    // The first burst's draws, in order, from the pattern's own seed.
    Random expected(98764576);
    const float speed = expected.Range(0.07f, 0.10f);
    const float angle = expected.Range(0.0f, 6.2831855f);
    EXPECT_FLOAT_EQ(runs[0][0].velocity.x, std::cos(angle) * speed);
    EXPECT_FLOAT_EQ(runs[0][0].velocity.z, std::sin(angle) * speed);
}

TEST(Boss4Patterns, WaveRingsFireEightRingsOfElevenAndLeaveThePatternAsConfigured) {
    FirePatternBench bench;
    auto* pattern = new Boss4WaveRings(bench.mount, bench.f.screen, "t");
    for (int32_t firing = 0; firing < 2; ++firing) {
        bench.f.shots.clear();
        EXPECT_EQ(bench.Run(pattern), std::vector<int32_t>{88});
        EXPECT_EQ(pattern->angle, 4.712389f);
        EXPECT_EQ(pattern->speed, 0.055f);
        ASSERT_EQ(bench.f.shots.size(), 88u);
        for (int32_t ring = 0; ring < 8; ++ring) {
            for (int32_t i = 0; i < 11; ++i) {
                const BossShot& s = bench.f.shots[size_t(ring * 11 + i)];
                EXPECT_NEAR(ShotSpeed(s), 0.055f + 0.01f * float(ring), 1e-5f);
                EXPECT_NEAR(AngleGap(ShotAngle(s), 4.712389f + 0.5711987f * float(ring * 11 + i)), 0.0f,
                            1e-3f);
            }
        }
    }
}

TEST(Boss4Patterns, TurningAndSweepingPatternsStepTheirAnglesShotByShot) {
    struct Case {
        const char* name;
        std::function<BossFirePattern*(Object3D*, GameWorldScreen*)> make;
        int32_t perShot;
        float firstAngle;  // of the first bullet of the first shot
        float turn;        // of the first bullet from shot to shot
        float speedStep;   // of the first bullet from shot to shot
    };
    const std::vector<Case> cases = {
        // The mount looks along +z: forward is 90 degrees.
        {"octet", [](Object3D* m, GameWorldScreen* s) { return new Boss4TurningOctet(m, s, "t", false); }, 8,
         1.5707964f, 0.2792527f, 0.0f},
        {"octet mirrored",
         [](Object3D* m, GameWorldScreen* s) { return new Boss4TurningOctet(m, s, "t", true); }, 8,
         1.5707964f, -0.2792527f, 0.0f},
        {"fan R",
         [](Object3D* m, GameWorldScreen* s) {
             return new Boss4SweepingFan(m, s, "t", 4.1887903f, 0.04363323f);
         },
         7, 4.1887903f - 0.5235988f, 0.04363323f, 0.008f},
        {"fan L",
         [](Object3D* m, GameWorldScreen* s) {
             return new Boss4SweepingFan(m, s, "t", -1.0471976f, 0.05235988f);
         },
         7, -1.0471976f - 0.5235988f, 0.05235988f, 0.008f},
    };
    for (const Case& c : cases) {
        FirePatternBench bench;
        BossFirePattern* pattern = c.make(bench.mount, bench.f.screen);
        pattern->Restart();
        std::vector<BossShot> previous;
        for (int32_t shot = 0; shot < 5; ++shot) {
            const std::vector<BossShot> volley = bench.NextVolley();
            ASSERT_EQ(int32_t(volley.size()), c.perShot) << c.name;
            if (shot == 0) {
                EXPECT_NEAR(AngleGap(ShotAngle(volley[0]), c.firstAngle), 0.0f, 1e-4f) << c.name;
            } else {
                EXPECT_NEAR(AngleGap(ShotAngle(volley[0]), ShotAngle(previous[0])), c.turn, 1e-4f) << c.name;
                EXPECT_NEAR(ShotSpeed(volley[0]) - ShotSpeed(previous[0]), c.speedStep, 1e-5f) << c.name;
            }
            previous = volley;
        }
    }
}

}  // namespace
}  // namespace mareldon
