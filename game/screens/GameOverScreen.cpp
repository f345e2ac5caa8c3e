#include "game/screens/GameOverScreen.h"

#include <algorithm>

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

GameOverScreen::GameOverScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : SceneTask(owner, breakInName, successorName, 1) {
    PlaceholderScreen::Report(Describe("GameOverScreen", breakInName, successorName));
    owner->AddStartLock();
}

GameOverScreen::~GameOverScreen() {
    owner->ReleaseStartLock();
    owner->ResetGame();
}

void GameOverScreen::OnUpdatePre() {
    const int s = GetStepCount();
    if (s == kSeStep) {
        owner->PlaySe(kSe);
    }
    // Single precision on purpose: sixty steps of 1/60 stay just below 1, so
    // the picture starts on the 61st.
    constexpr float kFadeStep = 1.0f / 60.0f;
    darkening_ = std::min(darkening_ + kFadeStep, 1.0f);
    if (darkening_ == 1.0f) {
        picture_ = std::min(picture_ + kFadeStep, 1.0f);
    }
    if (s == kLeaveStep) {
        if (owner->GetCoinUnits() != 0) {
            RequestBreakIn("");
        } else {
            RequestSuccessor("");
        }
    }
}

void GameOverScreen::OnDrawPost() {
    if (shade_ == nullptr) {
        return;
    }
    const float w = kit_.Width();
    const float h = kit_.Height();
    shade_->DrawQuad(ColoredVertex{0.0f, 0.0f, 0.0001f, 0.0f, 0.0f, 0.0f, darkening_},
                     ColoredVertex{w, h, 0.0001f, 0.0f, 0.0f, 0.0f, darkening_});
    const ScreenColor colour{1.0f, 1.0f, 1.0f, picture_};
    game_->DrawSpriteRect(*pictureRect_, Vec3{0.0f, 192.0f, 0.0f}, colour, Vec3{480.0f, 320.0f, 0.0f},
                          colour);
    kit_.Draw();
}

}  // namespace mareldon
