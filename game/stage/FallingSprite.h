#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/TaskObject.h"

namespace mareldon {

class GameWorldScreen;

// A number pop-up in screen pixels that sinks a pixel a step for 70 steps. The
// head-up display draws it; the newest of a player's is drawn last.
class FallingSprite : public TaskObject {
  public:
    static constexpr int32_t kLifeSteps = 70;

    FallingSprite(TaskObject* parent, GameWorldScreen* screen, const Vec3& screenPosition, int32_t value,
                  int32_t playerNumber);
    ~FallingSprite() override;

    void OnUpdatePre() override;
    bool IsAlive() override { return age < kLifeSteps; }

    GameWorldScreen* screen;
    int32_t age = 0;
    Vec3 position;
    int32_t value;
    uint8_t newest = 0;
    int32_t playerNumber;
};

// A number pop-up that rises ever faster for 120 steps.
class GravitySprite : public TaskObject {
  public:
    static constexpr int32_t kLifeSteps = 120;

    GravitySprite(TaskObject* parent, GameWorldScreen* screen, const Vec3& screenPosition, int32_t value,
                  int32_t playerNumber);
    ~GravitySprite() override;

    void OnUpdatePre() override;
    bool IsAlive() override { return age < kLifeSteps; }

    GameWorldScreen* screen;
    int32_t age = 0;
    Vec3 position;
    int32_t value;
    uint8_t newest = 0;
    int32_t playerNumber;
    Vec3 velocity{0.0f, -0.5f, 0.0f};
};

}  // namespace mareldon
