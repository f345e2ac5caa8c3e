#pragma once

#include "game/screens/MovieScreen.h"

namespace mareldon {

// The "demo" scene: the demonstration movie.
class DemoMovieScreen : public MovieScreen {
  public:
    static constexpr const char* kMovieName = "demo.mpg";

    DemoMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : MovieScreen(owner, breakInName, successorName,
                      Describe("DemoMovieScreen", breakInName, successorName), kMovieName) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
