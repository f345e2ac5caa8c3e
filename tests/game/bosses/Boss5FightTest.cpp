#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/bosses/Boss5Fixture.h"

namespace mareldon {
namespace {

using Kind = Boss5WeakPoint::Kind;

int32_t Entries(const WorldEventLog& log, const char* operation, const std::string& prefix) {
    int32_t n = 0;
    for (const WorldEvent& e : log.Events())
        n += e.operation == operation && e.arguments.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

TEST(Boss5Fight, MandalaStaysHiddenAndSilentUntilTheBallHandsOver) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    Boss5Body* ball = f.Ball();
    Boss5MandaraLayerPart0* centre = f.Centre();
    Boss5MandaraLayerPart22* ring = f.Ring();
    ASSERT_NE(centre, nullptr);
    ASSERT_NE(ring, nullptr);
    for (Boss5Slot slot : {Boss5Slot::kMedarion5Boss})
        EXPECT_NE(centre->Muzzle(slot), nullptr);
    for (int s = int(Boss5Slot::kUCyuou); s <= int(Boss5Slot::kInazuma17_20); ++s)
        EXPECT_NE(ring->Muzzle(Boss5Slot(s)), nullptr) << s;
    EXPECT_NE(ball->Muzzle(Boss5Slot::kChusin1), nullptr);
    EXPECT_NE(ball->Marker(), nullptr);
    ASSERT_NE(ball->WeakPoint(), nullptr);
    ASSERT_NE(centre->WeakPoint(), nullptr);

    const int32_t start = f.StepOf("BossEvent", "ball.start 11400");
    EXPECT_EQ(f.StepOf("BossPatternStart", "chusin1.0"), start);
    EXPECT_EQ(f.StepOf("BossPatternStart", "chusin1.1"), start);
    EXPECT_EQ(f.StepOf("BossHittable", "ba_05_4hikari_dama:Layer2 1"), start);
    f.Steps5(130);
    EXPECT_GT(f.StepOf("BossPatternStart", "chusin1.2"), start);
    // Held hidden: nothing of the mandala updates or draws.
    for (Boss5MandalaPart* part :
         {static_cast<Boss5MandalaPart*>(centre), static_cast<Boss5MandalaPart*>(ring)}) {
        EXPECT_EQ(part->heldHidden, 1);
        EXPECT_EQ(part->nodeChildren, 0);
        EXPECT_EQ(part->nodeDrawSelf, 0);
    }
    EXPECT_EQ(Entries(f.log, "BossEvent", "centre."), 0);
    EXPECT_EQ(Entries(f.log, "BossEvent", "ring."), 0);
    EXPECT_EQ(Entries(f.log, "BossPatternStart", "medarion5."), 0);

    BossStageFixture::Hit(ball->WeakPoint(), 4501.0f);
    const int32_t begin = f.StepUntilEntry("BossEvent", "ball.defeat.begin 0", 5);
    ASSERT_GT(begin, 0);
    EXPECT_EQ(f.StepOf("BossHittable", "ba_05_4hikari_dama:Layer2 0"), begin);
    EXPECT_EQ(Entries(f.log, "BossPatternStop", "chusin1."), 12);
    // Giving up at 38 seconds during the defeat does not start it over.
    f.screen->SetTimeLeft(38.0f);
    f.Steps5(2);
    EXPECT_EQ(f.Ball()->timedOut, 1);
    EXPECT_EQ(f.Count("BossEvent", "ball.defeat.begin 0"), 1);
    const int32_t handover = f.StepUntilEntry("BossEvent", "ball.defeat.handover 360");
    EXPECT_EQ(handover - begin, 360);
    EXPECT_EQ(f.StepOf("BossEvent", "ball.defeat.home 180") - begin, 180);
    EXPECT_EQ(f.StepOf("PlaySe", "5"), begin + 240);
    EXPECT_EQ(ball->Marker()->flag, 1);
    EXPECT_EQ(ball->hidden, 1);
    EXPECT_EQ(f.StepOf("BossHidden", "ba_05_1mandara:Layer0 0"), handover);
    EXPECT_EQ(f.StepOf("BossHidden", "ba_05_1mandara:Layer22 0"), handover);
    EXPECT_EQ(centre->nodeChildren, 1);
    f.Steps5(2);
    EXPECT_NE(centre->model, nullptr);
    const int32_t attack = f.StepUntilEntry("BossEvent", "centre.appear.attack 180");
    EXPECT_EQ(f.StepOf("BossEvent", "ring.appear.attack 180"), attack);
    EXPECT_EQ(f.StepOf("BossPatternStart", "U_cyuou.0"), attack);
    EXPECT_EQ(f.StepOf("BossHittable", "ba_05_1mandara:Layer1 1"), attack);
    // Frame 180 of the appearance, counted on the stage clock (which may show a frame twice).
    EXPECT_NEAR(attack - handover, 181, 2);
    f.StepUntilEntry("BossPatternStart", "medarion5.0", 200);
    EXPECT_GT(f.StepOf("BossPatternStart", "medarion5.0"), attack);
    // The ball went on its way home and stays hidden.
    f.Steps5(30);
    EXPECT_EQ(ball->heldHidden, 1);
    EXPECT_EQ(ball->Clock()->timeScale, 0.0f);
}

// The world root's teardown may take the home object before the stage scene and the ball.
TEST(Boss5Fight, TheHomeGoingBeforeTheBallLeavesNoDanglingPointer) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    Boss5Body* ball = f.Ball();
    BossStageFixture::Hit(ball->WeakPoint(), 4501.0f);
    ASSERT_GT(f.StepUntilEntry("BossEvent", "ball.defeat.home 180", 400), 0);
    ASSERT_NE(ball->home, nullptr);
    delete ball->home;
    EXPECT_EQ(ball->home, nullptr);
    // Homing without a home stands still; the ball's own end deletes nothing twice.
    f.Steps5(3);
    EXPECT_EQ(ball->homing, 1);
}

TEST(Boss5Fight, TimeMarksStopTheBallThenHandOverAndTheCentreTimesOutIntoOneClear) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    f.Steps5(10);
    f.screen->SetTimeLeft(40.0f);
    f.Step5();
    EXPECT_EQ(Entries(f.log, "BossPatternStop", "chusin1."), 12);
    EXPECT_TRUE(f.Ball()->attack->IsStopped());
    EXPECT_EQ(f.Ball()->attackTimedOut, 1);
    const int32_t starts = Entries(f.log, "BossPatternStart", "chusin1.");
    f.Steps5(90);
    EXPECT_EQ(Entries(f.log, "BossPatternStart", "chusin1."), starts);
    EXPECT_EQ(Entries(f.log, "BossEvent", "ball.defeat"), 0);

