// A whole game on the real screens and the placeholder data, headless: from the
// coin to the high-score list, each stage ended by its clear.
#include <gtest/gtest.h>

#include <string>

#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/render/archive/ResourceProxy.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/screens/EndingMovieScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/screens/RegisterScreens.h"
#include "game/screens/StageSelectScreen.h"
#include "game/screens/TutorialScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/system/RankingFile.h"
#include "game/testmode/RegisterTestMode.h"
#include "tests/game/system/ServicesFixture.h"
#include "tools/archive/PlaceholderMovies.h"

namespace mareldon {
namespace {

using Rules = StageSelectRules;

class WholeGameTest : public testing::Test, public ServicesFixture {
  protected:
    WholeGameTest() : ServicesFixture(MakeGameArchive(), 3, true) {
        RegisterStageObjects(nodes);
        RegisterBossObjects(nodes);
        scenes = SceneRegistry();
        RegisterScreens(scenes);
        RegisterTestMode(scenes);
        drawFirst = true;
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        auto& files = static_cast<MemoryFileSystem&>(*root.fileSystem).files;
        files[EndingMovieScreen::MovieName(1)] = MakePlaceholderMovie(EndingMovieScreen::MovieName(1));
        root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
    }

    void Boot() {
        GameSystemPorts ports = Ports();
        ports.createMovieDecoder = CreateAvMovieDecoder;
        system = new GameSystem(&root, ports);
    }
    bool Is(const char* scene) const {
        return system != nullptr && system->GetCurrentSceneName().Equals(scene);
    }
    // Steps until the scene is current; false when it never came.
    bool Until(const char* scene, int limit) {
        for (int i = 0; i < limit && !Is(scene); ++i)
            Step();
        return Is(scene);
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i)
            Step();
    }
    // One step with these buttons newly pressed on player 1's controls.
    void Press(uint32_t bits) {
        inputs.masks[0].pressed = inputs.masks[0].repeat = bits;
        Step();
        inputs.masks[0].pressed = inputs.masks[0].repeat = 0;
    }
    // Presses until the scene changes to `next`; the presses it took, or -1.
    int PressUntil(uint32_t bits, const char* next, int limit) {
        for (int i = 1; i <= limit; ++i) {
            Press(bits);
            if (Is(next))
                return i;
        }
        return -1;
    }

