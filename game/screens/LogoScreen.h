#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The logo scenes "logo1" ("brova_logo") and "logo2" ("orsane_logo").
class LogoScreen : public PlaceholderScreen {
  public:
    LogoScreen(GameSystem* owner, const String& breakInName, const String& successorName, const String& image)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("LogoScreen", breakInName, successorName) + " " + image.Text()) {
        breaksInOnCoin = true;
    }
};

}  // namespace mareldon
