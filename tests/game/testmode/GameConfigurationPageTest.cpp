#include "game/testmode/GameConfigurationPage.h"

#include <gtest/gtest.h>

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

class GameConfigurationPageTest : public testing::Test, public TestModeFixture {
  protected:
    GameConfigurationPage* Open(const GameSettings& live) {
        EnterTestMode();
        system->StoreGameSettings(live);
        OpenEntry(4);
        return Opened<GameConfigurationPage>();
    }
};

TEST_F(GameConfigurationPageTest, ValuesWrapAtBothEnds) {
    GameConfigurationPage* page = Open(GameSettings{8, 1, 9});
    ASSERT_NE(page, nullptr);
    Tap(Key::kRight);
    EXPECT_EQ(page->Lines()[0].value, 1);
    Tap(Key::kLeft);
    EXPECT_EQ(page->Lines()[0].value, 8);
    Tap(Key::kDown);
    Tap(Key::kLeft);
    EXPECT_EQ(page->Lines()[1].value, 9);
    Tap(Key::kDown);
    Tap(Key::kRight);
    EXPECT_EQ(page->Lines()[2].value, 1);
    // RETURN has no value to change; down past it comes back to the top.
    Tap(Key::kDown);
    Tap(Key::kRight);
    EXPECT_EQ(page->Lines()[3].value, -1);
    Tap(Key::kDown);
    EXPECT_EQ(page->cursor, 0);
    Tap(Key::kUp);
    EXPECT_EQ(page->cursor, 3);
}

// A value shows the default colours exactly while it equals the factory value.
TEST_F(GameConfigurationPageTest, DefaultColourExactlyAtTheFactoryValue) {
    GameConfigurationPage* page = Open(GameSettings{4, 3, 2});
    ASSERT_NE(page, nullptr);
    StepTestMode();
    EXPECT_TRUE(page->Lines()[0].valueColour == TestMenuSetting::kYellow);
    EXPECT_TRUE(page->Lines()[0].labelColour == TestMenuSetting::kRed);
    EXPECT_TRUE(page->Lines()[1].valueColour == TestMenuSetting::kBlue);
    EXPECT_TRUE(page->Lines()[1].labelColour == TestMenuSetting::kWhite);
    Tap(Key::kRight);
    EXPECT_TRUE(page->Lines()[0].valueColour == TestMenuSetting::kRed);
    Tap(Key::kDown);
    EXPECT_TRUE(page->Lines()[0].valueColour == TestMenuSetting::kWhite);
    Tap(Key::kUp);
    Tap(Key::kLeft);
    EXPECT_TRUE(page->Lines()[0].valueColour == TestMenuSetting::kYellow);
}

// Difficulty 4 at its factory value, cursor elsewhere: eight faint boxes, and a
// bar over the first four.
TEST_F(GameConfigurationPageTest, DifficultyScale) {
    struct Case {
        int difficulty;
        float barRight;
    } cases[] = {{4, 326}, {1, 278}, {8, 390}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.difficulty);
        TestModeFixture fixture;
        fixture.EnterTestMode();
        fixture.system->StoreGameSettings(GameSettings{c.difficulty, 3, 2});
        fixture.OpenEntry(4);
        fixture.Tap(Key::kDown);
        const std::vector<TestDrawCall> quads = fixture.Drawn(TestDrawCall::kQuad);
        ASSERT_EQ(quads.size(), 9u);
        const ScreenColor value = c.difficulty == 4 ? TestMenuSetting::kBlue : TestMenuSetting::kWhite;
        for (int v = 1; v <= 8; ++v) {
            EXPECT_EQ(quads[size_t(v - 1)].x0, 16.0f * float(v) + 246);
            EXPECT_EQ(quads[size_t(v - 1)].x1, 16.0f * float(v) + 262);
            EXPECT_EQ(quads[size_t(v - 1)].colour.a, 0.5f);
        }
        EXPECT_EQ(quads[8].x0, 262.0f);
        EXPECT_EQ(quads[8].x1, c.barRight);
        EXPECT_EQ(quads[8].y1, 64.0f);
        EXPECT_TRUE(quads[8].colour == value);
    }
}

TEST_F(GameConfigurationPageTest, ReturnAsksAndYesStoresNoLeavesTheFileAsItWas) {
    GameConfigurationPage* page = Open(GameSettings{4, 3, 2});
    ASSERT_NE(page, nullptr);
    const std::vector<uint8_t> before = ConfigBytes();
    ASSERT_EQ(before.size(), 48u);
    Taps({Key::kRight, Key::kDown, Key::kRight, Key::kRight, Key::kDown, Key::kDown, Key::kButton1});
    ASSERT_TRUE(page->IsQuestionOpen());
    EXPECT_FALSE(page->IsYes());
    StepTestMode();
    EXPECT_EQ(DrawnText(kSaveQuestion[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kNoSelected[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kKeyAnswer[0]).at(0).y0, 640.0f - 72);
    EXPECT_EQ(DrawnText(kKeyConfirm[0]).at(0).y0, 640.0f - 48);
    EXPECT_EQ(DrawnText(">").at(0).y0, 120.0f) << "the mark stays on RETURN";
    Tap(Key::kButton2);
    EXPECT_EQ(Screen()->OpenedPage(), nullptr);
    EXPECT_EQ(ConfigBytes(), before);

    OpenEntry(0);
    page = Opened<GameConfigurationPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Lines()[0].value, 4) << "NO dropped the changes";
    Taps({Key::kRight, Key::kDown, Key::kRight, Key::kRight, Key::kDown, Key::kDown, Key::kButton1,
          Key::kRight});
    EXPECT_TRUE(page->IsYes());
    Tap(Key::kStart);
    EXPECT_EQ(Screen()->active, 1);
    EXPECT_EQ(ConfigBytes().size(), 48u);
    const ConfigBlocks stored = StoredConfig();
    EXPECT_EQ(stored.game.difficulty, 5);
    EXPECT_EQ(stored.game.shipStock, 5);
    EXPECT_EQ(stored.game.bombStock, 2);
    EXPECT_EQ(system->GetGameSettings().difficulty, 5);
}

}  // namespace
}  // namespace mareldon
