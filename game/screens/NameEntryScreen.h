#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// A finished player's name entry; the player's first flag (status 12) is set
// while it runs, and the record goes into the ranking when it ends.
class NameEntryScreen : public PlaceholderOverlay {
  public:
    NameEntryScreen(GameSystem* owner, int playerBit)
        : PlaceholderOverlay(owner, playerBit, 0, "NameEntryScreen " + std::to_string(playerBit)) {}

  protected:
    void Finish() override {
        PlayerRecord& record = owner->GetPlayer(playerBit);
        owner->InsertRanking(record);
        record.playCount = 0;
    }
};

}  // namespace mareldon
