#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/bosses/Boss1Fixture.h"

namespace mareldon {
namespace {

std::string Layer(int n) {
    return "ba_01zenyoku:Layer" + std::to_string(n);
}

// A fight whose fight start has run: the boss clock jumped just before frame 8100.
class Boss1Fight : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.Start());
        ASSERT_NE(f.Body(), nullptr);
        f.JumpBefore(8095);
        f.StepToFrame(8102);
    }
    Boss1Body& Body() { return *f.Body(); }

    BossStageFixture f;
};

TEST(Boss1FightStart, NothingBeforeFrame8101ThenWingsAndCycleAInOneStep) {
    BossStageFixture f;
    ASSERT_TRUE(f.Start());
    Boss1Body* body = f.Body();
    ASSERT_NE(body, nullptr);
    for (int i = 0; i < kBoss1SectionCount; ++i)
        EXPECT_NE(body->Section(i), nullptr) << i;
    for (int i = 0; i < Boss1WingTip::kCount; ++i)
        EXPECT_NE(body->Tip(i), nullptr) << i;
    // The frames before the jump arrive as one lump.
    f.Steps(30);
    f.JumpBefore(8090);
    while (f.Frame() < 8100)
        f.BossStep();
    EXPECT_EQ(f.Count("BossHittable"), 0);
    EXPECT_EQ(f.Count("BossPatternStart"), 0);
    EXPECT_TRUE(f.shots.empty());
    while (f.Frame() < 8101)
        f.BossStep();
    EXPECT_EQ(f.FrameOf("BossEvent", "fight.start 8100"), 8101);
    for (int layer = 2; layer <= 10; ++layer)
        EXPECT_EQ(f.FrameOf("BossHittable", (Layer(layer) + " 1").c_str()), 8101) << layer;
    EXPECT_EQ(f.Count("BossHittable", (Layer(0) + " 1").c_str()), 0);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "wingA.0"), 8101);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "wingB.0"), 8101);
}

TEST_F(Boss1Fight, CoverBreakOpensCorePhaseWhoseFirst300FramesLoseCoreDamage) {
    Boss1Section* cover = f.Section(kBoss1Cover);
    // A damage schedule fires its entry once the damage passes it.
    BossStageFixture::Hit(cover, 751.0f);
    f.BossStep();
    EXPECT_EQ(f.Count("BossEvent", "damage.core.751 751"), 0);
    BossStageFixture::Hit(cover, 1.0f);
    f.BossStep();
    const int32_t broke = f.FrameOf("BossEvent", "damage.core.751 751");
    ASSERT_GT(broke, 0);
    EXPECT_EQ(f.FrameOf("BossHittable", (Layer(0) + " 1").c_str()), broke);
    f.BossStep();
    const int32_t begin = f.FrameOf("BossEvent", "core.begin 0");
    ASSERT_GT(begin, 0);
    EXPECT_TRUE(Body().InCorePhase());
    EXPECT_EQ(f.Count("BossPatternStop", "wingA.0"), 1);

    // Lost while the core is shut, counted once it opens.
    const float taken = Body().CoreDamageTaken();
    BossStageFixture::Hit(f.Section(kBoss1Core), 100.0f);
    f.BossStep();
    EXPECT_EQ(Body().CoreDamageTaken(), taken);
    f.StepToFrame(begin + 300);
    EXPECT_EQ(f.FrameOf("BossEvent", "core.open 300"), begin + 300);
    EXPECT_EQ(f.FrameOf("BossEvent", "B.wingA3 0"), begin + 300);
    EXPECT_EQ(f.FrameOf("BossEvent", "core.tips 120"), begin + 120);
    BossStageFixture::Hit(f.Section(kBoss1Core), 100.0f);
    f.BossStep();
    EXPECT_EQ(Body().CoreDamageTaken(), taken + 100.0f);
    // The cover's death sequence ended it; the tips reached their yaws.
    f.Steps(200);
    EXPECT_EQ(f.Section(kBoss1Cover), nullptr);
    for (int i = 0; i < Boss1WingTip::kCount; ++i) {
        Boss1WingTip* tip = Body().Tip(i);
        ASSERT_NE(tip, nullptr);
        EXPECT_FALSE(tip->IsTurning());
        EXPECT_NEAR(tip->GetRotation().y * 57.29578f, tip->TargetYaw(), 1e-3f) << i;
    }
}

TEST_F(Boss1Fight, CoreDamageJumpingPastBothMarksStartsCorePhaseAndDefeatButNeverCycleB) {
    BossStageFixture::Hit(f.Section(kBoss1Cover), 700.0f);
    f.BossStep();
    BossStageFixture::Hit(f.Section(kBoss1Cover), 1900.0f);
    f.BossStep();
    EXPECT_EQ(f.StepOf("BossEvent", "damage.core.751 751"), f.StepOf("BossEvent", "damage.core.2500 2500"));
    f.BossStep();
    EXPECT_EQ(f.StepOf("BossEvent", "core.begin 0"), f.StepOf("BossEvent", "defeat.begin 0"));
    EXPECT_TRUE(Body().IsDefeated());
    f.Steps(500);
    EXPECT_GT(f.StepOf("BossEvent", "core.open 300"), 0);
    for (const WorldEvent& e : f.log.Events())
        EXPECT_NE(e.arguments.rfind("B.", 0), 0u) << e.arguments;
}

