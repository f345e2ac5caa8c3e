#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"

namespace mareldon {

// The "notice" scene: tells the I/O board the attract loop began (IoEvent::kNoticeShown) and ended
// (IoEvent::kNoticeEnded).
class NoticeScreen : public PlaceholderScreen {
  public:
    NoticeScreen(GameSystem* owner, const String& breakInName, const String& successorName)
        : PlaceholderScreen(owner, breakInName, successorName,
                            Describe("NoticeScreen", breakInName, successorName)) {
        owner->ReportEvent(IoEvent::kNoticeShown, 0);
    }
    ~NoticeScreen() override { owner->ReportEvent(IoEvent::kNoticeEnded, 0); }
};

}  // namespace mareldon
