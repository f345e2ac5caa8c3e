#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The "demo" scene: the demonstration movie.
class DemoMovieScreen : public PlaceholderScreen {
  public:
    DemoMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("DemoMovieScreen", breakInName, successorName)) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
