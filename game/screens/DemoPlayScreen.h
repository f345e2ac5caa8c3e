#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The demonstration play of "playdemo1" (number 3) and "playdemo2" (number 2).
class DemoPlayScreen : public PlaceholderScreen {
  public:
    DemoPlayScreen(GameSystem* owner, const String& breakInName, const String& successorName, int number)
        : PlaceholderScreen(
              owner, breakInName, successorName,
              Describe("DemoPlayScreen", breakInName, successorName) + " " + std::to_string(number)) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
