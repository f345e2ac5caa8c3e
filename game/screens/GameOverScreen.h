#pragma once

#include "game/screens/ScreenDrawKit.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The "gameover" scene, over the stage that ended: the screen darkens, the
// game-over picture fades in, and at step 180 the flow goes on to "titlestart"
// when coins are in, else to the ranking. It stays until step 240 and holds the
// start lock all that time; the game is reset when it goes.
class GameOverScreen : public SceneTask {
  public:
    static constexpr int kSteps = 240;
    static constexpr int kLeaveStep = 180;
    static constexpr int kSeStep = 135;
    static constexpr int kSe = 19;

    GameOverScreen(GameSystem* owner, const String& breakInName, const String& successorName);
    ~GameOverScreen() override;

    bool IsAlive() override { return GetStepCount() != kSteps; }
    void OnUpdatePre() override;
    void OnDrawPost() override;

    float GetDarkening() const { return darkening_; }
    float GetPictureAlpha() const { return picture_; }

  private:
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kAlternateUnlit};
    ColoredScreenDrawer* shade_ = kit_.AddColored();
    SpriteDrawer* game_ = kit_.AddSheet("game");
    const SpriteRect* pictureRect_ = game_ != nullptr ? &game_->Sheet()->Find("gameover002") : nullptr;
    float darkening_ = 0.0f;
    float picture_ = 0.0f;
};

}  // namespace mareldon
