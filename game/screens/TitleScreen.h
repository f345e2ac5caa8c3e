#pragma once

#include <vector>

#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The attract title, scenes "title1" and "title2": 720 steps, then the
// successor; a coin, the service button or a start breaks in. TitleStartScreen
// shares its picture and its lingering: after leaving, both stay 19 sweeps
// more, drawn under the shutter that closes over them.
class TitleScreen : public SceneTask {
  public:
    static constexpr int kSteps = 720;
    static constexpr int kIgnoredSteps = 30;
    static constexpr int kLingerSweeps = 20;
    static constexpr float kLogoY = 270.0f;

    // The "systemimage" sprites of the notice line and the prompt.
    enum SystemSprite {
        kNoticeLine,
        kPressStart,
        kToStart,
        kAdd,
        kCoins,
        kDigit0,
        kSystemSpriteCount = kDigit0 + 10
    };
    static const char* SystemSpriteName(int sprite);
    // One sprite of the blinking prompt, centred at (x * W, 0.84 H).
    struct PromptSprite {
        int sprite;
        float x;
    };

    TitleScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDrawPre() override;

    // The prompt drawn at `step`: nothing while bit 5 of the step is clear. The
    // title asks for the start button when credits are in on coin play; the
    // title-start screen also in free play. Otherwise, with coins in, the coins
    // still missing (a count past 9 shows 9). Answers the sprite count.
    static int CollectPrompt(const GameSystem& system, bool titleStart, int step, PromptSprite (&out)[4]);

  protected:
    TitleScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                const char* className);
    // Joins every player of status 7 who pressed start; true when one did.
    bool JoinStartingPlayers();
    virtual bool IsTitleStart() const { return false; }

    ScreenInput players_[2] = {{*this, ScreenInput::kPlayer1, 0}, {*this, ScreenInput::kPlayer2, 1}};
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kAlternate};
    SpriteDrawer* title_ = kit_.AddSheet("title");
    SpriteDrawer* system_ = kit_.AddSheet("systemimage");
    std::vector<const SpriteRect*> titleSprites_;
    std::vector<const SpriteRect*> systemSprites_;
    int linger_ = kLingerSweeps;
};

}  // namespace mareldon
