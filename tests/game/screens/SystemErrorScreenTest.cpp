#include "game/screens/SystemErrorScreen.h"

#include <gtest/gtest.h>

#include "engine/render/draw/SceneDrawSet.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {
namespace {

class SystemErrorScreenTest : public testing::Test, public ServicesFixture {
  protected:
    SystemErrorScreen* Screen() { return static_cast<SystemErrorScreen*>(system->GetCurrentScene()); }
};

// An I/O fault while booting: the message as nine quads centred on x 240, and
// the program ends 900 steps later.
TEST_F(SystemErrorScreenTest, IoErrorAtBootShowsItsMessageAndQuitsAtStep900) {
    inputs.masks[0].held = SystemButton::kIoError;
    StartLoaded();
    ASSERT_TRUE(RunUntil("i/oerror", 5));
    ASSERT_NE(Screen(), nullptr);
    EXPECT_EQ(Screen()->GetMessage(), "I/O ERROR");
    ASSERT_TRUE(Screen()->DrawSet());
    DrawCommandList& commands = *Screen()->DrawSet()->commands;
    commands.Process();
    Vec3 end{};
    Screen()->QueueText(end);
    EXPECT_EQ(commands.CommandCount(), 9 * 2);
    // Proportional pitch, 12 a character: 108 wide, from 186 to 294.
    EXPECT_FLOAT_EQ(end.x, 294.0f);
    commands.Process();

    int steps = 0;
    while (Step() && steps < 2000) {
        ++steps;
    }
    EXPECT_EQ(system, nullptr);
    EXPECT_GE(steps, SystemErrorScreen::kQuitSteps - 2);
    EXPECT_LE(steps, SystemErrorScreen::kQuitSteps + 2);
}

TEST_F(SystemErrorScreenTest, AfterBootItStays) {
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    inputs.masks[0].held = SystemButton::kCoinError;
    Step();
    inputs.masks[0].held = 0;
    ASSERT_EQ(system->GetCurrentSceneName(), "coinerror");
    EXPECT_EQ(Screen()->GetMessage(), "COIN ERROR");
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(Step());
    }
    EXPECT_EQ(system->GetCurrentSceneName(), "coinerror");
}

}  // namespace
}  // namespace mareldon
