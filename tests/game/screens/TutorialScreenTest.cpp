// The tutorial replays on the recording device: skipping, lights from the replayed
// trace, pages, the start lock and the attract version's notice and break-ins.
#include <gtest/gtest.h>

#include <set>

#include "game/stage/StageTraces.h"
#include "tests/game/screens/StageSelectTestFixture.h"

namespace mareldon {
namespace {

constexpr uint32_t kUp = 0x1;
constexpr uint32_t kShot = 0x40;
constexpr uint32_t kBomb = 0x80;

class TutorialScreenTest : public testing::Test, public WorldScenesFixture {
  protected:
    TutorialScreenTest() : WorldScenesFixture("gamestart") {}
    TutorialReplayScreen& Tutorial() { return *static_cast<TutorialReplayScreen*>(screen); }
};

TEST_F(TutorialScreenTest, StartSkipsFromStep15AndTheEndReleasesTheLockAndClearsTheRecords) {
    ASSERT_TRUE(RunWith(1));
    system->AddStartLock();
    system->GetPlayer(1).score = 1234;
    system->GetPlayer(1).multiplier = 3;
    int before = 0;
    for (int i = 0; i < 30 && IsCurrent("gamestart"); ++i) {
        before = screen->GetStepCount();
        Press(SystemButton::kStart);
    }
    EXPECT_TRUE(IsCurrent("tutorialshutter"));
    EXPECT_EQ(before, TutorialScreen::kSkipFrom) << "the first press taken";
    EXPECT_EQ(system->GetStartLock(), 1) << "held until the replay goes";
    Steps(GameWorldScreen::kDefaultExitCountdown + 1);
    EXPECT_TRUE(gone);
    EXPECT_EQ(system->GetStartLock(), 0);
    EXPECT_EQ(system->GetPlayer(1).score, 0u);
    EXPECT_EQ(system->GetPlayer(1).multiplier, 0);
}

TEST_F(TutorialScreenTest, ReplayedTraceLightsTheButtonsAndTheLeverAndPagesRunTo9) {
    std::vector<uint32_t> words(100, 0);
    words[20] = kShot;
    for (int i = 40; i < 70; ++i)
        words[size_t(i)] = kUp | kBomb;
    Files().files[StageTraces::FileName("STAGE_HAJIME", 1).Text()] = TraceImage(0, words);
    UseInputManager();
    ASSERT_TRUE(RunWith(1));
    std::set<int> shotLights, bombLights, levers;
    int steps = 0;
    while (IsCurrent("gamestart") && steps < 2000) {
        Tick();
        ++steps;
        if (steps < 100) {
            shotLights.insert(Tutorial().Guide().shotLight);
            bombLights.insert(Tutorial().Guide().bombLight);
            levers.insert(Tutorial().Guide().LeverSprite());
        }
    }
    // A press lights a button at 15, which fades by 2 every other step (the
    // first fade may come in the same step).
    EXPECT_TRUE(shotLights.count(13)) << "a press lights the shot button";
    EXPECT_TRUE(shotLights.count(11)) << "and it fades";
    EXPECT_GE(*shotLights.rbegin(), 13);
    EXPECT_LE(*shotLights.rbegin(), 15);
    EXPECT_TRUE(bombLights.count(13));
    EXPECT_TRUE(bombLights.count(100) || bombLights.count(98)) << "held long enough to repeat";
    EXPECT_TRUE(levers.count(6)) << "up";
    EXPECT_TRUE(levers.count(1)) << "neutral";
    EXPECT_EQ(Tutorial().Guide().shotLight, 0);
    EXPECT_NEAR(screen->GetStepCount(), TutorialReplayScreen::kSteps, 2);
    EXPECT_TRUE(IsCurrent("tutorialshutter"));
    EXPECT_EQ(Tutorial().Guide().page, TutorialGuide::kPages - 1);
}

class DemoTutorialTest : public testing::Test, public WorldScenesFixture {
  protected:
    DemoTutorialTest() : WorldScenesFixture("demo-tut") {}
    DemoTutorialScreen& Demo() { return *static_cast<DemoTutorialScreen*>(screen); }
    // The notice indexes seen over `steps` steps.
    std::set<int> Notices(int steps) {
        std::set<int> seen;
        for (int i = 0; i < steps; ++i) {
            Step();
            seen.insert(Demo().NoticeIndex());
        }
        return seen;
    }
};

TEST_F(DemoTutorialTest, NoticeAlternatesUnlessFreePlay) {
    ASSERT_TRUE(RunWith(0));
    EXPECT_EQ(Notices(200), (std::set<int>{0, 1}));
}

TEST_F(DemoTutorialTest, FreePlayKeepsGameOver) {
    ASSERT_TRUE(RunWith(0));
    OperatingSettings settings = system->GetOperatingSettings();
    settings.playMode = 1;
    system->StoreOperatingSettings(settings);
    EXPECT_EQ(Notices(200).size(), 1u) << "it stays as it is";
}

TEST_F(DemoTutorialTest, PlayerOneCoinBreaksInButPlayerTwoCoinDoesNot) {
    ASSERT_TRUE(RunWith(0));
    Steps(5);
    Press(0, SystemButton::kCoin);
    EXPECT_TRUE(IsCurrent("demo-tut"));
    Press(SystemButton::kCoin);
    EXPECT_TRUE(IsCurrent("titlestart"));
}

TEST_F(DemoTutorialTest, ServiceReleasedOnEitherBreaksIn) {
    ASSERT_TRUE(RunWith(0));
    Steps(5);
    inputs.masks[1].released = SystemButton::kService;
    Step();
    inputs.masks[1].released = 0;
    EXPECT_TRUE(IsCurrent("titlestart"));
}

}  // namespace
}  // namespace mareldon
