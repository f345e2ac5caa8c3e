#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "shipselect" scene: ship, score mode and first stage.
class StageSelectScreen : public PlaceholderScreen {
  public:
    StageSelectScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("StageSelectScreen", breakInName, successorName)) {}
};

}  // namespace mareldon
