#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "gamestart" scene: the tutorial before ship select.
class TutorialScreen : public PlaceholderScreen {
  public:
    TutorialScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("TutorialScreen", breakInName, successorName)) {}
};

}  // namespace mareldon
