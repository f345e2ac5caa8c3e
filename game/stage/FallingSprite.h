#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/TaskObject.h"

namespace mareldon {

class GameWorldScreen;

// What both number pop-ups share: a number in screen pixels for one player, the
// "newest" mark the screen keeps on the last one made, and leaving the screen's
// newest pointer when it goes.
class NumberPopup : public TaskObject {
  public:
    NumberPopup(TaskObject* parent, GameWorldScreen* screen, const Vec3& screenPosition, int32_t value,
                int32_t playerNumber);
    ~NumberPopup() override;

    GameWorldScreen* screen;
    int32_t age = 0;
    Vec3 position;
    int32_t value;
    uint8_t newest = 0;
    int32_t playerNumber;
};

// A number pop-up that sinks a pixel a step for 70 steps. The head-up display
// draws it; the newest of a player's is drawn last.
class FallingSprite : public NumberPopup {
  public:
    static constexpr int32_t kLifeSteps = 70;

    using NumberPopup::NumberPopup;

    void OnUpdatePre() override;
    bool IsAlive() override { return age < kLifeSteps; }
};

// A number pop-up that rises ever faster for 120 steps.
class GravitySprite : public NumberPopup {
  public:
    static constexpr int32_t kLifeSteps = 120;

    using NumberPopup::NumberPopup;

    void OnUpdatePre() override;
    bool IsAlive() override { return age < kLifeSteps; }

    Vec3 velocity{0.0f, -0.5f, 0.0f};
};

}  // namespace mareldon
