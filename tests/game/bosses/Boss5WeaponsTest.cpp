#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/bosses/Boss5Weapons.h"
#include "tests/game/bosses/Boss5Fixture.h"

namespace mareldon {
namespace {

// The boss before its fight: every muzzle idle, the ring shown so that its muzzles run.
class Boss5Weapons : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.Start());
        ASSERT_NE(f.Ring(), nullptr);
        f.Ring()->heldHidden = 0;
        f.Steps5(2);
        f.shots.clear();
    }
    Boss5Muzzle* Muzzle(Boss5Controller* owner, Boss5Slot slot) {
        Boss5Muzzle* muzzle = owner->Muzzle(slot);
        EXPECT_NE(muzzle, nullptr);
        return muzzle;
    }
    // Bullets per step over `steps` steps, the empty steps left out.
    std::vector<int32_t> Volleys(int32_t steps) {
        std::vector<int32_t> counts;
        for (int32_t i = 0; i < steps; ++i) {
            const size_t before = f.shots.size();
            f.Step5();
            if (f.shots.size() > before)
                counts.push_back(int32_t(f.shots.size() - before));
        }
        return counts;
    }

    Boss5StageFixture f;
};

TEST_F(Boss5Weapons, GrowingRingFiresEightBurstsOfFiveRingsGrowingAndShrinking) {
    Muzzle(f.Ball(), Boss5Slot::kChusin1)->Restart(6);
    std::vector<int32_t> expected;
    for (int32_t count : {5, 13, 21, 29, 29, 21, 13, 5})
        expected.insert(expected.end(), 5, count);
    EXPECT_EQ(Volleys(600), expected);
    for (const BossShot& shot : f.shots) {
        EXPECT_EQ(shot.sprite, 32);
        EXPECT_NEAR(std::hypot(shot.velocity.x, shot.velocity.z), 0.15f, 1e-5f);
    }
}

TEST_F(Boss5Weapons, ForwardDripFiresOnShotsWithBit2OfShotsLeft) {
    for (Boss5Slot slot : {Boss5Slot::kUCyuou, Boss5Slot::kInazuma15_18}) {
        Muzzle(f.Ring(), slot)->Restart(3);
        const std::vector<int32_t> volleys = Volleys(700);
        EXPECT_EQ(volleys.size(), 160u);
        for (const BossShot& shot : f.shots) {
            EXPECT_EQ(shot.sprite, slot == Boss5Slot::kUCyuou ? 33 : 32);
            EXPECT_EQ(shot.size, 1.5f);
        }
        f.shots.clear();
    }
}

TEST_F(Boss5Weapons, TwinSpiralSecondDirectionIsTheFloatSumsSineAndCosine) {
    Muzzle(f.Ring(), Boss5Slot::kInazuma15_18)->Restart(0);
    Volleys(1);
    ASSERT_EQ(f.shots.size(), 2u);
    const float sum = 0.0f + 10313.24f;
    EXPECT_FLOAT_EQ(f.shots[1].velocity.x, std::cos(sum) * 0.12f);
    EXPECT_FLOAT_EQ(f.shots[1].velocity.z, std::sin(sum) * 0.12f);
    // The same figure on every build: the sum is 10313.240234375 in float.
    EXPECT_NEAR(f.shots[1].velocity.x, 0.12 * std::cos(10313.240234375), 2e-6);
    EXPECT_FLOAT_EQ(f.shots[0].velocity.x, 0.12f);
    // The next shot: the angle turned by +0.1208305.
    Volleys(3);
    ASSERT_EQ(f.shots.size(), 4u);
    EXPECT_FLOAT_EQ(f.shots[2].velocity.z, std::sin(0.1208305f) * 0.12f);
}

TEST_F(Boss5Weapons, EveryChusin1PatternFires) {
    Boss5Muzzle* chusin = Muzzle(f.Ball(), Boss5Slot::kChusin1);
    ASSERT_EQ(chusin->PatternCount(), 12);
    for (int32_t i = 0; i < 12; ++i) {
        f.shots.clear();
        chusin->Restart(i);
        Volleys(40);
        EXPECT_FALSE(f.shots.empty()) << i;
        chusin->Stop(i);
    }
}

TEST(Boss5RingLoop, Inazuma17_20FiresOnlyPatterns0And3AndMedarion3NeverStarts) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    BossStageFixture::Hit(f.Ball()->WeakPoint(), 4501.0f);
    ASSERT_GT(f.StepUntilEntry("BossEvent", "centre.appear.attack 180"), 0);
    // The stage clock jumps: the controllers take a whole loop in one step.
    f.JumpStage(2830);
    f.Steps5(2);
    EXPECT_GT(f.StepOf("BossEvent", "ring.loop 2820"), 0);
    EXPECT_GT(f.Count("BossPatternStart", "17_20_inazuma.0"), 0);
    EXPECT_GT(f.Count("BossPatternStart", "17_20_inazuma.3"), 0);
    EXPECT_EQ(f.Count("BossPatternStart", "17_20_inazuma.1"), 0);
    EXPECT_EQ(f.Count("BossPatternStart", "17_20_inazuma.2"), 0);
    EXPECT_GT(f.Count("BossPatternStart", "15_18_inazuma.2"), 0);
    EXPECT_EQ(f.Count("BossPatternStart", "medarion5.3"), 0);
    EXPECT_GT(f.Count("BossPatternStart", "medarion5.6"), 0);
}

}  // namespace
}  // namespace mareldon
