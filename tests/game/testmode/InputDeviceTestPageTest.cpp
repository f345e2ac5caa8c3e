#include "game/testmode/InputDeviceTestPage.h"

#include <gtest/gtest.h>

#include "game/testmode/ScreenAdjustmentPage.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

class CheckPagesTest : public testing::Test, public TestModeFixture {};

TEST(InputDeviceTestPageStickTest, DirectionAloneOrWithOneCrosswiseShowsOn) {
    // Bits: 1 up, 2 down, 4 left, 8 right; the directions shown ON (u d l r).
    const char* expected[16] = {"----", "u---", "-d--", "----", "--l-", "u-l-", "-dl-", "----",
                                "---r", "u--r", "-d-r", "----", "----", "----", "----", "----"};
    for (int32_t value = 0; value < 16; ++value) {
        std::string shown;
        for (int direction = 0; direction < 4; ++direction) {
            shown += InputDeviceTestPage::StickShows(value, direction) ? "udlr"[direction] : '-';
        }
        EXPECT_EQ(shown, expected[value]) << value;
    }
}

TEST_F(CheckPagesTest, InputTestShowsEachPlayersHeldSwitches) {
    EnterTestMode();
    OpenEntry(1);
    InputDeviceTestPage* page = Opened<InputDeviceTestPage>();
    ASSERT_NE(page, nullptr);
    held[1] = Key::kButton3;
    StepTestMode();
    for (int p = 0; p < 2; ++p) {
        for (int k = 0; k < InputDeviceTestPage::kSwitchCount; ++k) {
            EXPECT_EQ(page->SwitchOn(p, k), p == 1 && k == InputDeviceTestPage::kSwitchButton3) << p << k;
        }
    }
    held[1] = 0;
    StepTestMode();
    EXPECT_FALSE(page->SwitchOn(1, InputDeviceTestPage::kSwitchButton3));

    held[0] = Key::kUp | Key::kLeft;
    StepTestMode();
    EXPECT_EQ(page->Stick(0), 5);
    EXPECT_EQ(page->Stick(1), 0);

    // START of player 1: only the left column's START state reads ON, in yellow.
    held[0] = Key::kStart;
    StepTestMode();
    const std::vector<TestDrawCall> on = DrawnText("ON");
    ASSERT_EQ(on.size(), 1u);
    EXPECT_FLOAT_EQ(on[0].x0, 0.32f * 480);
    EXPECT_EQ(on[0].y0, 192.0f);
    EXPECT_TRUE(on[0].colour == TestModePage::kYellow);
    EXPECT_EQ(DrawnText("OFF").size(), 2u * 8 - 1);
    EXPECT_EQ(DrawnText("OFF")[0].colour.b, 1.0f);
    EXPECT_EQ(DrawnText("\x83v\x83\x8c\x83"
                        "C\x83\x84\x81[1")
                  .size(),
              1u);
}

TEST_F(CheckPagesTest, GameButtonsNeverCloseTheCheckPagesTestAndServiceDo) {
    EnterTestMode();
    for (uint32_t leave : {Key::kTest, Key::kService}) {
        for (int entry : {0, 1}) {
            SCOPED_TRACE(entry);
            Screen()->cursor = entry;
            Tap(Key::kButton1);
            ASSERT_NE(Screen()->OpenedPage(), nullptr);
            Taps({Key::kButton1, Key::kButton2, Key::kButton3, Key::kStart, Key::kUp, Key::kRight});
            ASSERT_NE(Screen()->OpenedPage(), nullptr);
            Tap(leave);
            EXPECT_EQ(Screen()->OpenedPage(), nullptr);
            EXPECT_EQ(Screen()->active, 1);
        }
    }
}

TEST_F(CheckPagesTest, ColourBarsAndGrid) {
    EnterTestMode();
    OpenEntry(0);
    ScreenAdjustmentPage* page = Opened<ScreenAdjustmentPage>();
    ASSERT_NE(page, nullptr);
    StepTestMode();
    const std::vector<TestDrawCall> cells = Drawn(TestDrawCall::kQuad);
    ASSERT_EQ(cells.size(), 7u * 16);
    const auto cell = [&](int band, int column) { return cells[size_t((band - 1) * 16 + column)]; };
    EXPECT_NEAR(cell(1, 0).x0, 16.0f, 1e-3f);
    EXPECT_NEAR(cell(1, 15).x1, 464.0f, 1e-3f);
    EXPECT_EQ(cell(1, 0).y0, 48.0f);
    EXPECT_EQ(cell(7, 0).y1, 440.0f);
    EXPECT_TRUE(cell(1, 0).colour == (ScreenColor{1, 0, 0, 1}));
    EXPECT_TRUE(cell(1, 15).colour == (ScreenColor{1.0f / 16, 0, 0, 1}));
    EXPECT_TRUE(cell(5, 8).colour == (ScreenColor{1, 1, 0, 1}));
    EXPECT_TRUE(cell(7, 15).colour == (ScreenColor{1.875f, 0, 0.125f, 1})) << "above 1 saturates on screen";
    EXPECT_EQ(DrawnText(kLeaveHelp[0]).at(0).x0, 240.0f);

    Tap(Key::kStart);
    EXPECT_EQ(page->Picture(), 1);
    const std::vector<TestDrawCall> lines = Drawn(TestDrawCall::kLine);
    ASSERT_EQ(lines.size(), 19u + 14 + 8);
    EXPECT_EQ(lines[0].y0, 31.0f);
    EXPECT_EQ(lines[18].y0, 607.0f);
    EXPECT_EQ(lines[19].x0, 31.0f);
    EXPECT_EQ(lines[32].x0, 447.0f);
    EXPECT_EQ(lines[32].z, 1.0f);
    EXPECT_TRUE(lines[33].colour == TestModePage::kGreen);
    EXPECT_EQ(lines[33].z, 0.0f);
    EXPECT_TRUE(lines[40].colour == TestModePage::kRed);
    EXPECT_EQ(lines[40].x0, 478.0f);
    EXPECT_EQ(lines[40].y1, 639.0f);
    EXPECT_EQ(DrawnText(kLeaveHelp[0]).at(0).y0, 296.0f);
    Tap(Key::kButton2);
    EXPECT_EQ(page->Picture(), 0);
}

}  // namespace
}  // namespace mareldon
