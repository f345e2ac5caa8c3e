#include "engine/platform/sdl/SdlSwitchSource.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

class SdlSwitchSourceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }

    static void Key(SDL_Scancode key, bool down, bool repeat = false) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.scancode = key;
        event.key.repeat = repeat ? 1 : 0;
        SDL_PushEvent(&event);
    }
    static JvsSwitchSample Sample(SdlSwitchSource& source) {
        SDL_PumpEvents();
        JvsSwitchSample sample;
        source.Sample(sample);
        return sample;
    }
};

TEST_F(SdlSwitchSourceTest, KeyboardFollowsTheArcadeLayout) {
    SdlSwitchSource source;
    struct Case {
        SDL_Scancode key;
        int player;
        uint16_t switches;
    } cases[] = {
        {SDL_SCANCODE_1, 0, kJvsStart},     {SDL_SCANCODE_9, 0, kJvsService},
        {SDL_SCANCODE_UP, 0, kJvsUp},       {SDL_SCANCODE_RIGHT, 0, kJvsRight},
        {SDL_SCANCODE_LCTRL, 0, kJvsPush1}, {SDL_SCANCODE_LALT, 0, kJvsPush2},
        {SDL_SCANCODE_SPACE, 0, kJvsPush3}, {SDL_SCANCODE_2, 1, kJvsStart},
        {SDL_SCANCODE_R, 1, kJvsUp},        {SDL_SCANCODE_F, 1, kJvsDown},
        {SDL_SCANCODE_D, 1, kJvsLeft},      {SDL_SCANCODE_G, 1, kJvsRight},
        {SDL_SCANCODE_A, 1, kJvsPush1},     {SDL_SCANCODE_S, 1, kJvsPush2},
        {SDL_SCANCODE_Q, 1, kJvsPush3},
    };
    for (const Case& c : cases) {
        Key(c.key, true);
        JvsSwitchSample sample = Sample(source);
        EXPECT_EQ(sample.players[c.player], c.switches) << SDL_GetScancodeName(c.key);
        EXPECT_EQ(sample.players[1 - c.player], 0);
        Key(c.key, false);
        EXPECT_EQ(Sample(source).players[c.player], 0);
    }
    Key(SDL_SCANCODE_F2, true);
    EXPECT_TRUE(Sample(source).test);
    // One coin per press: key repeats do not count, and a sample takes the coins.
    Key(SDL_SCANCODE_5, true);
    Key(SDL_SCANCODE_5, true, true);
    Key(SDL_SCANCODE_5, false);
    Key(SDL_SCANCODE_6, true);
    Key(SDL_SCANCODE_5, true);
    JvsSwitchSample sample = Sample(source);
    EXPECT_EQ(sample.coins[0], 2);
    EXPECT_EQ(sample.coins[1], 1);
    EXPECT_EQ(Sample(source).coins[0], 0);
}

TEST_F(SdlSwitchSourceTest, HotPluggedControllerIsPlayerOne) {
    SdlSwitchSource source;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr);
    Sample(source);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_BACK, 1);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -32000);
    SDL_JoystickUpdate();
    JvsSwitchSample sample = Sample(source);
    EXPECT_EQ(sample.players[0], kJvsPush1 | kJvsLeft);
    EXPECT_EQ(sample.coins[0], 1);

    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(Sample(source).players[0], 0);
}

}  // namespace
}  // namespace mareldon
