#include "game/screens/DemoMovieScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

DemoMovieScreen::DemoMovieScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : MovieScreen(owner, breakInName, successorName, 0,
                  Describe("DemoMovieScreen", breakInName, successorName), kMovieName) {}

void DemoMovieScreen::OnUpdatePre() {
    // The first request wins; later ones find the scene no longer current.
    if (PollMovie()) {
        RequestSuccessor("");
    }
    if (players_[0].Pressed(ScreenButton::kCoin)) {
        RequestBreakIn("");
    }
    if (players_[0].Released(ScreenButton::kService) || players_[1].Released(ScreenButton::kService)) {
        RequestBreakIn("");
    }
    for (int mask = 1; mask <= 2; ++mask) {
        if (owner->CanPlayerStart(mask) && players_[mask - 1].Pressed(ScreenButton::kStart)) {
            RequestBreakIn("");
        }
    }
}

}  // namespace mareldon
