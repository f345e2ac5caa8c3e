#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "demo-tut" scene: the attract tutorial.
class DemoTutorialScreen : public PlaceholderScreen {
  public:
    DemoTutorialScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("DemoTutorialScreen", breakInName, successorName)) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
