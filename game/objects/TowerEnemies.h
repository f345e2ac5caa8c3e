#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "game/objects/LayerEnemies.h"

namespace mareldon {

// Wreck form: (durability, radius, wreck model, linger, bonus, explosion). Its kill
// leaves the named model behind (the row's reaction makes it).
class WreckFormEnemy : public LayerFormEnemy {
  public:
    WreckFormEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius,
                   const char* wreckModel, int32_t linger, const char* bonus, const char* explosion,
                   DeathReaction reaction);

    String wreckModel;
};

// A tower: after its kill it keeps bursting for 20 steps, then leaves its wreck and
// goes. Until then it is updated and drawn whatever its window says.
class TowerEnemy : public WreckFormEnemy {
  public:
    static constexpr int32_t kBurnSteps = 20;

    TowerEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius,
               const char* wreckModel, int32_t linger, const char* bonus, const char* explosion);

    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDestroyed() override;

    int32_t timeOfDeath = 0;
    uint8_t removed = 0;
};

// The battery ("eg_06houdai"): bursts for 10 steps after its kill, then goes; updated
// and drawn whatever its window says until then.
class BatteryEnemy : public LayerFormEnemy {
  public:
    static constexpr int32_t kBurnSteps = 10;

    BatteryEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, const char* name);

    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDestroyed() override;

    uint8_t removed = 0;
    int32_t timeOfDeath = 0;
};

// The big battery: a turret that turns toward the player at a growing rate, one way
// only, until it faces it, then pauses before it may turn again.
class BigBatteryEnemy : public LayerFormEnemy {
  public:
    enum Direction : int32_t { kNone = 0, kPositive = 1, kNegative = 2 };

    // (durability, radius, turn speed, pause length, angle offset in radians).
    BigBatteryEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, float turnSpeed,
                    int32_t pauseLength, float angleOffset);

    void OnUpdatePre() override;
    // One step of the rule for bearing `b` (degrees): the turn to apply, 0 for none.
    float Turn(float b);

    float angleOffset;
    int32_t pauseLength;
    int32_t pauseCounter = 0;
    float lastAngle = 0.0f;
    uint8_t pausing = 0;
    float turnSpeed;
    int32_t lastDirection = kNone;
    int32_t turnSteps = 0;
};

// The smooth turret ("eg_houdaimalti:Layer1"): each step a tenth of the way from its
// rotation to the one facing the nearest player.
class SmoothTurret : public LayerFormEnemy {
  public:
    static constexpr float kFollow = 0.1f;

    SmoothTurret(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, const char* text,
                 const char* name, float angleOffset);

    void OnUpdatePre() override;

    float angleOffset;
};

}  // namespace mareldon
