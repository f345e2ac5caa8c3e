#pragma once

#include <cstdint>

#include "engine/render/scene/Object3D.h"
#include "game/stage/AttackVector.h"

namespace mareldon {

// The base of every enemy and boss part, as far as the world screen and the boss
// timelines need it so far: durability, the hittable switch, the attack weights and
// the activity window on the stage clock (the clock of its motion root, the stage
// scene).
class Enemy : public Object3D, public AttackTarget {
  public:
    Enemy(TaskObject* parent, float durability);

    // Weighs the attack, takes it off the durability (never below 0) and reports the
    // full damage. An enemy already at 0 ignores it: a reflected bullet may strike one
    // that died this step and has not been swept yet.
    void ApplyAttack(uint32_t playerMask, const AttackVector& attack) override;
    virtual void OnDamaged(float damage, uint32_t playerMask) {
        (void)damage;
        (void)playerMask;
    }
    virtual void OnDestroyed() {}

    // The clock has passed the window of the node's keys; never for an attached part,
    // whose window is its parent's.
    bool IsPastActiveWindow();

    bool IsLiveTarget() override { return durability > 0.0f && !IsPastActiveWindow(); }
    bool IsHittableTarget() override { return hittable != 0; }
    Vec3 TargetWorldPosition() override { return GetWorldPosition(); }

    float durability;
    uint8_t hittable = 1;
    uint8_t attached = 0;
    uint8_t hitFlashPending = 0;
    AttackVector attackWeights;
};

}  // namespace mareldon
