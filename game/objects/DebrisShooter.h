#pragma once

#include <cstdint>

#include "engine/core/KeyTrack.h"
#include "engine/core/Random.h"
#include "game/objects/LayerEnemies.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class GameWorldScreen;

// A burst of wreckage thrown off the debris fighter: for 2.75 seconds it flies a
// random path from where it was made, throwing sparks and, by turns, bullets toward
// the player, away from it, slow toward it, or none.
class DebrisShooter : public StaticModelPart {
  public:
    static constexpr int32_t kBulletSprite = 11;
    static constexpr float kBulletSpeed = 0.08f;

    DebrisShooter(TaskObject* parent, GameWorldScreen* world, const Vec3& position, uint32_t seed);

    void OnUpdatePre() override;
    bool IsAlive() override;
    // The path's offset at `time` (its own clock).
    Vec3 PathAt(float time);

    Random random;
    int32_t unused = 0;
    KeyTrack path[3];
};

// "sa_12isekifighterB": the emitter form that, on its 60th active step past 30 seconds
// of the stage, throws a DebrisShooter.
class DebrisFighterEnemy : public EmitterFormEnemy {
  public:
    static constexpr int32_t kThrowStep = 60;
    static constexpr float kThrowAfter = 30.0f;

    DebrisFighterEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius,
                       const char* bonus, const char* explosion, int32_t linger);

    void OnUpdatePre() override;
};

}  // namespace mareldon
