// The join-in and name-entry overlays over a running scene, headless.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "game/screens/JoinInScreen.h"
#include "game/screens/NameEntryScreen.h"
#include "game/screens/NameGlyphs.h"
#include "game/screens/ResultTally.h"
#include "game/stage/GameWorldScreen.h"
#include "game/system/ResultWorld.h"
#include "game/system/SceneRegistry.h"
#include "tests/game/screens/FrontEndTestFixture.h"

namespace mareldon {
namespace {

class OverlayScreensTest : public testing::Test, public FrontEndFixture {
  protected:
    void SetUp() override {
        Start();
        ASSERT_GE(Until("logo1"), 0);
        // A screen without breaks in: the overlays run over it undisturbed.
        Jump("demo-tut");
        PlaceholderScreen::stepsToRun = 100000;
        Jump("demo-tut");
        // The first tutorial replay runs out its exit countdown.
        Steps(GameWorldScreen::kDefaultExitCountdown);
    }
    int Effects(int id) const { return int(std::count(SoundEffects().begin(), SoundEffects().end(), id)); }
    // The overlay of that type among the game system's children, or null.
    template <typename Overlay>
    Overlay* Find() {
        TreeNode* child = system->firstChild;
        for (int32_t i = 0; i < system->childCount; ++i, child = child->next) {
            if (auto* overlay = dynamic_cast<Overlay*>(static_cast<TaskObject*>(child))) {
                return overlay;
            }
        }
        return nullptr;
    }
};

TEST(JoinInScreenTest, ChoicesSkipThePartnersShip) {
    const struct {
        int partner;
        int ships[3];
    } cases[] = {{0, {1, 2, 3}}, {3, {0, 1, 2}}, {1, {0, 2, 3}}, {2, {0, 1, 3}}};
    for (const auto& c : cases) {
        for (int choice = 0; choice < 3; ++choice) {
            EXPECT_EQ(JoinInScreen::ShipForChoice(choice, c.partner), c.ships[choice]) << c.partner;
        }
    }
}

TEST_F(OverlayScreensTest, JoinInWithoutInputTakesItsChoiceAfter1259Steps) {
    system->GetPlayer(1).shipType = 0;
    system->GetPlayer(2).shipType = 3;
    const int32_t children = system->childCount;
    new JoinInScreen(system, 2);
    EXPECT_EQ(system->GetPlayerStatus(2), 13);
    Steps(JoinInScreen::kTimer - 1);
    ASSERT_NE(Find<JoinInScreen>(), nullptr);
    EXPECT_EQ(Find<JoinInScreen>()->GetTimer(), 1);
    Tick();
    EXPECT_EQ(Find<JoinInScreen>(), nullptr);
    EXPECT_EQ(system->childCount, children);
    EXPECT_EQ(system->GetPlayer(2).shipType, 1) << "choice 0 with the partner on ship 0";
    EXPECT_NE(system->GetPlayerStatus(2), 13);
}

TEST_F(OverlayScreensTest, JoinInIgnoresItsFirst30StepsThenMovesAndWraps) {
    auto* join = new JoinInScreen(system, 1);
    Press(0, ScreenButton::kLeft);
    EXPECT_EQ(join->GetChoice(), 0) << "too early";
    Steps(29);
    SoundEffects().clear();
    Press(0, ScreenButton::kLeft);
    EXPECT_EQ(join->GetChoice(), 2);
    Press(0, ScreenButton::kRight);
    EXPECT_EQ(join->GetChoice(), 0);
    EXPECT_EQ(Effects(JoinInScreen::kMoveSe), 2);
    // Both confirming buttons in one step: two confirm sounds, one choice.
    system->GetPlayer(2).shipType = 0;
    Press(0, ScreenButton::kFirst | ScreenButton::kStart);
    EXPECT_EQ(Effects(JoinInScreen::kConfirmSe), 2);
    EXPECT_EQ(Find<JoinInScreen>(), nullptr);
    EXPECT_EQ(system->GetPlayer(1).shipType, 1);
}

TEST_F(OverlayScreensTest, JoinInFreezesWhileStartsAreBlocked) {
    auto* join = new JoinInScreen(system, 2);
    Steps(100);
    system->SetStartBlocked(true);
    Steps(2000);
    EXPECT_EQ(join->GetTimer(), JoinInScreen::kTimer);
    Press(1, ScreenButton::kStart);
    EXPECT_EQ(Find<JoinInScreen>(), join) << "no input while blocked";
    system->SetStartBlocked(false);
    Steps(10);
    EXPECT_EQ(join->GetTimer(), JoinInScreen::kTimer - 10);
}

// Scripts the name entry's controls: steps the slot's letter to `letter` and confirms it.
void EnterLetter(FrontEndFixture& f, const NameEntryScreen& entry, int input, char letter) {
    while (NameGlyphs::Letter(entry.GetEditor().Letter(entry.GetEditor().Cursor())) != letter) {
        f.Press(input, ScreenButton::kDown);
    }
    f.Press(input, ScreenButton::kFirst);
}

TEST_F(OverlayScreensTest, NameEntryStoresTheNameRanksItThenCountsDownTheContinue) {
    PlayerRecord& player = system->GetPlayer(1);
    player.score = 5000000000000u;
    system->StartNameEntry(1);
    auto* entry = Find<NameEntryScreen>();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetState(), NameEntryScreen::kNameEntry);
    EXPECT_EQ(system->GetPlayerStatus(1), 12);
    Steps(61);  // controls count once the timer is below 1140
    for (char letter : {'A', 'B', 'C'}) {
        EnterLetter(*this, *entry, 0, letter);
    }
    EXPECT_EQ(entry->GetEditor().Cursor(), 3);
    Press(0, ScreenButton::kFirst);  // on the end mark
    EXPECT_EQ(entry->GetState(), NameEntryScreen::kNameShown);
    EXPECT_EQ(player.name, "ABC");
    int ranked = 0;
    for (int i = 0; i < 10; ++i) {
        ranked +=
            system->GetRankingEntry(i).name == "ABC" && system->GetRankingEntry(i).score == player.score;
    }
    EXPECT_EQ(ranked, 1);
    Steps(58);  // the commit's own step counts the first of the 60
    EXPECT_EQ(entry->GetState(), NameEntryScreen::kNameShown);
    Tick();
    EXPECT_EQ(entry->GetState(), NameEntryScreen::kContinue);
    EXPECT_GE(system->GetPlayerStatus(1), 9);
    EXPECT_LE(system->GetPlayerStatus(1), 11);
    Steps(NameEntryScreen::kContinueTimer + 1);
    EXPECT_EQ(Find<NameEntryScreen>(), nullptr);
    EXPECT_EQ(player.playCount, 0);
    EXPECT_EQ(system->GetPlayerFlags(1)[0] + system->GetPlayerFlags(1)[1], 0);
}

TEST_F(OverlayScreensTest, NameEntryTimedOutKeepsWhatWasConfirmed) {
    const struct {
        int confirmed;
        const char* name;
    } cases[] = {{0, "ZEV"}, {1, "A  "}, {2, "AA "}};
    for (const auto& c : cases) {
        system->ResetGame();
        system->GetPlayer(1).score = 9000000000000u;
        system->StartNameEntry(1);
        auto* entry = Find<NameEntryScreen>();
        ASSERT_NE(entry, nullptr);
        Steps(61);
        for (int i = 0; i < c.confirmed; ++i) {
            Press(0, ScreenButton::kFirst);
        }
        Steps(NameEntryScreen::kNameTimer - 61 - c.confirmed - 1);
        EXPECT_EQ(entry->GetState(), NameEntryScreen::kNameEntry);
        Tick();
        EXPECT_EQ(entry->GetState(), NameEntryScreen::kNameShown);
        EXPECT_EQ(system->GetPlayer(1).name, c.name);
        delete entry;
    }
}

TEST_F(OverlayScreensTest, ContinueCountdownRestartsOnCoinsAndShortensOnTheButton) {
    system->StartNameEntry(1);  // a score of 0 does not rank
    auto* entry = Find<NameEntryScreen>();
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->GetState(), NameEntryScreen::kContinue);
    Steps(179);
    EXPECT_EQ(Effects(NameEntryScreen::kCountSe), 2) << "at 20 and 19 seconds shown";
    Press(0, ScreenButton::kFirst);
    EXPECT_EQ(entry->GetContinueTimer(), 1079) << "too early to shorten";
    Press(0, ScreenButton::kFirst);
    EXPECT_EQ(entry->GetContinueTimer(), 1020) << "to the start of the second";
    Press(0, SystemButton::kCoin);
    EXPECT_EQ(entry->GetContinueTimer(), NameEntryScreen::kContinueTimer - 1);
}

