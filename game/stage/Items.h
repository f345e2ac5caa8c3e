#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class PlayerShip;

// A dropped score item: it rises, slows and sinks, and is taken by the first ship whose
// pickup circle holds it, or goes once it has sunk below the screen. Its keep-alive
// test is the pickup test.
class ScoreItem : public StaticModelPart {
  public:
    static constexpr int32_t kStraightValue = 100;

    // The velocity given is replaced by a random launch (drawn even for the valuable
    // items, which then go straight up, so the generator's sequence does not depend
    // on the value).
    ScoreItem(TaskObject* parent, GameWorldScreen* screen, const Vec3& position, const Vec3& velocity,
              const String& modelName, int32_t value, int32_t soundId);

    void OnUpdatePre() override;
    bool IsAlive() override { return !Collect(); }
    // True when taken or gone below the screen.
    bool Collect();

    Vec3 velocity;
    int32_t value;
    int32_t soundId;
};

// A power item: eases into motion over its first second, bounces in a 10 x 10 box that
// moves with the stage, and can be taken from its 31st step.
class PowerItem : public StaticModelPart {
  public:
    static constexpr int32_t kEaseSteps = 60;
    static constexpr int32_t kFirstPickupStep = 31;
    static constexpr float kBoxHalf = 5.0f;
    static constexpr float kBoxReturn = 4.9f;
    static constexpr int32_t kTopPower = 3;
    static constexpr int32_t kBonusPoints = 1000000;

    PowerItem(TaskObject* parent, GameWorldScreen* screen, const Vec3& position, const Vec3& velocity,
              const String& modelName);

    void OnUpdatePre() override;
    bool IsAlive() override { return !Collect(); }
    // True when taken.
    bool Collect();

    Vec3 velocity;

  protected:
    // What the ship of player 1 or 2 gets.
    virtual void Reward(PlayerShip& ship, int32_t player);
};

// A bomb item: moves as a power item; adds a bomb unless the stock is 9 or unlimited.
class BombItem : public PowerItem {
  public:
    using PowerItem::PowerItem;

  protected:
    void Reward(PlayerShip& ship, int32_t player) override;
};

}  // namespace mareldon
