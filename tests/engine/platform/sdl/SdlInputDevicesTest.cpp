#include "engine/platform/sdl/SdlInputDevices.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(SdlInputDevicesTest, ReportsAttachedJoysticksPerSlot) {
    ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = 2;
    desc.nbuttons = 4;
    const int first = SDL_JoystickAttachVirtualEx(&desc);
    const int second = SDL_JoystickAttachVirtualEx(&desc);
    if (first < 0 || second < 0) {
        SDL_Quit();
        GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    }
    {
        SdlInputDevices devices(4);
        EXPECT_EQ(devices.PadCount(), 2);
        EXPECT_TRUE(devices.PadConnected(0));
        EXPECT_TRUE(devices.PadConnected(1));
        EXPECT_FALSE(devices.PadConnected(2));
        EXPECT_EQ(SdlInputDevices(1).PadCount(), 1);
        SDL_JoystickDetachVirtual(second);
        SDL_JoystickUpdate();
        EXPECT_TRUE(devices.PadConnected(0));
        EXPECT_FALSE(devices.PadConnected(1));
    }
    SDL_JoystickDetachVirtual(first);
    SDL_Quit();
}

}  // namespace
}  // namespace mareldon
