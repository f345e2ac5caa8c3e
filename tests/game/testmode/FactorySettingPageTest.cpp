#include "game/testmode/FactorySettingPage.h"

#include <gtest/gtest.h>

#include "game/system/GameSystem.h"
#include "game/system/RankingFile.h"
#include "game/testmode/ResetHighScorePage.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

// Both question pages: the factory settings (entry 5) and the high-score reset (entry 6).
class QuestionPagesTest : public testing::Test, public TestModeFixture {
  protected:
    void EnterChanged() {
        EnterTestMode();
        system->StoreOperatingSettings(OperatingSettings{1, 2, 3, 10, 0, 0});
        system->StoreGameSettings(GameSettings{7, 5, 6});
        system->StoreSoundSettings(SoundSettings{10, 20, -30});
        PlayerRecord record;
        record.score = 20000000000000u;
        ASSERT_EQ(system->InsertRanking(record), 0);
        ASSERT_TRUE(system->SaveRanking());
    }
    std::vector<uint8_t> RankingBytes() const { return saves.files.at(RankingFile::kPath); }
};

TEST_F(QuestionPagesTest, AButtonAtOnceAnswersNoAndChangesNothing) {
    EnterChanged();
    const int replaces = saves.replaces;
    for (int entry : {5, 6}) {
        OpenEntry(entry - Screen()->cursor);
        ASSERT_NE(Screen()->OpenedPage(), nullptr) << entry;
        Tap(Key::kButton1);
        EXPECT_EQ(Screen()->OpenedPage(), nullptr) << entry;
    }
    EXPECT_EQ(saves.replaces, replaces);
    EXPECT_EQ(system->GetGameSettings().difficulty, 7);
    EXPECT_EQ(system->GetRankingEntry(0).score, 20000000000000u);
}

TEST_F(QuestionPagesTest, FactoryYesStoresTheThreeFactoryBlocks) {
    EnterChanged();
    Events().clear();
    OpenEntry(5);
    FactorySettingPage* page = Opened<FactorySettingPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->IsYes());
    Tap(Key::kRight);
    Tap(Key::kLeft);
    EXPECT_FALSE(page->IsYes()) << "two toggles come back to NO";
    Tap(Key::kLeft);
    StepTestMode();
    EXPECT_EQ(DrawnText(kYesSelected[0]).at(0).x0, 0.35f * 480);
    EXPECT_TRUE(DrawnText(kYesSelected[0]).at(0).colour == TestModePage::kRed);
    EXPECT_EQ(DrawnText(kFactoryYesHelp[0]).size(), 1u);
    Tap(Key::kButton2);
    EXPECT_EQ(Screen()->OpenedPage(), nullptr);
    const ConfigBlocks factory{system->DefaultOperatingSettings(), system->DefaultGameSettings(),
                               system->DefaultSoundSettings()};
    const auto expected = ConfigFile::Encode(factory);
    EXPECT_EQ(ConfigBytes(), std::vector<uint8_t>(expected.begin(), expected.end()));
    // One settings event for each block stored.
    int stores = 0;
    for (const auto& event : Events()) {
        stores += event.first == 0x06000000u ? 1 : 0;
    }
    EXPECT_EQ(stores, 3);
}

TEST_F(QuestionPagesTest, HighScoreResetClearsOnlyWithTheFirstButton) {
    EnterChanged();
    const std::vector<uint8_t> before = RankingBytes();
    OpenEntry(6);
    ASSERT_NE(Opened<ResetHighScorePage>(), nullptr);
    Tap(Key::kRight);
    EXPECT_TRUE(Opened<ResetHighScorePage>()->IsYes());
    Tap(Key::kButton2);
    EXPECT_EQ(Screen()->OpenedPage(), nullptr) << "any button leaves";
    EXPECT_EQ(RankingBytes(), before);
    EXPECT_EQ(system->GetRankingEntry(0).score, 20000000000000u);

    OpenEntry(0);
    Tap(Key::kRight);
    Tap(Key::kButton1);
    EXPECT_EQ(Screen()->OpenedPage(), nullptr);
    const std::vector<uint8_t> after = RankingBytes();
    EXPECT_EQ(after.size(), 1440u);
    EXPECT_NE(after, before);
    EXPECT_NE(system->GetRankingEntry(0).score, 20000000000000u);

    // The defaults are what a machine with no ranking file writes.
    TestModeFixture fresh;
    fresh.EnterTestMode();
    ASSERT_TRUE(fresh.system->SaveRanking());
    EXPECT_EQ(fresh.saves.files.at(RankingFile::kPath), after);
}

}  // namespace
}  // namespace mareldon
