#include "game/screens/TitleStartScreen.h"

namespace mareldon {

TitleStartScreen::TitleStartScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : TitleScreen(owner, breakInName, successorName, "TitleStartScreen") {}

void TitleStartScreen::OnUpdatePre() {
    if (IsCurrentScene() && GetStepCount() > kIgnoredSteps) {
        JoinStartingPlayers();
    }
}

}  // namespace mareldon
