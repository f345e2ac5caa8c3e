#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "tests/game/bosses/Boss3Fixture.h"

namespace mareldon {
namespace {

const Boss3PatternRow& RowOf(int32_t slot, int32_t k) {
    return *Boss3MuzzleTable(slot).patterns[k];
}

// A pattern on a mount under the world root of a stage without a boss; the mount's
// forward is world +z, so forward headings are 90 degrees.
class PatternBench {
  public:
    PatternBench() : f(NoBossNodes, Boss3Models) {
        EXPECT_TRUE(f.Start());
        mount = new Object3D(f.screen->GetWorldRoot(), 0);
    }
    Boss3Pattern* Make(int32_t slot, int32_t k) {
        return new Boss3Pattern(mount, f.screen, RowOf(slot, k), "t");
    }
    // Steps one whole firing (or `limit` steps); per shot step, its step and bullets.
    struct Shot {
        int32_t step;
        size_t first;
        int32_t bullets;
    };
    std::vector<Shot> Run(BossPattern* pattern, int32_t limit = 3000, bool restart = true) {
        if (restart)
            pattern->Restart();
        std::vector<Shot> out;
        for (int32_t i = 0; i < limit && pattern->GetBurstsLeft() > 0; ++i) {
            const size_t before = f.shots.size();
            f.BossStep();
            if (f.shots.size() != before)
                out.push_back(Shot{i, before, int32_t(f.shots.size() - before)});
        }
        return out;
    }

