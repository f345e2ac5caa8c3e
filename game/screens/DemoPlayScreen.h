#pragma once

#include <array>
#include <cstdint>

#include "engine/core/RefPtr.h"
#include "game/screens/DemoPlayHud.h"
#include "game/screens/ScreenInput.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class SpriteDrawer;
class SpriteRect;
class SpriteSheet;

// The demonstration play of "playdemo1" (stage-table entry 3) and "playdemo2"
// (entry 2): a recorded stage plays by itself for 1200 steps under a reduced
// head-up display and a blinking notice, then the ranking follows. A coin, the
// service switch or a start that may start breaks in.
class DemoPlayScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kSteps = 1200;

    DemoPlayScreen(GameSystem* owner, const String& breakInName, const String& successorName, int32_t entry);
    ~DemoPlayScreen() override;

    void OnUpdatePre() override;
    void OnDrawPost() override;

    // The display's state as the game system and the gauges hold it now.
    void ReadHud(DemoPlayHud::State& state) const;
    const BlinkingNotice& GetNotice() const { return notice_; }
    // The sheet's sprite of a display id; null when the sheet lacks it or there is no screen.
    const SpriteRect* GetSprite(int sprite) const { return sprites_[size_t(sprite)]; }

  private:
    ScreenInput players_[2] = {{*this, ScreenInput::kPlayer1, 0}, {*this, ScreenInput::kPlayer2Keys, 1}};
    RefPtr<SpriteSheet> sheet_;
    RefPtr<SpriteDrawer> noticeDrawer_;
    std::array<const SpriteRect*, DemoPlayHud::kSpriteCount> sprites_{};
    BlinkingNotice notice_;
    DemoPlayHud::Item items_[DemoPlayHud::kMaxItems];
};

}  // namespace mareldon
