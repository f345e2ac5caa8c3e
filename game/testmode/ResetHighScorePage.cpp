#include "game/testmode/ResetHighScorePage.h"

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

using namespace TestModeTexts;

namespace {

// Only the first game button clears; the others leave without clearing.
constexpr uint32_t kClearButton = 0x40;

}  // namespace

ResetHighScorePage::ResetHighScorePage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title) {}

void ResetHighScorePage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (buttons.pressed & (TestModeScreen::kRight | TestModeScreen::kLeft)) {
        answer = answer ? 0 : 1;
    }
    if (IsYes() && (buttons.pressed & kClearButton)) {
        owner->ResetRanking();
        owner->ResetPairRanking();
        owner->SaveRanking();
    }
    if (buttons.pressed & TestModeScreen::kAnyButton) {
        answer = 1;
        Close();
    }
}

void ResetHighScorePage::DrawPage() {
    DrawAnswerPage(kHighScoreTitle, kHighScoreQuestion, kHighScoreYesHelp, kHighScoreNoHelp, IsYes());
}

}  // namespace mareldon
