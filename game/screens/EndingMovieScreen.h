#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The ending movies: "ending?" (0, "ending01.mpg") and "ending" (1, "ending02.mpg").
class EndingMovieScreen : public PlaceholderScreen {
  public:
    EndingMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName, int movie)
        : PlaceholderScreen(
              owner, breakInName, successorName,
              Describe("EndingMovieScreen", breakInName, successorName) + " " + std::to_string(movie)) {}
};

}  // namespace mareldon
