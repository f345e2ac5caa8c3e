#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// The attract title, scenes "title1" and "title2".
class TitleScreen : public PlaceholderScreen {
  public:
    TitleScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("TitleScreen", breakInName, successorName)) {
        breaksInOnCoin = true;
        owner->StartAttentionTimer();
        owner->ResetGame();
    }
};

}  // namespace mareldon
