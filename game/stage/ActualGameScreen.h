#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class PlayerInput;

// The stage coin-paying players play ("actualgame"): music and live play on. It
// ends the game when neither player is in it any more, and lets a player join or
// continue with a start press while it runs. Its successor "title" builds nothing:
// it leaves through "nextstage" or "gameover".
class ActualGameScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kGameOverExitCountdown = 180;
    static constexpr uint32_t kStartButton = 1u << 9;

    ActualGameScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                     int32_t difficulty, int32_t playMode, int32_t stageEntryIndex);
    ~ActualGameScreen() override;

    void OnUpdatePre() override;
    void DrawHud() override;

    // The live inputs a join is read from, whatever the play inputs replay or record.
    PlayerInput& JoinInput(int32_t player) { return *joinInputs[player == 2 ? 1 : 0]; }

  private:
    RefPtr<PlayerInput> joinInputs[2];
};

}  // namespace mareldon