TEST_F(OverlayScreensTest, NameEntryEndsAtOnceWhenNotRankedAndNoContinue) {
    OperatingSettings settings = system->GetOperatingSettings();
    settings.continueEnabled = 0;
    system->StoreOperatingSettings(settings);
    system->GetPlayer(1).playCount = 2;
    system->StartNameEntry(1);
    ASSERT_NE(Find<NameEntryScreen>(), nullptr);
    Tick();
    EXPECT_EQ(Find<NameEntryScreen>(), nullptr);
    EXPECT_EQ(system->GetPlayer(1).playCount, 0) << "the next start is a new game";
}

TEST_F(OverlayScreensTest, PairIsRankedOnceWhenTheSecondPlayerCommits) {
    system->SetPairMode(true);
    for (int mask : {1, 2}) {
        system->GetPlayer(mask).score = 6500000000000u;
    }
    system->SavePlayerRecords();
    system->StartNameEntry(3);
    Steps(61);
    auto pairsWithKey = [this](uint64_t key) {
        int count = 0;
        for (int i = 0; i < 10; ++i) {
            count += system->GetPairRankingEntry(i).Key() == key ? 1 : 0;
        }
        return count;
    };
    Press(0, ScreenButton::kStart);
    EXPECT_EQ(pairsWithKey(13000000000000u), 0) << "the first commit only marks the pair";
    Steps(10);
    Press(1, ScreenButton::kStart);
    EXPECT_EQ(pairsWithKey(13000000000000u), 1);
    Steps(2000);
    EXPECT_EQ(pairsWithKey(13000000000000u), 1);
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// The world screen as the result overlay sees it.
class FakeWorld : public SystemTask, public ResultWorld {
  public:
    explicit FakeWorld(GameSystem* owner) : SystemTask(owner, 0) {}
    int32_t GetClearTime() const override { return 140; }
    int32_t GetKillPercent(uint32_t) const override { return 100; }
    void AddScore64(uint32_t mask, int64_t value) override {
        owner->GetPlayer(int(mask)).score +=
            uint64_t(value) * uint64_t(owner->GetPlayer(int(mask)).multiplier);
    }
    void AddScoreRaw(uint32_t mask, uint64_t value) override { owner->GetPlayer(int(mask)).score += value; }
    void StopStageMusic() override { ++musicStops; }
    int musicStops = 0;
};

TEST_F(OverlayScreensTest, ResultOverlayPaysIntoTheWorldAndHoldsTheStartLock) {
    PlayerRecord& player = system->GetPlayer(1);
    player.shipStock = 2;  // in play
    player.multiplier = 2;
    system->SetStartBlocked(true);
    auto* world = new FakeWorld(system);
    ASSERT_NE(system->GetScenes()->stageResult, nullptr);
    system->GetScenes()->stageResult(*world, *world);
    EXPECT_EQ(system->GetStartLock(), 1);
    SoundEffects().clear();
    Steps(60 * 11);
    EXPECT_EQ(player.score, uint64_t{2} * 1500000000);
    EXPECT_EQ(world->musicStops, 1);
    EXPECT_EQ(Effects(ResultTally::kCountSe), 20);
    delete world;
    EXPECT_EQ(system->GetStartLock(), 0);
    EXPECT_FALSE(system->IsStartBlocked());
}

}  // namespace
}  // namespace mareldon
