#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// The "gamestart" scene: the tutorial before ship select.
class TutorialScreen : public PlaceholderScreen {
  public:
    TutorialScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("TutorialScreen", breakInName, successorName)) {}
    // The start that led here took the start lock; the tutorial gives it back.
    ~TutorialScreen() override { owner->ReleaseStartLock(); }
};

}  // namespace mareldon
