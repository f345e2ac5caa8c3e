#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "allclear" scene. Its successor "title" builds nothing, so it ends
// through the explicit name "gameover".
class EndingScreen : public PlaceholderScreen {
  public:
    EndingScreen(GameSystem* owner, const String& breakInName, const String& successorName, int first,
                 int second)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("EndingScreen", breakInName, successorName) + " " +
                                std::to_string(first) + " " + std::to_string(second)) {}

  protected:
    void Step() override {
        if (steps + 1 >= stepsToRun) {
            RequestSuccessor("gameover");
        }
    }
};

}  // namespace mareldon
