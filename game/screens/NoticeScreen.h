#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

// The "notice" scene: tells the I/O board the attract loop began (0x03000000) and ended (0x04000000).
class NoticeScreen : public PlaceholderScreen {
  public:
    NoticeScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("NoticeScreen", breakInName, successorName)) {
        owner->ReportEvent(0x03000000, 0);
    }
    ~NoticeScreen() override { owner->ReportEvent(0x04000000, 0); }
};

}  // namespace mareldon
