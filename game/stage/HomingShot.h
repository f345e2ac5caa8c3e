#pragma once

#include <cstdint>

#include "game/stage/AngleTracker.h"
#include "game/stage/PlayerBullet.h"
#include "game/stage/TargetPicker.h"

namespace mareldon {

// The second ship type's side shot: picks a random live enemy, turns toward it with
// an inertial tracker, slows while it turns hard and speeds up (to 0.4) when on course
// or without a target. A target that dies or stops taking hits is let go; the next
// step picks another.
class Ship2SubBullet : public PlayerBullet {
  public:
    static constexpr float kMinSpeed = 0.1f;
    static constexpr float kMaxSpeed = 0.4f;
    static constexpr float kSpeedStep = 0.015f;
    static constexpr float kHardTurn = 10.0f;

    Ship2SubBullet(TaskObject* parent, const Vec3& position, const Vec3& velocity, GameWorldScreen* screen,
                   int32_t ownerMask, int32_t gunSlot, int32_t shotLevel, const AttackVector& attack,
                   float speed);

    void OnUpdatePre() override;
    void OnHit() override;
    int32_t SpriteCell() override;

    AttackTarget* GetTarget() const { return target.Get(); }
    float GetSpeed() const { return speed; }
    float GetHeading() const { return heading; }

  private:
    TargetLink target;
    TargetPicker picker;
    AngleTracker turner;
    float speed;
    float wantedHeading = 0.0f;
    float heading = 0.0f;
};

}  // namespace mareldon
