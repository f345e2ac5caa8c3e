#pragma once

#include <array>
#include <cstdint>

#include "engine/core/RefPtr.h"
#include "game/screens/RankingRows.h"
#include "game/screens/ScreenInput.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class SpriteDrawer;
class SpriteRect;
class SpriteSheet;
class StaticModelRoot;

// The high scores of "ranking1" (list 0, single players) and "ranking2" (list 1,
// pairs) over a replayed stage: the rows scroll down into place and stay until
// the screen's clock shows 15 seconds. A coin, the service switch or a start
// that may start breaks in.
class RankingScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kClockSeconds = 15;

    RankingScreen(GameSystem* owner, const String& breakInName, const String& successorName, int32_t entry,
                  int32_t listKind);
    ~RankingScreen() override;

    void OnUpdatePre() override;
    void OnDrawPre() override;
    void OnDrawPost() override;

    // The attract screens' break-in: a coin on player 1, the service switch let go
    // on either, or a start by a player who may start. Requests the break-in scene.
    static bool CheckBreakIn(SceneTask& screen, const ScreenInput (&players)[2]);

    float GetScrollY() const { return scrollY_; }
    float GetClockTime() const;
    int32_t GetListKind() const { return listKind_; }
    // The sheet's sprite of an id; null when the sheet lacks it or there is no screen.
    const SpriteRect* GetSprite(int sprite) const { return sprites_[size_t(sprite)]; }
    const RefPtr<SpriteDrawer>& GetRankDrawer() const { return drawer_; }
    // The row of place i as it is drawn now.
    int LayoutRow(int place, RankingRows::Item* out, RankingRows::Band& band) const;

  private:
    ScreenInput players_[2] = {{*this, ScreenInput::kPlayer1, 0}, {*this, ScreenInput::kPlayer2, 1}};
    uint8_t listKind_;
    float scrollY_;
    StaticModelRoot* clock_ = nullptr;
    RefPtr<SpriteSheet> sheet_;
    RefPtr<SpriteDrawer> drawer_;
    std::array<const SpriteRect*, RankingRows::kSpriteCount> sprites_{};
    RankingRows::Sizes sizes_{32.0f, 32.0f, 32.0f, 32.0f, 64.0f, 32.0f, 32.0f, 32.0f, 32.0f, 32.0f};
};

}  // namespace mareldon
