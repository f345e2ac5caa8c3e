#include "game/screens/LogoScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

LogoScreen::LogoScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                       const String& picture)
    : SceneTask(owner, breakInName, successorName, 0), picture_(picture) {
    PlaceholderScreen::Report(Describe("LogoScreen", breakInName, successorName) + " " + picture.Text());
}

float LogoScreen::FadeAt(int step) {
    if (step <= 30) {
        return 1.0f - float(step) / 30.0f;
    }
    if (step >= 150) {
        return float(step - 150) / 30.0f;
    }
    return 0.0f;
}

void LogoScreen::OnUpdatePre() {
    const int s = GetStepCount();
    fade_ = FadeAt(s);
    if (!IsCurrentScene()) {
        return;
    }
    // The first request wins: it clears the current scene, and later ones do nothing.
    if (s > kLastStep) {
        RequestSuccessor("");
    }
    if (player1_.Pressed(ScreenButton::kCoin) || player2_.Pressed(ScreenButton::kCoin) ||
        owner->GetCoinUnits() > 0) {
        RequestBreakIn("");
    }
    if (owner->CanPlayerStart(1) && player1_.Pressed(ScreenButton::kStart)) {
        RequestBreakIn("");
    }
    if (owner->CanPlayerStart(2) && player2_.Pressed(ScreenButton::kStart)) {
        RequestBreakIn("");
    }
}

void LogoScreen::OnDrawPre() {
    kit_.Clear(0xFF0000FF);
    const float w = kit_.Width();
    const float h = kit_.Height();
    if (system_ != nullptr) {
        system_->DrawSprite(*pictureRect_, Vec3{w * 0.5f, h * 0.5f, 0.1f},
                            ScreenColor{1.0f, 1.0f, 1.0f, 1.0f});
    }
    if (cover_ != nullptr) {
        cover_->DrawQuad(ColoredVertex{0.0f, 0.0f, 0.01f, 1.0f, 1.0f, 1.0f, fade_},
                         ColoredVertex{w, h, 0.01f, 1.0f, 1.0f, 1.0f, fade_});
    }
    kit_.Draw();
}

}  // namespace mareldon
