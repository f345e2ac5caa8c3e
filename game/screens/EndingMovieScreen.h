#pragma once

#include "game/screens/MovieScreen.h"

namespace mareldon {

// The ending movies: "ending?" (0, "ending01.mpg") and "ending" (1,
// "ending02.mpg"), drawn over the stage beneath. A player in the game may skip
// it with start.
class EndingMovieScreen : public MovieScreen {
  public:
    static const char* MovieName(int movie) { return movie == 0 ? "ending01.mpg" : "ending02.mpg"; }

    EndingMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName, int movie);

    void OnUpdatePre() override;
    void OnDrawPre() override { DrawMovie(); }
};

}  // namespace mareldon
