#pragma once

#include "game/screens/MovieScreen.h"

namespace mareldon {

// The "demo" scene: the demonstration movie of the attract loop. A coin, the
// service button or a start that needs no further coin breaks in.
class DemoMovieScreen : public MovieScreen {
  public:
    static constexpr const char* kMovieName = "demo.mpg";

    DemoMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    void OnUpdatePre() override;
    void OnDrawPost() override { DrawMovie(); }
};

}  // namespace mareldon
