// The attract loop's world screens (demonstration play and rankings) and the
// ending, headless on the recording device over the placeholder archive, stepped
// at 60 steps a second in the main loop's order with scripted buttons.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/DemoPlayScreen.h"
#include "game/screens/EndingScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/system/RankingFile.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {
namespace {

class AttractScreensTest : public testing::Test, public ServicesFixture {
  protected:
    // A placeholder "demo-tut" asks for its successor on its 1801st update, as the tutorial does.
    AttractScreensTest() : ServicesFixture(MakeGameArchive(), 1801, true) {
        drawFirst = true;
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
    }
    ~AttractScreensTest() override {
        root.DeleteChildren();
        system = nullptr;
        root.screenTarget.Reset();
    }

    // One step, noting the scene when it changed.
    void Tick() {
        Step();
        ++steps;
        const std::string scene = system->GetCurrentSceneName().Text();
        if (!scene.empty() && (scenes.empty() || scenes.back().first != scene)) {
            scenes.emplace_back(scene, steps);
        }
    }
    bool Until(const char* scene, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (system->GetCurrentSceneName().Equals(scene)) {
                return true;
            }
            Tick();
        }
        return false;
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            Tick();
        }
    }
    void Press(int input, ButtonSet set) {
        inputs.masks[input] = set;
        Tick();
        inputs.masks[input] = {};
    }
    void Jump(const char* name) {
        system->GetCurrentScene()->RequestSuccessor(name);
        Tick();
    }
    template <typename Screen>
    Screen* Current() {
        return dynamic_cast<Screen*>(system->GetCurrentScene());
    }

    int steps = 0;
    std::vector<std::pair<std::string, int>> scenes;
};

// With no input the loop goes round once: each screen requests the next scene
// on its last update (titles 720 steps, tutorial 1800, demonstration 1200, the
// rankings when their clock shows 15 s), and no start lock is left behind.
TEST_F(AttractScreensTest, LoopWithoutInputGivesEachSceneItsSteps) {
    Start();
    ASSERT_TRUE(Until("logo1", 1000));
    float clockAtEnd[2] = {0.0f, 0.0f};
    float scrollAtEnd = 0.0f;
    for (int list = 0; list < 2; ++list) {
        ASSERT_TRUE(Until(list == 0 ? "ranking1" : "ranking2", 6000));
        RankingScreen* ranking = Current<RankingScreen>();
        ASSERT_NE(ranking, nullptr);
        EXPECT_EQ(ranking->GetListKind(), list);
        while (system->GetCurrentScene() == ranking) {
            Tick();
        }
        // The screen lingers for its exit countdown, so its clock can be read.
        clockAtEnd[list] = ranking->GetClockTime();
        scrollAtEnd = ranking->GetScrollY();
    }
    ASSERT_TRUE(Until("logo1", 2000));
    EXPECT_GT(steps, 7900);
    const struct {
        const char* scene;
        int steps;
    } expected[] = {{"logo1", 182},      {"logo2", 182},      {"demo", 1},       {"title1", 721},
                    {"demo-tut", 1801},  {"playdemo1", 1201}, {"ranking1", 902}, {"title2", 721},
                    {"playdemo2", 1201}, {"ranking2", 902},   {"logo1", -1}};
    size_t first = 0;
    while (first < scenes.size() && scenes[first].first != "logo1") {
        ++first;
    }
    ASSERT_EQ(scenes.size(), first + std::size(expected));
    for (size_t i = 0; i + 1 < std::size(expected); ++i) {
        EXPECT_EQ(scenes[first + i].first, expected[i].scene);
        EXPECT_EQ(scenes[first + i + 1].second - scenes[first + i].second, expected[i].steps)
            << expected[i].scene;
    }
    EXPECT_EQ(scenes.back().first, "logo1");
    for (float clock : clockAtEnd) {
        EXPECT_EQ(int(clock), RankingScreen::kClockSeconds);
    }
    EXPECT_FLOAT_EQ(scrollAtEnd, 96.0f);
    EXPECT_EQ(system->GetStartLock(), 0);
}

