#pragma once

#include <cstdint>
#include <vector>

#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/screens/TutorialGuide.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class SpriteRect;

// The tutorial stage replayed from its recording for 1800 steps, with an overlay
// that lights the recorded lever and buttons and shows timed instructions.
class TutorialReplayScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kSteps = 1800;

    void OnUpdatePre() override;
    void OnDrawPost() override;

    const TutorialGuide& Guide() const { return guide_; }

  protected:
    TutorialReplayScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                         uint8_t musicOn, const char* className);
    // What the screen checks of its players' buttons each step.
    virtual void CheckButtons() = 0;
    // The screen's own HUD and its last overlay item.
    virtual void DrawHudPart() = 0;
    virtual void DrawNotice() = 0;

    ScreenInput players_[2];
    ScreenDrawKit kit_;
    SpriteDrawer* tutorial_ = nullptr;
    SpriteDrawer* messages_ = nullptr;
    std::vector<const SpriteRect*> sprites_;
    std::vector<const SpriteRect*> messageSprites_;
    TutorialGuide guide_;
};

// The "gamestart" scene: the tutorial before ship select; a player in the game can
// skip it with start from step 15. It gives back the start lock the start took.
class TutorialScreen : public TutorialReplayScreen {
  public:
    static constexpr int32_t kSkipFrom = 15;

    TutorialScreen(GameSystem* owner, const String& breakInName, const String& successorName);
    ~TutorialScreen() override;

  protected:
    void CheckButtons() override;
    void DrawHudPart() override { DrawHudNoScore(); }
    void DrawNotice() override;
};

// The "demo-tut" scene of the attract loop: the same replay without music, with a
// blinking "game over" / "insert coin" notice; a coin, the service button or a
// possible start breaks in.
class DemoTutorialScreen : public TutorialReplayScreen {
  public:
    DemoTutorialScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    // 0 "game over", 1 "insert coin".
    int32_t NoticeIndex() const { return noticeIndex_; }

  protected:
    void CheckButtons() override;
    void DrawHudPart() override { DrawHudGauges(); }
    void DrawNotice() override;

  private:
    SpriteDrawer* game_ = nullptr;
    std::vector<const SpriteRect*> noticeSprites_;
    uint8_t noticeIndex_ = 0;
    uint8_t toggled_ = 0;
};

}  // namespace mareldon
