#pragma once

#include <cstdint>

#include "game/stage/PlayerBullet.h"

namespace mareldon {

// The kinds of straight-flying player shot, one per gun group that fires them.
enum class StraightShotKind : int32_t { Ship0Main, Ship0Sub, Ship1Main, Ship1Sub, Ship2Main, Ship3Main };

// A player shot that flies straight and, on a hit, leaves the kind's hit effect (every
// fourth shot made shows it) and, for the main guns' shots, a bonus item.
class StraightShot : public PlayerBullet {
  public:
    static constexpr int32_t kKinds = 6;

    StraightShot(StraightShotKind kind, TaskObject* parent, const Vec3& position, const Vec3& velocity,
                 GameWorldScreen* screen, int32_t ownerMask, int32_t gunSlot, int32_t shotLevel,
                 const AttackVector& attack);

    void OnHit() override;

    // The cell of the player-shot sheet at this shot's level and age; -1 for a level
    // outside 0-3, which draws nothing.
    int32_t SpriteCell() override;
    StraightShotKind GetKind() const { return kind; }

    // How many shots of a kind were made since start; the effect shows on multiples of 4.
    static int32_t MadeCount(StraightShotKind kind);
    // Tests only: counts from zero again.
    static void ResetMadeCounts();

  private:
    StraightShotKind kind;
};

}  // namespace mareldon
