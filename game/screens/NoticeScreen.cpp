#include "game/screens/NoticeScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"

namespace mareldon {

NoticeScreen::NoticeScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : SceneTask(owner, breakInName, successorName, 0) {
    PlaceholderScreen::Report(Describe("NoticeScreen", breakInName, successorName));
    owner->ReportEvent(IoEvent::kNoticeShown, 0);
    notice_ = kit_.AddSheet("NOTICE");
    if (notice_ != nullptr) {
        picture_ = &notice_->Sheet()->Find("NOTICE");
    }
}

NoticeScreen::~NoticeScreen() {
    owner->ReportEvent(IoEvent::kNoticeEnded, 0);
}

void NoticeScreen::OnUpdatePre() {
    if (GetStepCount() == kSteps) {
        RequestSuccessor("");
    }
}

void NoticeScreen::OnDrawPre() {
    kit_.Clear(0x00000001);
    if (notice_ != nullptr) {
        notice_->DrawSprite(*picture_, Vec3{kit_.Width() * 0.5f, kit_.Height() * 0.3f, 0.01f},
                            ScreenColor{1.0f, 1.0f, 1.0f, 1.0f});
    }
    kit_.Draw();
}

}  // namespace mareldon
