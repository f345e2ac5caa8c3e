#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/bosses/Boss2Fixture.h"

namespace mareldon {
namespace {

std::string Hittable(int32_t layer, int32_t on) {
    return Boss2Layer(layer) + " " + std::to_string(on);
}

// A fight whose start has run: the boss clock jumped just before frame 9600.
class Boss2Fight : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.Start());
        ASSERT_NE(f.Body(), nullptr);
        f.screen->SetTimeLimitEnabled(false);
        f.JumpBefore(9595);
        f.StepToFrame(9602);
    }
    Boss2Body& Body() { return *f.Body(); }
    void Hit(int32_t layer, float damage) {
        ASSERT_NE(f.Part(layer), nullptr) << layer;
        BossStageFixture::Hit(f.Part(layer), damage);
        f.BossStep();
    }
    // Breaks Layers 11 and 13; the frame the transition began.
    int32_t TransitionByPods() {
        Hit(11, 501.0f);
        Hit(13, 501.0f);
        f.BossStep();
        return f.FrameOf("BossEvent", "transition.begin 0");
    }

    Boss2StageFixture f;
};

TEST(Boss2FightStart, EverythingRegistersAndFrame9600OpensTheFight) {
    Boss2StageFixture f;
    ASSERT_TRUE(f.Start());
    Boss2Body* body = f.Body();
    ASSERT_NE(body, nullptr);
    for (int32_t layer : {1, 2, 3, 4, 7, 11, 12, 13, 14})
        EXPECT_NE(body->Part(layer), nullptr) << layer;
    for (int32_t gun = 0; gun < kBoss2GunCount; ++gun) {
        ASSERT_NE(body->Muzzle(gun), nullptr) << gun;
        EXPECT_EQ(body->Muzzle(gun)->PatternCount(), Boss2GunInfo(Boss2Gun(gun)).patterns) << gun;
    }
    // Revolvers 2 and 3 fire their pattern 1 once as soon as they run, unasked.
    f.Steps(40);
    EXPECT_EQ(f.Count("BossPatternStart"), 0);
    EXPECT_EQ(f.shots.size(), 36u);
    for (const BossShot& s : f.shots)
        EXPECT_EQ(s.sprite, 18);

    f.JumpBefore(9590);
    while (f.Frame() < 9600)
        f.BossStep();
    EXPECT_EQ(f.Count("BossHittable"), 0);
    EXPECT_EQ(f.Count("BossPatternStart"), 0);
    f.StepToFrame(9602);
    EXPECT_EQ(f.FrameOf("BossEvent", "start.fight 9600"), 9601);
    for (int32_t layer : {3, 2, 4, 13, 11})
        EXPECT_EQ(f.FrameOf("BossHittable", Hittable(layer, 1).c_str()), 9601) << layer;
    for (int32_t layer : {1, 7, 12, 14})
        EXPECT_EQ(f.Count("BossHittable", Hittable(layer, 1).c_str()), 0) << layer;
    // Cycle A comes before the fight start among the body's timelines: it runs from the
    // next step.
    EXPECT_EQ(f.FrameOf("BossPatternStart", "center0_2"), 9602);
}

