#pragma once

#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

// The operator's test mode, scene "testmode"; leaving it requests "quit".
class TestModeScreen : public PlaceholderScreen {
  public:
    TestModeScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("TestModeScreen", breakInName, successorName)) {}
};

}  // namespace mareldon
