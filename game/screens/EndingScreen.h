#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "game/screens/ScreenInput.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class SpriteDrawer;
class SpriteRect;
class SpriteSheet;

// The "allclear" scene after the last ending movie: over a live stage it ends
// the game of every player still in play, which opens their name entries, shows
// the head-up display and the ending picture while a name is entered, and goes to
// "gameover" once nobody plays or enters a name. Nobody can start while it lives.
class EndingScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kExitCountdown = 180;
    // Key Y in the default key map.
    static constexpr uint32_t kNoClearToggle = 1u << 27;

    EndingScreen(GameSystem* owner, const String& breakInName, const String& successorName, int32_t playMode,
                 int32_t entry);
    ~EndingScreen() override;

    void OnUpdatePre() override;
    void OnDrawPost() override;

    // Whether the picture and the display are drawn: while either player enters a name.
    bool IsShowingPicture() const;
    // "endingback" on the sheet; null without a screen.
    const SpriteRect* GetPicture() const { return picture_; }

  private:
    ScreenInput players_[2] = {{*this, ScreenInput::kPlayer1, 0}, {*this, ScreenInput::kPlayer2, 1}};
    RefPtr<SpriteSheet> sheet_;
    RefPtr<SpriteDrawer> drawer_;
    const SpriteRect* picture_ = nullptr;
    bool noClear_ = false;
};

}  // namespace mareldon