    f.screen->SetTimeLeft(38.0f);
    const int32_t begin = f.StepUntilEntry("BossEvent", "ball.defeat.begin 0", 3);
    ASSERT_GT(begin, 0);
    // Damage after giving up does not start the defeat over.
    BossStageFixture::Hit(f.Ball()->WeakPoint(), 5000.0f);
    const int32_t attack = f.StepUntilEntry("BossEvent", "centre.appear.attack 180");
    ASSERT_GT(attack, 0);
    EXPECT_EQ(f.Count("BossEvent", "ball.defeat.begin 0"), 1);

    Boss5MandaraLayerPart0* centre = f.Centre();
    f.screen->SetTimeLeft(0.5f);
    const int32_t defeat = f.StepUntilEntry("BossEvent", "centre.defeat.begin 0", 3);
    ASSERT_GT(defeat, 0);
    const int32_t defeatFrame = centre->GetStepCount();
    EXPECT_EQ(centre->timedOut, 1);
    EXPECT_EQ(f.StepOf("BossEvent", "ring.defeat.begin 0"), defeat);
    EXPECT_GE(f.StepOf("CancelAllEnemyBullets"), 0);
    EXPECT_FALSE(f.screen->IsTimeLimitEnabled());
    // Ignored once timed out.
    BossStageFixture::Hit(centre->WeakPoint(), 6000.0f);
    f.StepUntilEntry("BeginStageClear", nullptr, 400);
    // 360 frames of the centre's clock.
    EXPECT_EQ(centre->GetStepCount() - defeatFrame, 360);
    EXPECT_EQ(f.Count("BossEvent", "centre.damage.5500 5500"), 0);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(centre->cleared, 1);
    EXPECT_EQ(f.Ring()->stopped, 1);
}

