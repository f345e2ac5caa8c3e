#include "game/testmode/TestModeScreen.h"

#include <gtest/gtest.h>

#include "game/testmode/FactorySettingPage.h"
#include "game/testmode/GameConfigurationPage.h"
#include "game/testmode/InputDeviceTestPage.h"
#include "game/testmode/ResetHighScorePage.h"
#include "game/testmode/ScreenAdjustmentPage.h"
#include "game/testmode/SetSystemPage.h"
#include "game/testmode/SoundTestPage.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

class TestModeScreenTest : public testing::Test, public TestModeFixture {};

TEST_F(TestModeScreenTest, CursorWrapsBothWaysAndRepeatsAfter21ThenEvery5Steps) {
    EnterTestMode();
    Tap(Key::kUp);
    EXPECT_EQ(Screen()->cursor, TestModeScreen::kExitEntry);
    Tap(Key::kDown);
    EXPECT_EQ(Screen()->cursor, 0);

    // Held down: a move on the press, the first repeat 21 steps later, then one
    // every 5 steps (a delay of 20 and an interval of 4 count the steps between).
    held[0] = Key::kDown;
    std::vector<int> moves;
    int last = Screen()->cursor;
    for (int step = 1; step <= 32; ++step) {
        StepTestMode();
        if (Screen()->cursor != last) {
            moves.push_back(step);
            last = Screen()->cursor;
        }
    }
    EXPECT_EQ(moves, (std::vector<int>{1, 22, 27, 32}));
    EXPECT_TRUE(DrawnText(">").size() == 1);
}

TEST_F(TestModeScreenTest, MenuLayoutAtTheTopEntry) {
    EnterTestMode();
    StepTestMode();
    ASSERT_EQ(DrawnText(kMenuTitle[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kMenuTitle[0])[0].x0, 240.0f);
    EXPECT_EQ(DrawnText(kMenuTitle[0])[0].y0, 4.0f);
    const TextPair* entries[] = {&kMenuScreenAdjustment,  &kMenuInputTest, &kMenuSoundTest,      &kMenuSystem,
                                 &kMenuGameConfiguration, &kMenuFactory,   &kMenuResetHighScore, &kMenuExit};
    for (int i = 0; i < 8; ++i) {
        const std::vector<TestDrawCall> calls = DrawnText((*entries[i])[0]);
        ASSERT_EQ(calls.size(), 1u) << i;
        EXPECT_EQ(calls[0].kind, TestDrawCall::kTextCentred);
        EXPECT_EQ(calls[0].y0, 48.0f + 24.0f * float(i));
        EXPECT_TRUE(calls[0].colour == (i == 0 ? TestMenuSetting::kRed : TestMenuSetting::kWhite)) << i;
    }
    ASSERT_EQ(DrawnText(kHelpScreenAdjustment[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kHelpScreenAdjustment[0])[0].y0, 640.0f - 144);
    const TestDrawCall mark = DrawnText(">").at(0);
    EXPECT_EQ(mark.kind, TestDrawCall::kTextFrom);
    EXPECT_EQ(mark.x0, 110.0f);
    EXPECT_EQ(mark.y0, 48.0f);
    EXPECT_EQ(DrawnText(kVersion[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kBuildDate[0]).size(), 1u);
}

// Each of the four game buttons opens the selected page; the menu then neither
// moves nor draws until the page closes.
TEST_F(TestModeScreenTest, AnyGameButtonOpensThePageAndTheMenuWaits) {
    for (uint32_t button : {Key::kButton1, Key::kButton2, Key::kButton3, Key::kStart}) {
        SCOPED_TRACE(button);
        TestModeFixture fixture;
        fixture.EnterTestMode();
        fixture.OpenEntry(1, button);
        ASSERT_NE(fixture.Opened<InputDeviceTestPage>(), nullptr);
        EXPECT_EQ(fixture.Screen()->active, 0);
        fixture.Tap(Key::kDown);
        EXPECT_EQ(fixture.Screen()->cursor, 1);
        EXPECT_TRUE(fixture.DrawnText(kMenuTitle[0]).empty());
        EXPECT_FALSE(fixture.DrawnText(kInputTitle[0]).empty());
        fixture.Tap(Key::kTest);
        EXPECT_EQ(fixture.Screen()->OpenedPage(), nullptr);
        EXPECT_EQ(fixture.Screen()->active, 1);
        EXPECT_EQ(fixture.Screen()->childCount, 0);
        EXPECT_FALSE(fixture.DrawnText(kMenuTitle[0]).empty());
    }
}

TEST_F(TestModeScreenTest, EachEntryOpensItsPage) {
    EnterTestMode();
    OpenEntry(0);
    EXPECT_NE(Opened<ScreenAdjustmentPage>(), nullptr);
    Tap(Key::kService);
    OpenEntry(1);
    EXPECT_NE(Opened<InputDeviceTestPage>(), nullptr);
    Tap(Key::kTest);
    OpenEntry(1);  // the cursor stays on the last entry opened
    ASSERT_NE(Opened<SoundTestPage>(), nullptr);
    EXPECT_EQ(Opened<SoundTestPage>()->itemCount, 3);
    EXPECT_EQ(Opened<SoundTestPage>()->name, kMenuSoundTest[0]);
}

TEST_F(TestModeScreenTest, ExitEndsTheProgram) {
    EnterTestMode();
    Tap(Key::kUp);
    Events().clear();
    held[0] = Key::kButton1;
    int steps = 0;
    while (StepTestMode() && steps < 10) {
        ++steps;
    }
    EXPECT_LE(steps, 2);
    EXPECT_EQ(system, nullptr);
    EXPECT_EQ(root.childCount, 0);
    EXPECT_EQ(Events().back(), std::make_pair(0x08000000u, 0u));
}

TEST(TestModeLanguageTest, LanguageOneShowsTheEnglishOfEveryPairAndSingleTextsAsTheyAre) {
    TestModeFixture fixture(MakeBootArchive(), 1);
    fixture.EnterTestMode();
    fixture.StepTestMode();
    EXPECT_EQ(fixture.DrawnText("<<TEST MODE>>").size(), 1u);
    EXPECT_EQ(fixture.DrawnText("EXIT(RESET)").size(), 1u);
    EXPECT_EQ(fixture.DrawnText(kMenuExit[0]).size(), 0u);
    fixture.OpenEntry(4);
    fixture.StepTestMode();
    // The game configuration's title and labels have no English.
    EXPECT_EQ(fixture.DrawnText(kGameTitle[0]).size(), 1u);
    EXPECT_EQ(fixture.DrawnText(kDifficulty[0]).size(), 1u);
    EXPECT_EQ(fixture.DrawnText("Game difficulty.").size(), 1u);
}

}  // namespace
}  // namespace mareldon
