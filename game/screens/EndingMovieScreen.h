#pragma once

#include <string>

#include "game/screens/MovieScreen.h"

namespace mareldon {

// The ending movies: "ending?" (0, "ending01.mpg") and "ending" (1, "ending02.mpg").
class EndingMovieScreen : public MovieScreen {
  public:
    static const char* MovieName(int movie) { return movie == 0 ? "ending01.mpg" : "ending02.mpg"; }

    EndingMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName, int movie)
        : MovieScreen(owner, breakInName, successorName,
                      Describe("EndingMovieScreen", breakInName, successorName) + " " + std::to_string(movie),
                      MovieName(movie)) {}
};

}  // namespace mareldon
