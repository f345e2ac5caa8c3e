#include "game/stage/ActualGameScreen.h"

#include "engine/core/PlayerInput.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/system/GameSystem.h"

namespace mareldon {

ActualGameScreen::ActualGameScreen(GameSystem* system, const String& breakInName, const String& successorName,
                                   int32_t difficultyLevel, int32_t mode, int32_t entry)
    : GameWorldScreen(system, breakInName, successorName, difficultyLevel, mode, entry, 1, 1) {
    // Live in every play mode: a start press joins even while the play inputs replay.
    joinInputs[0] = MakePlayerInput(PlayerInput::kPad0 | PlayerInput::kKeyboard);
    joinInputs[1] = MakePlayerInput(PlayerInput::kPad1);
}

ActualGameScreen::~ActualGameScreen() {
    joinInputs[1] = RefPtr<PlayerInput>();
    joinInputs[0] = RefPtr<PlayerInput>();
}

void ActualGameScreen::OnUpdatePre() {
    GameWorldScreen::OnUpdatePre();
    if (owner == nullptr)
        return;
    if (IsCurrentScene() && !owner->IsPlayerInGame(1) && !owner->IsPlayerInGame(2)) {
        RequestSuccessor("gameover");
        SetExitCountdown(kGameOverExitCountdown);
    }
    if (!IsCurrentScene())
        return;
    const ButtonSet freshStart{0, kStartButton, 0, 0};
    for (int mask = 1; mask <= 2; ++mask) {
        if (owner->CanPlayerStart(mask) && joinInputs[mask - 1]->TestButtons(freshStart)) {
            Note("JoinPlayers", "%d", mask);
            owner->JoinPlayers(mask);
        }
    }
}

void ActualGameScreen::DrawHud() {
    GameWorldScreen::DrawHud();
    // Drawn once more as the stage HUD does; the list is empty by now and nothing is cleared.
    if (drawSet)
        drawSet->Draw();
}

}  // namespace mareldon
