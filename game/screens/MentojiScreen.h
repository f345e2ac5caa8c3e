#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The short transition of "titleshutter", "tutorialshutter", "prevstage" and "nextstage".
class MentojiScreen : public PlaceholderScreen {
  public:
    MentojiScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("MentojiScreen", breakInName, successorName)) {}
};

}  // namespace mareldon