    StageNodeRegistry nodes;
    ScopedStageNodeRegistry scopedNodes{nodes};
};

// Low scores below three high ones, so the game's score lands fourth.
std::vector<uint8_t> LowRankingFile() {
    Rankings rankings;
    rankings.ResetRanking();
    rankings.ResetPairRanking();
    for (int i = 3; i < kRankingSize; ++i)
        rankings.single[size_t(i)].score = uint64_t(10 - i);
    return RankingFile::Encode(rankings);
}

TEST_F(WholeGameTest, CoinToRankingThroughSixClearedStages) {
    saves.files[RankingFile::kPath] = LowRankingFile();
    Boot();
    ASSERT_TRUE(Until("logo1", 1000));
    Press(SystemButton::kCoin);
    ASSERT_TRUE(Is("titlestart"));
    ASSERT_GT(PressUntil(SystemButton::kStart, "titleshutter", 60), 0);
    EXPECT_TRUE(system->IsPlayerInGame(1));

    // The tutorial takes a start from its 15th step.
    ASSERT_TRUE(Until("gamestart", 100));
    auto* tutorial = dynamic_cast<TutorialScreen*>(system->GetCurrentScene());
    ASSERT_NE(tutorial, nullptr);
    int skippedAt = -1;
    for (int i = 0; i < 40 && Is("gamestart"); ++i) {
        skippedAt = tutorial->GetStepCount();
        Press(SystemButton::kStart);
    }
    EXPECT_EQ(skippedAt, TutorialScreen::kSkipFrom);
    ASSERT_TRUE(Is("tutorialshutter"));

    // Ship 1, then VOLCANO.
    ASSERT_TRUE(Until("shipselect", 100));
    EXPECT_EQ(system->GetStartLock(), 0);
    auto* select = dynamic_cast<StageSelectScreen*>(system->GetCurrentScene());
    ASSERT_NE(select, nullptr);
    Steps(21);
    Press(Rules::kRight);
    Steps(24);
    Press(Rules::kConfirm);
    Step();
    ASSERT_EQ(select->Rules().phase, Rules::kStage);
    EXPECT_EQ(system->GetStartLock(), 1);
    Steps(16);
    Press(Rules::kRight);
    Press(Rules::kConfirm);
    EXPECT_EQ(system->GetGameMode(), 2);
    EXPECT_EQ(system->GetStartLock(), 0);
    ASSERT_TRUE(Until("nextstage", 40));
    EXPECT_EQ(system->GetPlayer(1).shipType, 1);

    // Six stages, VOLCANO's first: game mode 2 swaps the first two.
    const int expectedEntries[] = {2, 1, 3, 4, 5, 6};
    for (int stage = 1; stage <= 6; ++stage) {
        ASSERT_TRUE(Until("actualgame", 100)) << stage;
        auto* world = dynamic_cast<GameWorldScreen*>(system->GetCurrentScene());
        ASSERT_NE(world, nullptr);
        EXPECT_EQ(world->GetStageEntryIndex(), expectedEntries[stage - 1]) << stage;
        EXPECT_EQ(system->GetPlayingStage(), stage);
        Steps(30);
        ASSERT_TRUE(system->IsPlayerInGame(1)) << stage;
        // Nothing was shot down: the multiplier the bonus is paid at is set here.
        system->GetPlayer(1).multiplier = stage;
        const uint64_t before = system->GetPlayer(1).score;
        world->BeginStageClear();
        ASSERT_TRUE(Until("nextstage", 900)) << stage;
        EXPECT_GT(system->GetPlayer(1).score, before) << "the result pays, stage " << stage;
    }

    // The movie, skipped; the ending's name entry.
    ASSERT_TRUE(Until("ending", 100));
    EXPECT_NE(dynamic_cast<EndingMovieScreen*>(system->GetCurrentScene()), nullptr);
    Steps(10);
    ASSERT_TRUE(Is("ending")) << "the movie plays";
    Press(SystemButton::kStart);
    ASSERT_TRUE(Until("allclear", 5));
    EXPECT_EQ(system->GetStartLock(), 1);
    const uint64_t score = system->GetPlayer(1).score;
    Steps(70);
    for (uint32_t key : {ScreenButton::kFirst, ScreenButton::kRight, ScreenButton::kFirst,
                         ScreenButton::kRight, ScreenButton::kFirst, ScreenButton::kFirst}) {
        Press(key);
        Steps(3);
    }
    ASSERT_TRUE(Until("gameover", 400));
    ASSERT_TRUE(Until("ranking1", 300));

    const PlayerRecord& fourth = system->GetRankingEntry(3);
    EXPECT_STREQ(fourth.name.Text(), "ABC");
    EXPECT_EQ(fourth.score, score);
    EXPECT_EQ(fourth.shipType, 1);
    EXPECT_EQ(system->GetRankingEntry(4).score, 7u) << "the low scores move down";
    // The list shows the name's glyphs in the fourth row.
    Steps(800);
    auto* ranking = dynamic_cast<RankingScreen*>(system->GetCurrentScene());
    ASSERT_NE(ranking, nullptr);
    RankingRows::Item items[64];
    RankingRows::Band band;
    const int count = ranking->LayoutRow(3, items, band);
    std::string shown;
    for (int i = 0; i < count; ++i) {
        const int glyph = items[i].sprite - RankingRows::kNameGlyph0;
        if (glyph >= 0 && glyph < NameGlyphs::kCount)
            shown += NameGlyphs::Letter(glyph);
    }
    EXPECT_EQ(shown, "ABC");

    // Saved in its place.
    Rankings saved;
    const std::vector<uint8_t>& file = saves.files[RankingFile::kPath];
    ASSERT_TRUE(RankingFile::Decode(file.data(), file.size(), saved));
    EXPECT_STREQ(saved.single[3].name.Text(), "ABC");
    EXPECT_EQ(saved.single[3].score, score);

    // Nothing holds the start lock: a coin and a start begin a new game.
    EXPECT_EQ(system->GetStartLock(), 0);
    EXPECT_FALSE(system->IsPlayerInGame(1));
    Press(SystemButton::kCoin);
    ASSERT_TRUE(Is("titlestart"));
    ASSERT_GT(PressUntil(SystemButton::kStart, "titleshutter", 60), 0);
    EXPECT_TRUE(system->IsPlayerInGame(1));
}

}  // namespace
}  // namespace mareldon
