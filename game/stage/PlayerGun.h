#pragma once

#include <cstdint>

#include "game/stage/ShooterObject.h"

namespace mareldon {

// A gun of a player ship: a shooter the ship keeps re-triggering while its fire hold
// lasts, at the power level the ship gives it (0 to 3). The level takes effect when
// the next firing configures. The per-type gun tables and their bullets come later;
// until then a gun runs one single-shot burst a firing and fires nothing.
class PlayerGunBase : public ShooterObject {
  public:
    PlayerGunBase(TaskObject* parent, GameWorldScreen* ownerScreen, int32_t playerMask, int32_t slot);

    void SetPowerLevel(int32_t level) { powerLevel = level; }
    int32_t GetPowerLevel() const { return powerLevel; }
    int32_t GetPlayerMask() const { return playerMask; }
    int32_t GetSlot() const { return slot; }

  protected:
    void Configure() override;

  private:
    int32_t playerMask;
    int32_t slot;
    int32_t powerLevel = 0;
};

}  // namespace mareldon
