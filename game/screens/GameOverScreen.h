#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "gameover" scene.
class GameOverScreen : public PlaceholderScreen {
  public:
    GameOverScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("GameOverScreen", breakInName, successorName)) {}
};

}  // namespace mareldon
