#pragma once

#include <span>
#include <vector>

#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/system/SystemTask.h"

namespace mareldon {

// The ship choice of a player joining a running stage on a first play: one of
// the three ships the partner is not flying, within a 20 s countdown. While it
// runs the player's third flag byte is set (status 13). Frozen and hidden while
// starts are blocked; confirmed at once once the ending has been reached.
class JoinInScreen : public SystemTask {
  public:
    static constexpr int kTimer = 1259;
    // The first 30 steps (after opening or after a block) ignore the controls.
    static constexpr int kInputFrom = 1230;
    static constexpr int kMoveSe = 12;
    static constexpr int kConfirmSe = 13;

    JoinInScreen(GameSystem* owner, int playerBit);
    ~JoinInScreen() override;

    bool IsAlive() override { return !done_; }
    void OnUpdatePre() override;
    void OnDrawPost() override;

    // The ship type of choice 0..2: the types in ascending order, the partner's left out.
    static int ShipForChoice(int choice, int partnerShip) {
        return choice >= partnerShip ? choice + 1 : choice;
    }
    // The "game" sheet's sprites it draws.
    static std::span<const char* const> GameSpriteNames();
    int GetChoice() const { return choice_; }
    int GetTimer() const { return timer_; }
    ScreenDrawKit& GetDrawKit() { return kit_; }

  private:
    int player_;
    ScreenInput input_;
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kAlternate};
    int choice_ = 0;
    int timer_ = kTimer;
    SpriteDrawer* game_ = kit_.AddSheet("game");
    SpriteDrawer* system_ = kit_.AddSheet("systemimage");
    std::vector<const SpriteRect*> gameSprites_;
    const SpriteRect* caption_ = nullptr;
    bool done_ = false;
};

}  // namespace mareldon
