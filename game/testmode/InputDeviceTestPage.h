#pragma once

#include "game/testmode/TestModePage.h"

namespace mareldon {

// Shows ON or OFF for START, BUTTON 1-3 and the four stick directions of both
// players; only the test or service button leaves.
class InputDeviceTestPage : public TestModePage {
  public:
    enum Switch : int {
        kSwitchButton1,
        kSwitchButton2,
        kSwitchButton3,
        kSwitchStart,
        kSwitchCoin,
        kSwitchCount
    };
    enum Direction : int { kStickUpward, kStickDownward, kStickLeftward, kStickRightward };

    InputDeviceTestPage(TestModeScreen& screen, int32_t itemCount, const String& title);
    ~InputDeviceTestPage() override;

    void HandleInput() override;
    void DrawPage() override;

    // Switch k of player p (0 or 1): 1 while active.
    bool SwitchOn(int player, int k) const { return switches[2 * k + player] != 0; }
    // Whether the stick value shows the direction ON: alone or with one crosswise
    // direction; opposite directions or nothing show all four OFF.
    static bool StickShows(int32_t stick, int direction);
    int32_t Stick(int player) const { return stick[player]; }

  private:
    PlayerInput* players[2];
    int32_t stick[2] = {0, 0};
    uint8_t switches[2 * kSwitchCount] = {};
};

}  // namespace mareldon
