#pragma once

#include <cstdint>

namespace mareldon {

// Enemies destroyed per player against the enemies that appeared in the stage, for
// the kill percentage shown after a clear.
class KillCounter {
  public:
    // Each player named in the mask (bit 0 player 1, bit 1 player 2) gets one.
    void CountKill(uint32_t playerMask) {
        for (int player = 0; player < 2; ++player) {
            if (playerMask & (1u << player))
                ++kills[player];
        }
    }
    void CountAppearedEnemy() { ++enemyTotal; }

    // The first player in the mask: kills x 100 / total, 0 without enemies or players.
    int32_t GetKillPercent(uint32_t playerMask) const {
        if (enemyTotal == 0)
            return 0;
        int player = (playerMask & 1u) ? 0 : (playerMask & 2u) ? 1 : -1;
        if (player < 0)
            return 0;
        return int32_t(int64_t(kills[player]) * 100 / enemyTotal);
    }

    int32_t GetKills(int32_t player) const { return player >= 1 && player <= 2 ? kills[player - 1] : 0; }
    int32_t GetEnemyTotal() const { return enemyTotal; }

  private:
    int32_t kills[2] = {0, 0};
    int32_t enemyTotal = 0;
};

}  // namespace mareldon
