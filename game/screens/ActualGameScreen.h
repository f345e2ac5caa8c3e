#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The play screen of "actualgame" (difficulty, play mode 0 normal or 2
// recording, stage number). Its successor "title" builds nothing: it ends
// through "nextstage" (stage cleared) or "gameover".
class ActualGameScreen : public PlaceholderScreen {
  public:
    ActualGameScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                     int difficulty, int playMode, int stage)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("ActualGameScreen", breakInName, successorName) + " " +
                                std::to_string(difficulty) + " " + std::to_string(playMode) + " " +
                                std::to_string(stage)) {}

  protected:
    void Step() override {
        if (steps + 1 >= stepsToRun) {
            RequestSuccessor("nextstage");
        }
    }
};

}  // namespace mareldon