TEST(Boss5Fight, CentreBeatenStopsTheRingAndClears360FramesLater) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    BossStageFixture::Hit(f.Ball()->WeakPoint(), 4501.0f);
    ASSERT_GT(f.StepUntilEntry("BossEvent", "centre.appear.attack 180"), 0);
    f.JumpStage(1000);
    f.Steps5(2);
    EXPECT_GT(f.StepOf("BossPatternStart", "15_18_inazuma.1"), 0);
    Boss5WeakPoint* trigger = f.WeakPoint(Kind::kRingTrigger);
    ASSERT_NE(trigger, nullptr);
    BossStageFixture::Hit(f.Centre()->WeakPoint(), 5500.0f);
    f.Step5();
    EXPECT_EQ(f.StepOf("BossEvent", "centre.defeat.begin 0"), -1);
    BossStageFixture::Hit(f.Centre()->WeakPoint(), 1.0f);
    const int32_t defeat = f.StepUntilEntry("BossEvent", "centre.defeat.begin 0", 3);
    ASSERT_GT(defeat, 0);
    const int32_t defeatFrame = f.Centre()->GetStepCount();
    EXPECT_EQ(f.Centre()->beaten, 1);
    EXPECT_EQ(f.StepOf("BossEvent", "ring.defeat.begin 0"), defeat);
    EXPECT_EQ(f.StepOf("BossHittable", "ba_05_1mandara:Layer1 0"), defeat);
    for (const char* stopped : {"U_cyuou.3", "15_18_inazuma.2", "17_20_inazuma.3"})
        EXPECT_GE(f.StepOf("BossPatternStop", stopped), defeat) << stopped;
    f.StepUntilEntry("BeginStageClear", nullptr, 400);
    EXPECT_EQ(f.Centre()->GetStepCount() - defeatFrame, 360);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    // The trigger never entered the target list, hittable as it is.
    EXPECT_EQ(trigger->hittable, 1);
    EXPECT_EQ(trigger->everRegistered, 0);
    EXPECT_EQ(f.Count("BossEvent", "ring.trigger 1"), 0);
}

TEST(Boss5Fight, WithoutARingTheCentresDefeatStillClears) {
    Boss5StageFixture f;
    ASSERT_TRUE(f.StartFight());
    auto* root = f.FindOne<Boss5MandaraLayerPart21>();
    ASSERT_NE(root, nullptr);
    // As a model without Layer22 leaves it: the ring slot empty.
    root->ring = nullptr;
    BossStageFixture::Hit(f.Ball()->WeakPoint(), 4501.0f);
    ASSERT_GT(f.StepUntilEntry("BossEvent", "centre.appear.attack 180"), 0);
    BossStageFixture::Hit(f.Centre()->WeakPoint(), 5501.0f);
    const int32_t defeat = f.StepUntilEntry("BossEvent", "centre.defeat.begin 0", 3);
    ASSERT_GT(defeat, 0);
    f.StepUntilEntry("BeginStageClear", nullptr, 400);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(f.Count("BossEvent", "ring.defeat.begin 0"), 0);
}

// The same fight twice: the same log and the same bullets.
std::vector<std::string> ScriptedFight(std::vector<BossShot>* shots) {
    Boss5StageFixture f;
    EXPECT_TRUE(f.StartFight());
    f.Steps5(150);
    BossStageFixture::Hit(f.Ball()->WeakPoint(), 4501.0f);
    f.StepUntilEntry("BossEvent", "centre.appear.attack 180");
    f.Steps5(150);
    std::vector<std::string> lines;
    for (const WorldEvent& e : f.log.Events())
        lines.push_back(std::to_string(e.step) + " " + e.operation + " " + e.arguments);
    *shots = f.shots;
    return lines;
}

TEST(Boss5Fight, TwoRunsGiveTheSameLogAndBullets) {
    std::vector<BossShot> first;
    std::vector<BossShot> second;
    const std::vector<std::string> a = ScriptedFight(&first);
    const std::vector<std::string> b = ScriptedFight(&second);
    EXPECT_EQ(a, b);
    ASSERT_EQ(first.size(), second.size());
    EXPECT_GT(first.size(), 1000u);
    size_t differing = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        if (first[i].velocity.x != second[i].velocity.x || first[i].velocity.z != second[i].velocity.z ||
            first[i].sprite != second[i].sprite)
            ++differing;
    }
    EXPECT_EQ(differing, 0u);
}

}  // namespace
}  // namespace mareldon