TEST_F(Boss2Fight, Layer11AloneBreaksWithoutTransitionLayer13ThenStartsIt) {
    Hit(11, 500.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage11.500 500"), 0);
    Hit(11, 1.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage11.500 500"), 1);
    f.Steps(40);
    EXPECT_GT(f.StepOf("BossHittable", Hittable(11, 0).c_str()), 0);
    EXPECT_FALSE(Body().TransitionStarted());
    EXPECT_EQ(f.Count("BossEvent", "transition.begin 0"), 0);
    // Broken for good: it takes the broken mesh and stays.
    EXPECT_EQ(f.Part(11)->DrawSet().Get(), Body().Holder()->Slot(11)->DrawSet().Get());

    Hit(13, 501.0f);
    f.BossStep();
    EXPECT_TRUE(Body().TransitionStarted());
    EXPECT_EQ(f.Count("BossEvent", "transition.begin 0"), 1);
}

TEST_F(Boss2Fight, TransitionStopsCycleAButLeavesItsLongBurstsThenSwapsToCycleB) {
    // Runit1_5 is firing when the transition comes; the frames before arrive in one lump.
    f.JumpBefore(9602 + 812);
    f.StepToFrame(9602 + 815);
    ASSERT_EQ(f.Count("BossPatternStart", "Runit1_5"), 1);
    const int32_t began = TransitionByPods();
    ASSERT_GT(began, 0);
    EXPECT_EQ(f.Count("BossPatternStop"), 39);
    EXPECT_EQ(f.Count("BossPatternStop", "Runit1_5"), 0);
    EXPECT_TRUE(Body().Muzzle(kBoss2Runit1)->Pattern(5)->GetBurstsLeft() > 0);
    const size_t startsAtTransition = size_t(f.Count("BossPatternStart"));
    f.StepToFrame(began + 215);
    EXPECT_EQ(f.FrameOf("BossEvent", "transition.gears 120"), began + 120);
    EXPECT_EQ(f.FrameOf("BossHittable", Hittable(14, 1).c_str()), began + 180);
    EXPECT_EQ(f.FrameOf("BossHittable", Hittable(12, 1).c_str()), began + 180);
    EXPECT_EQ(f.FrameOf("BossEvent", "transition.B 210"), began + 210);
    EXPECT_TRUE(Body().InPhaseTwo());
    EXPECT_EQ(f.FrameOf("BossPatternStart", "Runit2_1"), began + 211);
    // Nothing of cycle A started again.
    EXPECT_EQ(size_t(f.Count("BossPatternStart")), startsAtTransition + 2);
    // The gears turn toward 180.
    f.Steps(600);
    EXPECT_NEAR(f.Part(1)->Angle(), 180.0f, 2.0f);
    EXPECT_NEAR(f.Part(4)->Angle(), 180.0f, 2.0f);
}

TEST_F(Boss2Fight, The1800thPointAfterThePodsBreaksLayer3WithoutASecondTransition) {
    const int32_t began = TransitionByPods();
    ASSERT_GT(began, 0);
    f.StepToFrame(began + 212);
    ASSERT_TRUE(Body().InPhaseTwo());
    Hit(3, 1800.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.1800 1800"), 0);
    Hit(2, 1.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.1800 1800"), 1);
    f.BossStep();
    EXPECT_EQ(f.Count("BossHittable", Hittable(3, 0).c_str()), 1);
    f.Steps(300);
    EXPECT_EQ(f.Count("BossEvent", "transition.begin 0"), 1);
    // Its durability ran out at its frame 30: it is gone.
    EXPECT_EQ(f.Part(3), nullptr);
}

TEST_F(Boss2Fight, TransitionWindowLosesCoreDamageAndDefeatComesPast3000CountedPoints) {
    Hit(2, 1801.0f);
    f.BossStep();
    const int32_t began = f.FrameOf("BossEvent", "transition.begin 0");
    ASSERT_GT(began, 0);
    EXPECT_EQ(Body().DamageTaken(), 1801.0f);
    // Lost in the window, whichever section takes it.
    for (int32_t layer : {2, 4})
        Hit(layer, 500.0f);
    f.StepToFrame(began + 209);
    Hit(4, 500.0f);
    EXPECT_EQ(Body().DamageTaken(), 1801.0f);
    f.StepToFrame(began + 212);
    ASSERT_TRUE(Body().InPhaseTwo());
    Hit(4, 1198.0f);
    f.BossStep();
    EXPECT_EQ(Body().DamageTaken(), 2999.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.3000 3000"), 0);
    Hit(2, 1.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.3000 3000"), 0);
    Hit(2, 1.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.3000 3000"), 1);
    f.BossStep();
    const int32_t defeat = f.FrameOf("BossEvent", "defeat.begin 0");
    ASSERT_GT(defeat, 0);
    EXPECT_EQ(f.Count("CancelAllEnemyBullets"), 1);
    EXPECT_FALSE(f.screen->IsTimeLimitEnabled());
    EXPECT_EQ(f.Count("BossPatternStop", "Runit2_1"), 2);

    f.StepToFrame(defeat + 40);
    EXPECT_TRUE(Body().IsDrifting());
    for (int32_t layer : {2, 4, 12, 14})
        EXPECT_EQ(f.Part(layer)->hittable, 0) << layer;
    const float sunk = Body().GetWorldPosition().y;
    f.StepToFrame(defeat + 200);
    EXPECT_LT(Body().GetWorldPosition().y, sunk);
    EXPECT_LT(Body().GetRotation().x, 0.0f);
    const size_t shotsBefore = f.shots.size();
    f.StepToFrame(defeat + 490);
    EXPECT_EQ(f.shots.size(), shotsBefore);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(f.FrameOf("BeginStageClear"), defeat + 480);
    // Layer1 ended by its sequence; the others stay broken.
    EXPECT_EQ(f.Part(1), nullptr);
    for (int32_t layer : {2, 4, 7, 11, 12, 13, 14})
        EXPECT_NE(f.Part(layer), nullptr) << layer;
}

TEST_F(Boss2Fight, AtOneSecondLeftCoreDamageIsLostForGoodWhileThePodsAndGunsGoOn) {
    f.screen->SetTimeLeft(1.01f);
    Hit(3, 100.0f);
    f.BossStep();
    EXPECT_FALSE(Body().IsTimedOut());
    EXPECT_EQ(Body().DamageTaken(), 100.0f);

    f.screen->SetTimeLeft(1.0f);
    f.BossStep();
    EXPECT_TRUE(Body().IsTimedOut());
    EXPECT_EQ(f.Count("BossTimedOut"), 1);
    // More time later does not undo it.
    f.screen->SetTimeLeft(30.0f);
    for (int32_t layer : {3, 2, 4}) {
        EXPECT_EQ(f.Part(layer)->hittable, 1) << layer;
        Hit(layer, 1500.0f);
    }
    f.BossStep();
    EXPECT_EQ(Body().DamageTaken(), 100.0f);
    EXPECT_EQ(f.Count("BossEvent", "damage.1800 1800"), 0);
    EXPECT_EQ(f.Count("BossTimedOut"), 1);

    // The pods still count and still open the second phase.
    const int32_t began = TransitionByPods();
    ASSERT_GT(began, 0);
    f.StepToFrame(began + 212);
    ASSERT_TRUE(Body().InPhaseTwo());
    Hit(2, 3000.0f);
    const size_t shots = f.shots.size();
    f.Steps(600);
    EXPECT_EQ(Body().DamageTaken(), 100.0f);
    EXPECT_GT(f.shots.size(), shots);
    EXPECT_EQ(f.Count("BossEvent", "damage.3000 3000"), 0);
    EXPECT_EQ(f.Count("BossEvent", "defeat.begin 0"), 0);
    EXPECT_EQ(f.Count("CancelAllEnemyBullets"), 0);
    EXPECT_EQ(f.Count("BeginStageClear"), 0);
    EXPECT_NE(f.Part(3), nullptr);
}

TEST_F(Boss2Fight, SameFrameRestartsRunInReverseOfTheirListing) {
    f.JumpBefore(9602 + 898);
    f.StepToFrame(9602 + 902);
    const int32_t center = f.IndexOf("BossPatternStart", "center0_6");
    ASSERT_GE(center, 0);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "center0_6"), 9602 + 900);
    // Lunit1_5 follows in the same step.
    const std::vector<WorldEvent>& events = f.log.Events();
    const int32_t step = events[size_t(center)].step;
    int32_t lunit = -1;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].step == step && events[i].operation == "BossPatternStart" &&
            events[i].arguments == "Lunit1_5")
            lunit = int32_t(i);
    }
    EXPECT_GT(lunit, center);
}

TEST(Boss2Missing, AGunOrSectionMissingFromTheModelLeavesItsSlotEmpty) {
    PlaceholderBoss2Omit omit;
    omit.gun = "center0";
    omit.layer = 13;
    Boss2StageFixture f(Boss2Nodes(omit));
    ASSERT_TRUE(f.Start());
    ASSERT_NE(f.Body(), nullptr);
    f.screen->SetTimeLimitEnabled(false);
    EXPECT_EQ(f.Body()->Muzzle(kBoss2Center0), nullptr);
    EXPECT_EQ(f.Body()->Part(13), nullptr);
    // Layer11's guns hang below 13's sibling, so they stay.
    EXPECT_NE(f.Body()->Muzzle(kBoss2Runit1), nullptr);
    f.JumpBefore(9595);
    f.StepToFrame(9602);
    f.JumpBefore(9602 + 1400);
    f.StepToFrame(9602 + 1402);
    EXPECT_EQ(f.Count("BossPatternStart", "center0_2"), 0);
    EXPECT_GT(f.Count("BossPatternStart", "Runit1_5"), 0);
    // Without Layer13 the pods never start the transition; the core still does.
    BossStageFixture::Hit(f.Body()->Part(11), 600.0f);
    f.Steps(5);
    EXPECT_FALSE(f.Body()->TransitionStarted());
    BossStageFixture::Hit(f.Body()->Part(2), 1900.0f);
    f.Steps(300);
    EXPECT_TRUE(f.Body()->InPhaseTwo());
    BossStageFixture::Hit(f.Body()->Part(4), 1200.0f);
    f.Steps(500);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
}

TEST(Boss2Missing, WithoutTheBrokenModelSectionsBreakAndKeepTheirMeshes) {
    Boss2StageFixture f(Boss2Nodes(), PlaceholderBossModels);
    ASSERT_TRUE(f.Start());
    ASSERT_NE(f.Body(), nullptr);
    EXPECT_EQ(f.Body()->Holder()->Slot(11), nullptr);
    f.JumpBefore(9595);
    f.StepToFrame(9602);
    Boss2LayerPart* pod = f.Part(11);
    ASSERT_NE(pod, nullptr);
    const auto* mesh = pod->DrawSet().Get();
    BossStageFixture::Hit(pod, 501.0f);
    f.Steps(40);
    EXPECT_EQ(f.Count("BossHittable", Hittable(11, 0).c_str()), 1);
    EXPECT_EQ(f.Part(11), pod);
    EXPECT_EQ(pod->DrawSet().Get(), mesh);
}

// The same fight twice: the same log and the same bullets.
std::vector<std::string> ScriptedFight(std::vector<BossShot>* shots) {
    Boss2StageFixture f;
    EXPECT_TRUE(f.Start());
    f.screen->SetTimeLimitEnabled(false);
    f.JumpBefore(9595);
    f.StepToFrame(9602 + 60);
    BossStageFixture::Hit(f.Body()->Part(11), 501.0f);
    f.JumpBefore(9602 + 880);
    f.StepToFrame(9602 + 1000);
    BossStageFixture::Hit(f.Body()->Part(3), 1801.0f);
    f.Steps(240);
    *shots = f.shots;
    return f.Lines();
}

TEST(Boss2Replay, TwoRunsGiveTheSameLogAndBullets) {
    std::vector<BossShot> first;
    std::vector<BossShot> second;
    const std::vector<std::string> a = ScriptedFight(&first);
    const std::vector<std::string> b = ScriptedFight(&second);
    EXPECT_EQ(a, b);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 1000u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].position.x, second[i].position.x);
        EXPECT_EQ(first[i].velocity.x, second[i].velocity.x);
        EXPECT_EQ(first[i].velocity.z, second[i].velocity.z);
        EXPECT_EQ(first[i].sprite, second[i].sprite);
        EXPECT_EQ(first[i].size, second[i].size);
    }
}

}  // namespace
}  // namespace mareldon
