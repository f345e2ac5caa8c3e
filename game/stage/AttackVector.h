#pragma once

#include <array>
#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

// The 24 damage components of one attack; an enemy weighs them with its own weights.
struct AttackVector {
    static constexpr int kSize = 24;
    std::array<float, kSize> values{};
};

// A reflected bullet's strike: all zero but 1.7 in the fourth component.
inline constexpr AttackVector kReflectAttack{{0.0f, 0.0f, 0.0f, 1.7f}};

class AttackTarget;

// A pointer to an attack target that empties itself when the target goes, so a shot
// may keep its target across steps without holding a dangling pointer.
class TargetLink {
  public:
    TargetLink() = default;
    TargetLink(const TargetLink&) = delete;
    TargetLink& operator=(const TargetLink&) = delete;
    ~TargetLink() { Set(nullptr); }

    inline void Set(AttackTarget* newTarget);
    AttackTarget* Get() const { return target; }

  private:
    friend class AttackTarget;
    AttackTarget* target = nullptr;
    TargetLink* prev = nullptr;
    TargetLink* next = nullptr;
};

// What the world screen hits: enemies and boss parts live in a layer above the
// screen, so the screen reaches them through this.
class AttackTarget {
  public:
    virtual void ApplyAttack(uint32_t playerMask, const AttackVector& attack) = 0;
    // May a homing shot pick this target: durability left and not past its activity
    // window.
    virtual bool IsLiveTarget() { return true; }
    // May a homing shot keep it: it still takes hits.
    virtual bool IsHittableTarget() { return true; }
    // Where a homing shot steers to.
    virtual Vec3 TargetWorldPosition() { return Vec3{0.0f, 0.0f, 0.0f}; }

  protected:
    AttackTarget() = default;
    // The links stay with the original.
    AttackTarget(const AttackTarget&) {}
    AttackTarget& operator=(const AttackTarget&) { return *this; }
    ~AttackTarget() {
        while (links != nullptr)
            links->Set(nullptr);
    }

  private:
    friend class TargetLink;
    TargetLink* links = nullptr;
};

void TargetLink::Set(AttackTarget* newTarget) {
    if (newTarget == target)
        return;
    if (target != nullptr) {
        if (prev != nullptr)
            prev->next = next;
        else
            target->links = next;
        if (next != nullptr)
            next->prev = prev;
        prev = next = nullptr;
    }
    target = newTarget;
    if (target != nullptr) {
        next = target->links;
        if (next != nullptr)
            next->prev = this;
        target->links = this;
    }
}

}  // namespace mareldon
