#include "game/screens/EndingMovieScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

EndingMovieScreen::EndingMovieScreen(GameSystem* owner, const String& breakInName,
                                     const String& successorName, int movie)
    : MovieScreen(owner, breakInName, successorName, 3,
                  Describe("EndingMovieScreen", breakInName, successorName) + " " + std::to_string(movie),
                  MovieName(movie)) {}

void EndingMovieScreen::OnUpdatePre() {
    if (PollMovie()) {
        RequestSuccessor("");
    }
    for (int mask = 1; mask <= 2; ++mask) {
        if (owner->IsPlayerInGame(mask) && players_[mask - 1].Pressed(ScreenButton::kStart)) {
            RequestSuccessor("");
        }
    }
}

}  // namespace mareldon
