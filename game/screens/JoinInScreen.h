#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// A joining player's ship choice over the running stage; the player's third
// flag (status 13) is set while it runs.
class JoinInScreen : public PlaceholderOverlay {
  public:
    JoinInScreen(GameSystem* owner, int playerBit)
        : PlaceholderOverlay(owner, playerBit, 2, "JoinInScreen " + std::to_string(playerBit)) {}
};

}  // namespace mareldon
