#pragma once

#include <span>
#include <vector>

#include "game/screens/NameEditor.h"
#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/system/SystemTask.h"

namespace mareldon {

// A finished player's overlay: three initials for the ranking when the result
// would rank, then the continue countdown when continuing is allowed. It holds
// the player's name-pending flag (status 12) and continue-pending flag
// (statuses 9 to 11) while each phase runs.
class NameEntryScreen : public SystemTask {
  public:
    enum State { kNameEntry = 0, kNameShown = 1, kContinue = 2, kFinished = 3 };
    static constexpr int kNameTimer = 1200;
    static constexpr int kNameInputFrom = 1140;
    static constexpr int kShownSteps = 60;
    static constexpr int kContinueTimer = 1259;
    static constexpr int kShortenFrom = 1079;
    static constexpr int kCountSe = 11;
    static constexpr int kMoveSe = 12;
    static constexpr int kConfirmSe = 13;

    NameEntryScreen(GameSystem* owner, int playerBit);
    ~NameEntryScreen() override;

    // False once finished; a player who did not come back into play then pays
    // the next start as a new game.
    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDrawPost() override;

    // The "game" sheet's sprites it draws (the letters come from NameGlyphs).
    static std::span<const char* const> GameSpriteNames();
    State GetState() const { return state_; }
    const NameEditor& GetEditor() const { return editor_; }
    int GetNameTimer() const { return nameTimer_; }
    int GetContinueTimer() const { return continueTimer_; }
    ScreenDrawKit& GetDrawKit() { return kit_; }

  private:
    void UpdateName();
    void Commit();
    void UpdateContinue(bool continueOn);
    void DrawName(float base);
    void DrawContinue(float base);
    void DrawLetter(int index, float x);

    ScreenInput system_;
    ScreenInput input_;
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kAlternate};
    NameEditor editor_;
    int player_;
    State state_ = kFinished;
    int nameTimer_ = kNameTimer;
    int wait_ = kShownSteps;
    int continueTimer_ = kContinueTimer;
    SpriteDrawer* game_ = kit_.AddSheet("game");
    SpriteDrawer* rank_ = kit_.AddSheet("rank");
    std::vector<const SpriteRect*> gameSprites_;
    std::vector<const SpriteRect*> letterSprites_;
    int place_ = 0;
};

}  // namespace mareldon
