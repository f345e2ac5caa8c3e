#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// The "titlestart" scene: waits, without a time limit, for a player who may
// start to press start, joins that player and goes to "titleshutter".
class TitleStartScreen : public PlaceholderScreen {
  public:
    TitleStartScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("TitleStartScreen", breakInName, successorName)) {
        owner->StartAttentionTimer();
        owner->ResetGame();
    }

  protected:
    void Step() override {
        if (!IsCurrentScene()) {
            return;
        }
        bool joined = false;
        for (int player = 0; player < 2; ++player) {
            const int mask = 1 << player;
            if (owner->GetPlayerStatus(mask) == 7 &&
                (owner->GetSystemButtons(player).pressed & SystemButton::kStart)) {
                owner->JoinPlayers(mask);
                joined = true;
            }
        }
        if (joined) {
            RequestSuccessor("titleshutter");
            owner->AddStartLock();
        }
    }
};

}  // namespace mareldon
