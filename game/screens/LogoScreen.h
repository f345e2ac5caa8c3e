#pragma once

#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The logo scenes "logo1" and "logo2": one "systemimage" picture for 181 steps,
// faded in from white and out to white. A coin, coins already in, or a start
// that needs no further coin breaks in.
class LogoScreen : public SceneTask {
  public:
    static constexpr int kLastStep = 180;

    LogoScreen(GameSystem* owner, const String& breakInName, const String& successorName,
               const String& picture);

    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override;
    void OnDrawPre() override;

    // The white cover's alpha at step s: 1 at 0, 0 from 30 to 150, 1 at 180.
    static float FadeAt(int step);
    float GetFade() const { return fade_; }

  private:
    ScreenInput player1_{*this, ScreenInput::kPlayer1, 0};
    ScreenInput player2_{*this, ScreenInput::kPlayer2, 1};
    String picture_;
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kStandard};
    SpriteDrawer* system_ = kit_.AddSheet("systemimage");
    const SpriteRect* pictureRect_ = system_ != nullptr ? &system_->Sheet()->Find(picture_.Text()) : nullptr;
    ColoredScreenDrawer* cover_ = kit_.AddColored();
    float fade_ = 1.0f;
};

}  // namespace mareldon
