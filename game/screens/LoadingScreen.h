#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// The "boot" scene: its drawing loads the shared resources once, and it hands
// over as soon as they are loaded.
class LoadingScreen : public PlaceholderScreen {
  public:
    LoadingScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("LoadingScreen", breakInName, successorName)) {}

    void OnDrawPre() override {
        owner->LoadCommonResources();
        PlaceholderScreen::OnDrawPre();
    }

  protected:
    void Step() override {
        if (owner->AreResourcesLoaded()) {
            RequestSuccessor("");
        }
    }
};

}  // namespace mareldon