// A coin on player 1 breaks in from every attract scene; on the demonstration
// and the rankings a coin on player 2 does not, while the service switch let go
// on player 2 does, and so does a start once a credit is in.
TEST_F(AttractScreensTest, CoinsBreakInOnPlayerOneOnly) {
    Start();
    ASSERT_TRUE(Until("logo1", 1000));
    const ButtonSet coin{0, SystemButton::kCoin, 0, 0};
    const ButtonSet service{0, 0, 0, SystemButton::kService};
    const ButtonSet start{0, SystemButton::kStart, 0, 0};
    struct Case {
        const char* scene;
        int input;
        ButtonSet buttons;
        int credits;
        bool breaksIn;
    } const cases[] = {
        {"logo1", 0, coin, 0, true},       {"logo2", 0, coin, 0, true},
        {"title1", 0, coin, 0, true},      {"demo-tut", 0, coin, 0, true},
        {"playdemo1", 0, coin, 0, true},   {"ranking1", 0, coin, 0, true},
        {"title2", 0, coin, 0, true},      {"playdemo2", 0, coin, 0, true},
        {"ranking2", 0, coin, 0, true},    {"playdemo1", 1, coin, 0, false},
        {"ranking1", 1, coin, 0, false},   {"playdemo2", 1, coin, 0, false},
        {"ranking2", 1, coin, 0, false},   {"playdemo1", 1, service, 0, true},
        {"ranking2", 1, service, 0, true}, {"ranking1", 0, start, 0, false},
        {"ranking1", 1, start, 1, true},   {"playdemo2", 0, start, 1, true},
    };
    for (const Case& c : cases) {
        system->ForceCreditsForTest(c.credits);
        Jump(c.scene);
        ASSERT_TRUE(system->GetCurrentSceneName().Equals(c.scene));
        // During the rankings' scroll.
        Steps(40);
        Press(c.input, c.buttons);
        EXPECT_EQ(system->GetCurrentSceneName().Equals("titlestart"), c.breaksIn)
            << c.scene << " input " << c.input << " now " << system->GetCurrentSceneName().Text();
        system->ResetGame();
        system->ForceCreditsForTest(0);
        Jump("logo1");
    }
    EXPECT_EQ(system->GetStartLock(), 0);
}

// A ranking file from elsewhere, with a stage, ship types and names the sheet
// has no sprites for, is shown without harm: both lists draw every frame.
TEST_F(AttractScreensTest, DamagedRankingEntriesAreDrawnWithoutHarm) {
    Rankings rankings;
    rankings.ResetRanking();
    rankings.ResetPairRanking();
    PlayerRecord& odd = rankings.single[0];
    odd.name = "A";
    odd.stage = 0;
    odd.shipType = 9;
    rankings.single[1].name = "";
    rankings.single[1].stage = -4;
    rankings.single[1].shipType = -1;
    rankings.single[2].stage = 7;
    rankings.single[3].score = UINT64_MAX;
    rankings.pairs[0].first.name = "\x81";
    rankings.pairs[0].second.shipType = 12;
    rankings.pairs[0].first.score = UINT64_MAX;
    rankings.pairs[0].second.score = UINT64_MAX;
    saves.files[RankingFile::kPath] = RankingFile::Encode(rankings);
    Start();
    ASSERT_TRUE(Until("logo1", 1000));
    EXPECT_EQ(system->GetRankingEntry(0).name, "A");
    for (const char* scene : {"ranking1", "ranking2"}) {
        Jump(scene);
        RankingScreen* ranking = Current<RankingScreen>();
        ASSERT_NE(ranking, nullptr);
        ASSERT_TRUE(ranking->GetRankDrawer()) << "drawn on the screen target";
        Steps(720);
        RankingRows::Item items[RankingRows::kMaxItems];
        RankingRows::Band band{};
        const int count = ranking->LayoutRow(0, items, band);
        ASSERT_GT(count, 0);
        for (int i = 0; i < count; ++i) {
            EXPECT_NE(ranking->GetSprite(items[i].sprite), nullptr)
                << scene << ": " << RankingRows::SpriteName(items[i].sprite) << " is on the sheet";
        }
        EXPECT_FLOAT_EQ(ranking->GetScrollY(), 96.0f);
    }
    // Every sprite a row can name is on the placeholder sheet.
    RankingScreen* ranking = Current<RankingScreen>();
    for (int sprite = 0; sprite < RankingRows::kSpriteCount; ++sprite) {
        if (RankingRows::SpriteName(sprite)[0] != 0) {
            EXPECT_NE(ranking->GetSprite(sprite), nullptr) << RankingRows::SpriteName(sprite);
        }
    }
}

// The tutorial's messages are on their own sheet.
TEST_F(AttractScreensTest, MessageSheetHoldsNinePages) {
    SpriteSheet messages(root.renderer, "messe");
    for (int page = 1; page <= 9; ++page) {
        const std::string name = "messe_0" + std::to_string(page);
        EXPECT_NE(messages.FindOrNull(name.c_str()), nullptr) << name;
    }
}

