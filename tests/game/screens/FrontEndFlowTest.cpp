// The attract loop, the titles, the shutter and the game-over screen on the
// real screens, headless.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "game/screens/GameOverScreen.h"
#include "game/screens/LoadingScreen.h"
#include "game/screens/LogoScreen.h"
#include "game/screens/MentojiScreen.h"
#include "game/screens/TitleScreen.h"
#include "game/system/IoEvent.h"
#include "tests/game/screens/FrontEndTestFixture.h"

namespace mareldon {
namespace {

using testing::ElementsAre;
using Event = std::pair<uint32_t, uint32_t>;

class FrontEndFlowTest : public testing::Test, public FrontEndFixture {};

int Count(const std::vector<int32_t>& effects, int32_t id) {
    return int(std::count(effects.begin(), effects.end(), id));
}

TEST_F(FrontEndFlowTest, AttractLoopGivesEachScreenItsSteps) {
    Start();
    ASSERT_GE(Until("logo1", 1000), 0);
    // Two drawn frames and an update: the load is on the second frame.
    EXPECT_EQ(scenes[1], std::make_pair(std::string("notice"), 3));
    EXPECT_THAT(Events(), ElementsAre(Event{IoEvent::kNoticeShown, 0}, Event{IoEvent::kNoticeEnded, 0}));
    ASSERT_GE(Until("logo2", 3000), 0);
    ASSERT_GE(Until("logo1", 10000), 0);
    // Spans: each screen's last update requests the next scene.
    const struct {
        const char* scene;
        int steps;
    } expected[] = {{"notice", 181}, {"logo1", 182},      {"logo2", 182},      {"demo", 1},
                    {"title1", 721}, {"demo-tut", 1801},  {"playdemo1", 1201}, {"ranking1", 902},
                    {"title2", 721}, {"playdemo2", 1201}, {"ranking2", 902}};
    ASSERT_GE(scenes.size(), std::size(expected) + 2);
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(scenes[i + 1].first, expected[i].scene);
        EXPECT_EQ(scenes[i + 2].second - scenes[i + 1].second, expected[i].steps) << expected[i].scene;
    }
    EXPECT_EQ(scenes[std::size(expected) + 1].first, "logo1");
}

TEST_F(FrontEndFlowTest, BootLoadsOnceOnItsSecondFrame) {
    Start();
    Tick();
    auto* boot = dynamic_cast<LoadingScreen*>(system->GetCurrentScene());
    ASSERT_NE(boot, nullptr);
    root.Draw();
    EXPECT_FALSE(system->AreResourcesLoaded());
    root.Draw();
    EXPECT_TRUE(system->AreResourcesLoaded());
    root.Draw();
    EXPECT_EQ(boot->GetDrawCount(), 3);
    Tick();
    EXPECT_EQ(system->GetCurrentSceneName(), "notice");
    // Built again with the flag set: it hands over on its first step.
    Jump("boot");
    Tick();
    EXPECT_EQ(system->GetCurrentSceneName(), "notice");
}

TEST_F(FrontEndFlowTest, CoinsBreakIntoLogosAndTitles) {
    Start();
    for (const char* scene : {"logo1", "logo2", "title1", "title2"}) {
        ASSERT_GE(Until("logo1"), 0);
        if (std::string(scene) != "logo1") {
            Jump(scene);
        }
        Steps(40);
        Press(0, SystemButton::kCoin);
        EXPECT_EQ(system->GetCurrentSceneName(), "titlestart") << scene;
        // Back to the attract loop without credits.
        system->ResetGame();
        system->ForceCreditsForTest(0);
        Jump("logo1");
    }
}

TEST_F(FrontEndFlowTest, LogoBreaksInWhileCoinsAreInButNotOnAStartThatNeedsACoin) {
    Start();
    ASSERT_GE(Until("logo1"), 0);
    Steps(5);
    Press(0, SystemButton::kStart);
    Press(1, SystemButton::kStart);
    EXPECT_EQ(system->GetCurrentSceneName(), "logo1");
    system->ForceCreditsForTest(1);
    Jump("logo2");
    Tick();
    EXPECT_EQ(system->GetCurrentSceneName(), "titlestart");
}

TEST_F(FrontEndFlowTest, LogoFadesFromWhiteAndBack) {
    for (const auto& [step, fade] :
         {std::pair{0, 1.0f}, {15, 0.5f}, {30, 0.0f}, {150, 0.0f}, {165, 0.5f}, {180, 1.0f}}) {
        EXPECT_FLOAT_EQ(LogoScreen::FadeAt(step), fade) << step;
    }
}

// A start on the attract title: in its first 31 steps it joins the player
// directly and takes the start lock; later it breaks in to "titlestart".
TEST_F(FrontEndFlowTest, StartOnTheTitleJoinsEarlyAndBreaksInLater) {
    const struct {
        int step;
        const char* next;
        bool joined;
    } cases[] = {{20, "titleshutter", true}, {30, "titleshutter", true}, {31, "titlestart", false}};
    for (const auto& c : cases) {
        Start();
        FreePlay();
        ASSERT_GE(Until("logo1"), 0);
        Jump("title1");
        Steps(c.step);
        SoundEffects().clear();
        Press(0, SystemButton::kStart);
        EXPECT_EQ(system->GetCurrentSceneName(), c.next) << c.step;
        EXPECT_EQ(system->IsPlayerInGame(1), c.joined) << c.step;
        EXPECT_EQ(Count(SoundEffects(), 7), c.joined ? 1 : 0) << c.step;
        EXPECT_EQ(system->GetStartLock(), c.joined ? 1 : 0) << c.step;
        delete system;
        system = nullptr;
    }
}

TEST_F(FrontEndFlowTest, TitleStartJoinsBothPlayersOnceAfterItsFirst31Steps) {
    Start();
    ASSERT_GE(Until("logo1"), 0);
    system->ForceCreditsForTest(2);
    Tick();
    ASSERT_EQ(system->GetCurrentSceneName(), "titlestart");
    inputs.masks[0].pressed = inputs.masks[1].pressed = SystemButton::kStart;
    Steps(31);  // steps 0 to 30 ignore it
    EXPECT_EQ(system->GetCurrentSceneName(), "titlestart");
    EXPECT_FALSE(system->IsPlayerInGame(1));
    Tick();
    inputs.masks[0].pressed = inputs.masks[1].pressed = 0;
    EXPECT_EQ(system->GetCurrentSceneName(), "titleshutter");
    EXPECT_TRUE(system->IsPlayerInGame(1));
    EXPECT_TRUE(system->IsPlayerInGame(2));
    EXPECT_EQ(system->GetStartLock(), 1);
    // The tutorial gives the lock back when it goes, after its exit countdown under
    // the shutter.
    ASSERT_GE(Until("tutorialshutter"), 0);
    EXPECT_EQ(system->GetStartLock(), 1);
    ASSERT_GE(Until("shipselect"), 0);
    EXPECT_EQ(system->GetStartLock(), 0);
}

TEST_F(FrontEndFlowTest, TitleLingersNineteenSweepsUnderTheShutter) {
    Start();
    FreePlay();
    ASSERT_GE(Until("logo1"), 0);
    Jump("title1");
    Steps(5);
    const int32_t before = system->childCount;
    Press(0, SystemButton::kStart);
    ASSERT_EQ(system->GetCurrentSceneName(), "titleshutter");
    EXPECT_EQ(system->childCount, before + 1) << "the title lies under the shutter";
    Steps(18);
    EXPECT_EQ(system->childCount, before + 1);
    Tick();
    EXPECT_EQ(system->childCount, before) << "gone at the 20th sweep";
}

TEST_F(FrontEndFlowTest, PromptBlinksAndCountsTheMissingCoins) {
    Start();
    TitleScreen::PromptSprite out[4];
    // No coins: nothing, on either title.
    ASSERT_EQ(system->GetCoinUnits(), 0);
    EXPECT_EQ(TitleScreen::CollectPrompt(*system, false, 32, out), 0);
    system->AddCoin();
    for (const auto& [step, count] :
         {std::pair{31, 0}, {32, 2}, {63, 2}, {64, 0}, {96, 2}, {127, 2}, {128, 0}}) {
        EXPECT_EQ(TitleScreen::CollectPrompt(*system, false, step, out), count) << step;
    }
    EXPECT_EQ(out[0].sprite, TitleScreen::kPressStart);
    // Twelve coins a credit: one in, eleven missing, shown as 9.
    OperatingSettings settings = system->GetOperatingSettings();
    settings.coins = 12;
    system->StoreOperatingSettings(settings);
    ASSERT_EQ(system->CoinsToNextCredit(), 11);
    ASSERT_EQ(TitleScreen::CollectPrompt(*system, true, 32, out), 4);
    EXPECT_EQ(out[1].sprite, TitleScreen::kDigit0 + 9);
    EXPECT_FLOAT_EQ(out[1].x, 0.41f);
    // Free play: the title-start screen asks for start; the attract title
    // still shows the coin line, with nothing missing.
    settings.playMode = 1;
    system->StoreOperatingSettings(settings);
    EXPECT_EQ(TitleScreen::CollectPrompt(*system, true, 32, out), 2);
    ASSERT_EQ(TitleScreen::CollectPrompt(*system, false, 32, out), 4);
    EXPECT_EQ(out[1].sprite, TitleScreen::kDigit0);
}

TEST_F(FrontEndFlowTest, ShutterSoundsAtEighteenAndTwentyFiveAndHandsOverAtTwentyTwo) {
    Start();
    ASSERT_GE(Until("logo1"), 0);
    Jump("prevstage");
    auto* shutter = dynamic_cast<MentojiScreen*>(system->GetCurrentScene());
    ASSERT_NE(shutter, nullptr);
    const int32_t children = system->childCount;
    std::vector<int> sounded;
    int requested = -1;
    for (int update = 0; update < 40; ++update) {
        SoundEffects().clear();
        Tick();
        if (Count(SoundEffects(), MentojiScreen::kSe) > 0) {
            sounded.push_back(update);
        }
        if (requested < 0 && system->GetCurrentScene() != shutter) {
            requested = update;
        }
    }
    EXPECT_THAT(sounded, ElementsAre(18, 25));
    EXPECT_EQ(requested, 22);
    EXPECT_EQ(scenes[scenes.size() - 2], std::make_pair(std::string("actualgame"), scenes.back().second - 3));
    EXPECT_EQ(system->childCount, children) << "deleted after its 40th update";
}

TEST_F(FrontEndFlowTest, ShutterCurve) {
    const struct {
        int step;
        float y, alpha;
    } cases[] = {{0, 320.0f - 585.0f, 0.0f}, {19, 320.0f - 214.5f, 0.95f}, {20, 320.0f, 1.0f},
                 {24, 320.0f, 1.0f},         {25, 320.0f, 1.0f},           {31, 560.0f, 0.6f},
                 {40, 920.0f, 0.0f}};
    for (const auto& c : cases) {
        const MentojiScreen::Placement at = MentojiScreen::PlacementAt(c.step, 320.0f);
        EXPECT_FLOAT_EQ(at.y, c.y) << c.step;
        EXPECT_NEAR(at.alpha, c.alpha, 1e-6f) << c.step;
    }
}

// Game over holds the start lock for its whole life and picks its next scene at step 180.
TEST_F(FrontEndFlowTest, GameOverLeadsToTheRankingOrTheTitleAndBlocksStartsUntilItIsGone) {
    const struct {
        bool pair;
        bool coin;
        const char* next;
    } cases[] = {{false, false, "ranking1"}, {true, false, "ranking2"}, {false, true, "titlestart"}};
    for (const auto& c : cases) {
        saves.files.clear();  // no settings from the case before
        Start();
        if (!c.coin) {
            FreePlay();  // so that a player could start once it is gone
        }
        ASSERT_GE(Until("logo1"), 0);
        system->SetPairMode(c.pair);
        Jump("gameover");
        auto* over = dynamic_cast<GameOverScreen*>(system->GetCurrentScene());
        ASSERT_NE(over, nullptr);
        EXPECT_EQ(over->GetSuccessorName(), c.pair ? "ranking2" : "ranking1");
        SoundEffects().clear();
        for (int update = 1; update <= 181; ++update) {
            if (c.coin && update == 100) {
                Press(0, SystemButton::kCoin);
            } else {
                Tick();
            }
            EXPECT_FALSE(system->CanPlayerStart(1)) << update;
            if (update == 60) {
                EXPECT_EQ(over->GetPictureAlpha(), 0.0f);
            }
            if (update == 61) {
                EXPECT_GT(over->GetPictureAlpha(), 0.0f);
            }
        }
        EXPECT_EQ(Count(SoundEffects(), GameOverScreen::kSe), 1);
        EXPECT_EQ(system->GetCurrentSceneName(), c.next) << c.next;
        Steps(58);
        EXPECT_FALSE(system->CanPlayerStart(1)) << "still there after 239 updates";
        Tick();
        EXPECT_TRUE(system->CanPlayerStart(1)) << "gone after its 240th";
        EXPECT_EQ(system->GetStartLock(), 0);
        delete system;
        system = nullptr;
    }
}

TEST_F(FrontEndFlowTest, UnmatchedStartLockReleasesStayAtZero) {
    Start();
    system->ReleaseStartLock();
    EXPECT_EQ(system->GetStartLock(), 0);
    system->AddStartLock();
    EXPECT_EQ(system->ReleaseStartLock(), 0);
}

TEST_F(FrontEndFlowTest, MissingEndingMoviesHandOverAtOnce) {
    Start();
    for (const auto& [scene, next] : {std::pair{"ending?", "gameover"}, {"ending", "allclear"}}) {
        ASSERT_GE(Until("logo1"), 0);
        Jump(scene);
        Tick();
        EXPECT_EQ(system->GetCurrentSceneName(), next) << scene;
        Jump("logo1");
    }
}

}  // namespace
}  // namespace mareldon
