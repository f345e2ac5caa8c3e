#pragma once

#include "game/screens/TitleScreen.h"

namespace mareldon {

// The "titlestart" scene: the title that waits, with no time limit, for a
// player who may start; it joins the player and goes to "titleshutter".
class TitleStartScreen : public TitleScreen {
  public:
    TitleStartScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    void OnUpdatePre() override;

  protected:
    bool IsTitleStart() const override { return true; }
};

}  // namespace mareldon
