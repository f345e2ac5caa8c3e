#include "game/screens/LoadingScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

LoadingScreen::LoadingScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : SceneTask(owner, breakInName, successorName, 0) {
    PlaceholderScreen::Report(Describe("LoadingScreen", breakInName, successorName));
}

void LoadingScreen::OnUpdatePre() {
    if (owner->AreResourcesLoaded()) {
        RequestSuccessor("");
    }
}

void LoadingScreen::OnDrawPre() {
    kit_.Clear(0);
    if (system_ != nullptr) {
        system_->DrawSprite(*loading_, Vec3{kit_.Width() * 0.5f, kit_.Height() * 0.3f, 0.01f},
                            ScreenColor{1.0f, 1.0f, 1.0f, 1.0f});
    }
    kit_.Draw();
    // The first frame is on screen before the slow load starts.
    if (drawCount_ == 1) {
        owner->LoadCommonResources();
    }
    ++drawCount_;
}

}  // namespace mareldon
