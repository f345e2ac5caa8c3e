#pragma once

#include <cstdint>

#include "engine/core/PlayerInput.h"

namespace mareldon {

// The tutorial overlay's state, apart from drawing: the lights of the replayed
// shot and bomb buttons, the lever's direction and the message page.
class TutorialGuide {
  public:
    static constexpr int32_t kPages = 9;
    static constexpr int32_t kPressLight = 15;
    static constexpr int32_t kRepeatLight = 100;
    static constexpr uint32_t kShot = 0x40;
    static constexpr uint32_t kBomb = 0x80;
    static constexpr float kOverlaySecond = 1.0f;

    // Lights and lever from the replayed input of this step.
    void Step(const ButtonSet& replayed, int32_t stepCount);
    // Advances the page while the stage clock (seconds) has reached its threshold.
    void AdvancePage(float stageSeconds);

    // 1..9: the lever sprite "tutorial_rebar_0N" of the set direction; 0 none.
    int32_t LeverSprite() const;
    // 1..3: the frame of a button with that light.
    static int32_t ButtonFrame(int32_t light);
    // 0 none, 1 above the shot button, 2 above the bomb button.
    int32_t ArrowPlace() const;
    // 0 none, 1 normal shot, 2 reflect force, 3 force bomb.
    int32_t Topic() const;

    int32_t shotLight = 0;
    int32_t bombLight = 0;
    int32_t lever = 0;
    uint8_t leverFlags[15] = {};
    int32_t page = 0;
};

}  // namespace mareldon