TEST_F(Boss1Fight, WingMetersBreakSectionsAtTheirMarks) {
    Boss1Section* wingB = f.Section(kBoss1Layer6);
    BossStageFixture::Hit(wingB, 126.0f);
    f.BossStep();
    EXPECT_GT(f.StepOf("BossEvent", "damage.B.125 125"), 0);
    EXPECT_GT(f.StepOf("BossHittable", (Layer(10) + " 0").c_str()), 0);
    BossStageFixture::Hit(wingB, 26.0f);
    f.BossStep();
    EXPECT_GT(f.StepOf("BossEvent", "damage.B.151 151"), 0);
    // Layers 5 and 6 stay hittable once broken.
    EXPECT_EQ(wingB->hittable, 1);

    Boss1Section* wingA = f.Section(kBoss1Layer7);
    BossStageFixture::Hit(wingA, 250.0f);
    f.BossStep();
    EXPECT_GT(f.StepOf("BossEvent", "damage.A.125 125"), 0);
    EXPECT_EQ(f.StepOf("BossEvent", "damage.A.250 250"), -1);
    BossStageFixture::Hit(f.Section(kBoss1Layer5), 1.0f);
    f.BossStep();
    EXPECT_GT(f.StepOf("BossEvent", "damage.A.250 250"), 0);

    // A broken wing root feeds the core.
    BossStageFixture::Hit(f.Section(kBoss1WingRootA), 250.0f);
    f.BossStep();
    auto* root = static_cast<Boss1WingRoot*>(f.Section(kBoss1WingRootA));
    EXPECT_EQ(root->broken, 1);
    const float taken = Body().CoreDamageTaken();
    BossStageFixture::Hit(root, 40.0f);
    f.BossStep();
    EXPECT_EQ(Body().CoreDamageTaken(), taken + 40.0f);
    // Broken sections took their broken meshes.
    f.Steps(60);
    EXPECT_EQ(f.Section(kBoss1Layer6)->DrawSet().Get(), Body().Holder()->Slot(6)->DrawSet().Get());
}

TEST_F(Boss1Fight, DefeatCancelsOnceStopsTheTimerAndClearsTheStage600FramesLater) {
    BossStageFixture::Hit(f.Section(kBoss1Cover), 760.0f);
    f.Steps(310);
    ASSERT_TRUE(Body().IsCoreOpen());
    f.Steps(700);
    BossStageFixture::Hit(f.Section(kBoss1Core), 1800.0f);
    f.BossStep();
    f.BossStep();
    const int32_t began = f.FrameOf("BossEvent", "defeat.begin 0");
    ASSERT_GT(began, 0);
    EXPECT_EQ(f.Count("CancelAllEnemyBullets"), 1);
    EXPECT_FALSE(f.screen->IsTimeLimitEnabled());
    for (int i = 0; i < kBoss1SectionCount; ++i) {
        if (Boss1Section* s = f.Section(i)) {
            EXPECT_EQ(s->hittable, 0) << i;
        }
    }
    const size_t shotsAtDefeat = f.shots.size();
    f.StepToFrame(began + 700);
    EXPECT_EQ(f.shots.size(), shotsAtDefeat);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(f.FrameOf("BeginStageClear"), began + 600);
    EXPECT_EQ(f.Count("CancelAllEnemyBullets"), 1);
    EXPECT_TRUE(Body().IsDrifting());
    // Everything but the body ended by its sequences.
    for (int i = 0; i < kBoss1SectionCount; ++i) {
        if (i != kBoss1WingRootA && i != kBoss1WingRootB) {
            EXPECT_EQ(f.Section(i), nullptr) << i;
        }
    }
}

// The fight runs out the stage time: core hits still wear the core down, but the
// defeat never comes.
TEST(Boss1TimeOut, CoreHitsAfterTheTimeOutNeverDefeat) {
    BossStageFixture f;
    ASSERT_TRUE(f.Start());
    f.JumpBefore(8095);
    f.StepToFrame(8102);
    for (int i = 0; i < 10000 && f.screen->GetTimeLeft() > 1.0f; ++i)
        f.BossStep();
    f.BossStep();
    ASSERT_TRUE(f.Body()->IsTimedOut());
    Boss1Section* core = f.Section(kBoss1Core);
    ASSERT_NE(core, nullptr);
    const float durability = core->durability;
    BossStageFixture::Hit(core, 3000.0f);
    f.Steps(5);
    EXPECT_LT(core->durability, durability);
    EXPECT_EQ(f.Body()->CoreDamageTaken(), 0.0f);
    EXPECT_FALSE(f.Body()->IsDefeated());
    EXPECT_EQ(f.Count("BossEvent", "defeat.begin 0"), 0);
}

// The same fight twice: the same log and the same bullets.
std::vector<std::string> ScriptedFight(std::vector<BossShot>* shots) {
    BossStageFixture f;
    EXPECT_TRUE(f.Start());
    f.JumpBefore(8095);
    f.StepToFrame(8400);
    BossStageFixture::Hit(f.Section(kBoss1Layer9), 130.0f);
    BossStageFixture::Hit(f.Section(kBoss1Cover), 760.0f);
    f.Steps(400);
    std::vector<std::string> lines;
    for (const WorldEvent& e : f.log.Events())
        lines.push_back(std::to_string(e.step) + " " + e.operation + " " + e.arguments);
    *shots = f.shots;
    return lines;
}

TEST(Boss1Replay, TwoRunsGiveTheSameLogAndBullets) {
    std::vector<BossShot> first;
    std::vector<BossShot> second;
    const std::vector<std::string> a = ScriptedFight(&first);
    const std::vector<std::string> b = ScriptedFight(&second);
    EXPECT_EQ(a, b);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 500u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].velocity.x, second[i].velocity.x);
        EXPECT_EQ(first[i].velocity.z, second[i].velocity.z);
        EXPECT_EQ(first[i].sprite, second[i].sprite);
    }
}

}  // namespace
}  // namespace mareldon