    BossStageFixture f;
    Object3D* mount;
};

// The direction angle of a velocity, degrees in [0, 360).
float Heading(const BossShot& s) {
    float a = std::atan2(s.velocity.z, s.velocity.x) * 57.29578f;
    return a < 0.0f ? a + 360.0f : a;
}
// The same angle in the aiming convention.
float AimAngle(const BossShot& s) {
    return ConvertAngleConvention(Heading(s));
}
float Turn(float from, float to) {
    float d = std::fmod(to - from + 540.0f, 360.0f) - 180.0f;
    return d;
}

struct PatternCase {
    int32_t slot;
    int32_t k;
    const char* name;
    int32_t shots;
    int32_t bullets;
    std::set<int32_t> sprites;
    float minSpeed, maxSpeed;
};

TEST(Boss3Patterns, EveryRowFiresItsShotsBulletsSpritesAndSpeeds) {
    const std::vector<PatternCase> cases = {
        {kBoss3KasaL1 + 1, 0, "Boss3ShotPatternKasa_0", 4, 4, {20}, 0.1f, 0.16f},
        {kBoss3KasaL1 + 1, 1, "Boss3ShotPatternKasaL2_1", 9, 9, {20}, 0.02f, 0.092f},
        {kBoss3KasaR1 + 4, 2, "Boss3ShotPatternKasaR_2", 9, 9, {33}, 0.15f, 0.214f},
        {kBoss3MeC, 0, "Boss3ShotPatternMeC_0", 7, 7 * 2 + 4, {10, 11}, 0.07f, 0.128f},
        {kBoss3MeL, 0, "Boss3ShotPatternMeL_0", 5 * 28, 28 * (5 * 2 + 3), {10, 11}, 0.06f, 0.088f},
        {kBoss3SideUnitR, 0, "Boss3ShotPatternSideUnitR_0", 151, 151 * 4, {10, 39}, 0.1f, 0.1f},
        {kBoss3SideUnitL, 1, "Boss3ShotPatternSideUnitL_1", 31, 31 * 4, {10, 39}, 0.1f, 0.1f},
        {kBoss3KasaRcenter, 2, "Boss3ShotPatternKasaRcenter_2", 37, 37 * 6, {52}, 0.04f, 0.09f},
        {kBoss3KasaLcenter, 3, "Boss3ShotPatternKasaLcenter_3", 21, 21 * 8, {11, 12}, 0.045f, 0.085f},
        {kBoss3KasaLcenter, 4, "Boss3ShotPatternKasaLcenter_4", 61, 122, {12}, 0.03f, 0.12f},
        {kBoss3KasaRcenter, 5, "Boss3ShotPatternKasaRcenter_5", 18, 9 * 4 + 9 * 7, {33}, 0.1f, 0.26f},
        {kBoss3KasaLcenter, 6, "Boss3ShotPatternKasaLcenter_6", 13, 52, {11}, 0.1f, 0.1f},
        {kBoss3KasaRcenter, 7, "Boss3ShotPatternKasaRcenter_7", 1, 64, {10}, 0.05f, 0.05f},
        {kBoss3KasaRcenter, 8, "Boss3ShotPatternKasaRcenter_8", 61, 122, {12}, 0.03f, 0.12f},
    };
    for (const PatternCase& c : cases) {
        PatternBench bench;
        Boss3Pattern* pattern = bench.Make(c.slot, c.k);
        EXPECT_STREQ(pattern->row.name, c.name);
        const std::vector<PatternBench::Shot> shots = bench.Run(pattern);
        EXPECT_EQ(int32_t(shots.size()), c.shots) << c.name;
        EXPECT_EQ(int32_t(bench.f.shots.size()), c.bullets) << c.name;
        std::set<int32_t> sprites;
        for (const BossShot& s : bench.f.shots) {
            sprites.insert(s.sprite);
            EXPECT_GE(ShotSpeed(s), c.minSpeed - 1e-4f) << c.name;
            EXPECT_LE(ShotSpeed(s), c.maxSpeed + 1e-4f) << c.name;
        }
        EXPECT_EQ(sprites, c.sprites) << c.name;
    }
}

TEST(Boss3Patterns, EndlessCentreRowsFireEveryBurstInterval) {
    for (int32_t k : {0, 1}) {
        PatternBench bench;
        Boss3Pattern* pattern = bench.Make(kBoss3KasaLcenter, k);
        const std::vector<PatternBench::Shot> shots = bench.Run(pattern, 100);
        ASSERT_GE(shots.size(), 3u);
        const int32_t gap = k == 0 ? 10 : 14;
        EXPECT_EQ(shots[1].step - shots[0].step, gap);
        EXPECT_EQ(shots[0].bullets, k == 0 ? 4 : 9);
        // Around forward (90) plus 45 and the random turn.
        for (const BossShot& s : bench.f.shots) {
            const float off = Turn(90.0f + 45.0f, Heading(s));
            EXPECT_LE(std::fabs(off), (k == 0 ? 70.0f + 7.0f : 50.0f + 12.0f) + 1e-3f);
        }
    }
}

TEST(Boss3Patterns, KasaSweepStartsAtThirtyDegreesPerIndexAndTurnsAwayFromTheMiddle) {
    struct SweepCase {
        int32_t slot;
        float first;
        float step;
    };
    const SweepCase cases[] = {{kBoss3KasaR1 + 2, 60.0f, 3.0f},
                               {kBoss3KasaL1 + 2, -60.0f, -3.0f},
                               {kBoss3KasaR1, 0.0f, 3.0f},
                               {kBoss3KasaL1 + 11, -330.0f, -3.0f}};
    for (const SweepCase& c : cases) {
        PatternBench bench;
        bench.Run(bench.Make(c.slot, 1));
        ASSERT_EQ(bench.f.shots.size(), 9u);
        for (int32_t k = 0; k < 9; ++k) {
            const BossShot& s = bench.f.shots[size_t(k)];
            float expected = std::fmod(c.first + c.step * float(k) + 720.0f, 360.0f);
            EXPECT_NEAR(std::fabs(Turn(expected, AimAngle(s))), 0.0f, 0.01f) << c.slot << " " << k;
            EXPECT_NEAR(ShotSpeed(s), 0.02f + 0.009f * float(k), 1e-5f);
        }
    }
}

TEST(Boss3Patterns, KasaSlowingShotsComeOneStepLaterEachAndARestartResetsThem) {
    PatternBench bench;
    Boss3Pattern* pattern = bench.Make(kBoss3KasaL1, 2);
    // Half way, then restarted while firing: afresh from speed 0.15 and gap 50.
    bench.Run(pattern, 200);
    ASSERT_GT(pattern->GetBurstsLeft(), 0);
    EXPECT_LT(pattern->GetShotInterval(), 50);
    bench.f.shots.clear();
    const std::vector<PatternBench::Shot> shots = bench.Run(pattern);
    ASSERT_EQ(shots.size(), 9u);
    EXPECT_EQ(shots[0].step, 0);
    for (size_t i = 1; i < shots.size(); ++i)
        EXPECT_EQ(shots[i].step - shots[i - 1].step, 51 - int32_t(i)) << i;
    EXPECT_NEAR(ShotSpeed(bench.f.shots[0]), 0.15f, 1e-5f);
    EXPECT_NEAR(ShotSpeed(bench.f.shots[8]), 0.15f + 8 * 0.008f, 1e-5f);
    EXPECT_EQ(bench.f.shots[0].size, 1.5f);
}

TEST(Boss3Patterns, CentreBurstIsFourWayFirstThenSevenWay) {
    PatternBench bench;
    const std::vector<PatternBench::Shot> shots = bench.Run(bench.Make(kBoss3KasaLcenter, 5));
    ASSERT_EQ(shots.size(), 18u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(shots[i].bullets, 4) << i;
    for (size_t i = 9; i < 18; ++i)
        EXPECT_EQ(shots[i].bullets, 7) << i;
    // Between bursts 10 + 3 - 1 steps; the speed starts again at 0.1.
    EXPECT_EQ(shots[9].step - shots[8].step, 12);
    EXPECT_NEAR(ShotSpeed(bench.f.shots[shots[9].first]), 0.1f, 1e-5f);
}

TEST(Boss3Patterns, EyeTurnGrows32DegreesABurstAnd2AShotFromRest) {
    for (int32_t slot : {kBoss3MeR, kBoss3MeL}) {
        PatternBench bench;
        Boss3Pattern* pattern = bench.Make(slot, 0);
        const std::vector<PatternBench::Shot> shots = bench.Run(pattern, 60);
        ASSERT_GE(shots.size(), 8u);
        const float sense = slot == kBoss3MeR ? 1.0f : -1.0f;
        std::vector<float> offsets;
        for (const PatternBench::Shot& shot : shots)
            offsets.push_back(sense * Turn(90.0f, Heading(bench.f.shots[shot.first]) + 3.0f));
        EXPECT_NEAR(offsets[0], 32.0f, 0.01f);
        for (size_t i = 1; i < 5; ++i)
            EXPECT_NEAR(offsets[i] - offsets[i - 1], 2.0f, 0.01f) << i;
        EXPECT_NEAR(offsets[5] - offsets[4], 34.0f, 0.01f);
        // A restart from rest turns from 0 again.
        pattern->Stop();
        bench.f.shots.clear();
        const std::vector<PatternBench::Shot> again = bench.Run(pattern, 3);
        ASSERT_FALSE(again.empty());
        EXPECT_NEAR(sense * Turn(90.0f, Heading(bench.f.shots[0]) + 3.0f), 32.0f, 0.01f);
    }
}

TEST(Boss3Patterns, CentreRingAndCrossAreWorldHeadings) {
    PatternBench bench;
    bench.Run(bench.Make(kBoss3KasaLcenter, 7));
    ASSERT_EQ(bench.f.shots.size(), 64u);
    for (size_t i = 0; i < 64; ++i)
        EXPECT_NEAR(std::fabs(Turn(5.625f * float(i), Heading(bench.f.shots[i]))), 0.0f, 0.01f) << i;

    PatternBench cross;
    cross.Run(cross.Make(kBoss3KasaRcenter, 6));
    ASSERT_EQ(cross.f.shots.size(), 52u);
    // The right-hand cross turns the other way: its second shot at -15.
    EXPECT_NEAR(std::fabs(Turn(0.0f, Heading(cross.f.shots[0]))), 0.0f, 0.01f);
    EXPECT_NEAR(std::fabs(Turn(-15.0f, Heading(cross.f.shots[4]))), 0.0f, 0.01f);
}

TEST(Boss3Patterns, CentreSprayShortensItsGapEveryTenthShotDownToOneStep) {
    PatternBench bench;
    Boss3Pattern* pattern = bench.Make(kBoss3KasaLcenter, 4);
    const std::vector<PatternBench::Shot> shots = bench.Run(pattern);
    ASSERT_EQ(shots.size(), 61u);
    // Gaps 6 from the burst start's interval, then 5 after the tenth shot's drop ...
    EXPECT_EQ(shots[1].step - shots[0].step, 6);
    EXPECT_EQ(shots[2].step - shots[1].step, 5);
    EXPECT_EQ(shots[60].step - shots[59].step, 1);
    // ... and the interval ends below zero, which the timer takes as one step.
    EXPECT_EQ(pattern->GetShotInterval(), -1);
}

TEST(Boss3Patterns, SwitchCodesBeyondAMuzzlesPatternsDoNothing) {
    Boss3StageFixture f;
    ASSERT_TRUE(f.Start());
    Boss3Muzzle* meC = f.Body3()->Muzzle(kBoss3MeC);
    ASSERT_NE(meC, nullptr);
    EXPECT_EQ(meC->PatternCount(), 1);
    for (int32_t k : {-1, 2, 3, 17})
        meC->SwitchPattern(k);
    EXPECT_EQ(f.Count("BossPatternStart"), 0);
    Boss3Muzzle* centre = f.Body3()->Muzzle(kBoss3KasaRcenter);
    ASSERT_NE(centre, nullptr);
    EXPECT_EQ(centre->PatternCount(), 9);
    centre->SwitchPattern(16);
    EXPECT_EQ(f.Count("BossPatternStart", "kasaRcenter.8"), 1);
    centre->SwitchPattern(18);
    EXPECT_EQ(f.Count("BossPatternStart"), 1);
}

}  // namespace
}  // namespace mareldon
