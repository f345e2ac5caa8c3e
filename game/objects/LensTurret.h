#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/objects/GunshipEnemies.h"

namespace mareldon {

class LensBaseEnemy;

// The turrets of the lens base and the floating islands: kind 0 to 3 carries one gun,
// kind 10 turns to face the player, any other kind neither.
class LensHoudaiEnemy : public LayerFormEnemy {
  public:
    static constexpr int32_t kFacing = 10;

    LensHoudaiEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
    ~LensHoudaiEnemy() override;

    void OnUpdatePre() override;

    uint8_t intact = 1;
    BuiltInGun* gun = nullptr;
    int32_t kind;
    // The base this turret sits on as one of its four turret layers, or null.
    LensBaseEnemy* base = nullptr;
    int32_t baseSlot = -1;
};

// The lens base: opens in stages as its turret layers go, and while open with its core
// intact throws a fountain of items instead of being a target.
class LensBaseEnemy : public LayerFormEnemy {
  public:
    static constexpr int32_t kTurrets = 4;
    // "eg_07_lens_houdai:Layer3" to "Layer6".
    static constexpr int32_t kFirstTurretLayer = 3;

    LensBaseEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
    ~LensBaseEnemy() override;

    void OnUpdatePre() override;
    // Turrets among the first `count` turret layers still under the base.
    int32_t TurretsLeft(int32_t count) const;

    uint8_t open = 0;
    int32_t stageCounter = 0;
    uint8_t coreDestroyed = 0;
    Random random;
    LensHoudaiEnemy* turrets[kTurrets] = {};
};

// The lens core: its kill tells the base under it.
class LensCoreEnemy : public LayerFormEnemy {
  public:
    LensCoreEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};

}  // namespace mareldon
