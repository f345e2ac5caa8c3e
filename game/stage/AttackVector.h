#pragma once

#include <array>
#include <cstdint>

namespace mareldon {

// The 24 damage components of one attack; an enemy weighs them with its own weights.
struct AttackVector {
    static constexpr int kSize = 24;
    std::array<float, kSize> values{};
};

// A reflected bullet's strike: all zero but 1.7 in the fourth component.
inline constexpr AttackVector kReflectAttack{{0.0f, 0.0f, 0.0f, 1.7f}};

// What the world screen hits: enemies and boss parts live in a layer above the
// screen, so the screen reaches them through this.
class AttackTarget {
  public:
    virtual void ApplyAttack(uint32_t playerMask, const AttackVector& attack) = 0;

  protected:
    ~AttackTarget() = default;
};

}  // namespace mareldon