// The demonstration requests its successor at step 1200 exactly; its notice
// alternates, and on free play stays "game over".
TEST_F(AttractScreensTest, DemonstrationRunsTwelveHundredSteps) {
    Start();
    ASSERT_TRUE(Until("logo1", 1000));
    Jump("playdemo2");
    DemoPlayScreen* demo = Current<DemoPlayScreen>();
    ASSERT_NE(demo, nullptr);
    EXPECT_TRUE(demo->AreBombsFree());
    EXPECT_EQ(demo->GetStageEntryIndex(), 2);
    for (int sprite = 0; sprite < DemoPlayHud::kSpriteCount; ++sprite) {
        EXPECT_NE(demo->GetSprite(sprite), nullptr) << DemoPlayHud::SpriteName(sprite) << " is on the sheet";
    }
    int ran = 0;
    bool insertCoin = false;
    while (system->GetCurrentScene() == demo && ran < 2000) {
        Tick();
        ++ran;
        insertCoin = insertCoin || demo->GetNotice().index == 1;
    }
    EXPECT_EQ(ran, 1201);
    EXPECT_TRUE(insertCoin) << "the notice alternates";
    EXPECT_EQ(demo->GetStepCount(), DemoPlayScreen::kSteps + 1);
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("ranking2"));

    // On free play it stays "game over".
    OperatingSettings settings = system->GetOperatingSettings();
    settings.playMode = 1;
    system->StoreOperatingSettings(settings);
    Jump("playdemo1");
    demo = Current<DemoPlayScreen>();
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->GetStageEntryIndex(), 3);
    for (int i = 0; i < 200; ++i) {
        Tick();
        ASSERT_EQ(demo->GetNotice().index, 0) << "step " << i;
    }
}

class EndingScreenTest : public AttractScreensTest {
  protected:
    // Players 1 and 2 (mask) in play with ranked scores, then the ending.
    void EnterEnding(int players) {
        Start();
        ASSERT_TRUE(Until("logo1", 1000));
        for (int mask = 1; mask <= 2; ++mask) {
            if (players & mask) {
                system->GetPlayer(mask).shipStock = 2;
                system->GetPlayer(mask).score = 90'000'000'000'000ull + uint64_t(mask);
            }
        }
        lockBefore = system->GetStartLock();
        Jump("allclear");
        ending = Current<EndingScreen>();
    }
    EndingScreen* ending = nullptr;
    int lockBefore = 0;
};

// With nobody in play the ending asks for "gameover" on its first update and
// lingers 180 steps; the start lock it took goes with it.
TEST_F(EndingScreenTest, WithNobodyInPlayItLeavesAtOnce) {
    EnterEnding(0);
    ASSERT_NE(ending, nullptr);
    EXPECT_EQ(system->GetStartLock(), lockBefore + 1);
    Tick();
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("gameover")) << system->GetCurrentSceneName().Text();
    // The sweep of the request's own step counted the first of the 180.
    EXPECT_EQ(ending->GetExitCountdown(), EndingScreen::kExitCountdown - 1);
    bool gone = false;
    int lived = 0;
    int lockWhileAlive = 0;
    while (!gone && lived < 400) {
        gone = true;
        TreeNode* node = system->firstChild;
        for (int32_t i = 0; i < system->childCount; ++i, node = node->next) {
            gone = gone && node != ending;
        }
        if (!gone) {
            lockWhileAlive = system->GetStartLock();
            Tick();
            ++lived;
        }
    }
    EXPECT_EQ(lived + 1, EndingScreen::kExitCountdown);
    EXPECT_EQ(system->GetStartLock(), lockWhileAlive - 1) << "released when it goes";
}

// Both players in play: each gets a name entry; the picture shows while either
// enters a name; "gameover" follows once both have finished. Key Y toggles the
// world's no-clear flag, so a stage clear starts only with it off.
TEST_F(EndingScreenTest, NameEntriesOfBothPlayersRunBeforeTheGameOver) {
    EnterEnding(3);
    ASSERT_NE(ending, nullptr);
    EXPECT_EQ(system->GetPlayer(1).shipStock, 0);
    EXPECT_TRUE(system->IsPlayerStatus12(1));
    EXPECT_TRUE(system->IsPlayerStatus12(2));
    EXPECT_TRUE(ending->IsShowingPicture());
    EXPECT_NE(ending->GetPicture(), nullptr) << "on the sheet \"ending\"";
    Steps(30);
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("allclear"));

    Press(0, ButtonSet{0, EndingScreen::kNoClearToggle, 0, 0});
    ending->BeginStageClear();
    EXPECT_TRUE(ending->IsNotCleared()) << "no clear while the flag is set";
    Press(0, ButtonSet{0, EndingScreen::kNoClearToggle, 0, 0});

    int waited = 0;
    while (system->GetCurrentSceneName().Equals("allclear") && waited < 20000) {
        Tick();
        ++waited;
    }
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("gameover")) << system->GetCurrentSceneName().Text();
    EXPECT_FALSE(system->IsPlayerStatus12(1));
    EXPECT_FALSE(system->IsPlayerStatus12(2));
    EXPECT_FALSE(ending->IsShowingPicture());
    EXPECT_EQ(system->GetRankingEntry(0).score, 90'000'000'000'002ull) << "both entered the ranking";
    EXPECT_EQ(system->GetRankingEntry(1).score, 90'000'000'000'001ull);
    // The flag was toggled back: the lingering world can clear again.
    ending->BeginStageClear();
    EXPECT_FALSE(ending->IsNotCleared());
}

}  // namespace
}  // namespace mareldon
