#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The rankings of "ranking1" (table 0, single players) and "ranking2" (table 1, pairs).
class RankingScreen : public PlaceholderScreen {
  public:
    RankingScreen(GameSystem* owner, const String& breakInName, const String& successorName, int mode,
                  int table)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("RankingScreen", breakInName, successorName) + " " +
                                std::to_string(mode) + " " + std::to_string(table)) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
