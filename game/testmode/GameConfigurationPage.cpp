#include "game/testmode/GameConfigurationPage.h"

#include <cstdio>

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr const TextPair* kHelps[] = {&kDifficultyHelp, &kShipStockHelp, &kBombStockHelp, &kGameReturnHelp};
constexpr float kBoxSize = 16.0f;

}  // namespace

GameConfigurationPage::GameConfigurationPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title) {
    const GameSettings& live = owner->GetGameSettings();
    const GameSettings& factory = owner->DefaultGameSettings();
    lines.Add(TestMenuSetting(kDifficulty[0], live.difficulty, factory.difficulty, 1, 8));
    lines.Add(TestMenuSetting(kShipStock[0], live.shipStock, factory.shipStock, 1, 9));
    lines.Add(TestMenuSetting(kBombStock[0], live.bombStock, factory.bombStock, 1, 9));
    lines.Add(TestMenuSetting(kReturn[0], -1, -1, -1, -1));
    lines.Colour(cursor);
}

void GameConfigurationPage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (!question) {
        if (buttons.repeat & TestModeScreen::kDown) {
            cursor = cursor + 1 > kReturnLine ? 0 : cursor + 1;
        } else if (buttons.repeat & TestModeScreen::kUp) {
            cursor = cursor - 1 < 0 ? kReturnLine : cursor - 1;
        }
        if (cursor < kReturnLine) {
            if (buttons.repeat & TestModeScreen::kRight) {
                lines[cursor].Step(1);
            } else if (buttons.repeat & TestModeScreen::kLeft) {
                lines[cursor].Step(-1);
            }
        }
    }
    lines.Colour(cursor);
    const bool button = (buttons.pressed & TestModeScreen::kAnyButton) != 0;
    if (question) {
        if (buttons.repeat & (TestModeScreen::kRight | TestModeScreen::kLeft)) {
            answer = answer ? 0 : 1;
        }
        if (button) {
            if (answer) {
                owner->StoreGameSettings(GameSettings{lines[0].value, lines[1].value, lines[2].value});
            }
            question = 0;
            Close();
        }
        return;
    }
    if (button && cursor == kReturnLine) {
        question = 1;
        answer = 0;
    }
}

void GameConfigurationPage::DrawPage() {
    const float w = screen.Width();
    const float third = w * 0.33333334f;
    DrawTitle(kGameTitle, 12);
    for (int32_t i = 0; i < lines.Count(); ++i) {
        const TestMenuSetting& line = lines[i];
        const float y = 48.0f + 24.0f * float(i);
        screen.TextFrom(third - 96, y, line.labelColour, line.label.Text());
        if (i == 1 || i == 2) {
            char number[16];
            std::snprintf(number, sizeof number, "%d", int(line.value));
            screen.TextFrom(third + 144, y, line.valueColour, number);
        }
    }
    const TestMenuSetting& difficulty = lines[0];
    screen.TextFrom(190, 48, difficulty.labelColour, kEasy[0]);
    screen.TextFrom(402, 48, difficulty.labelColour, kHard[0]);
    ScreenColor faint = difficulty.valueColour;
    faint.a = 0.5f;
    for (int32_t v = difficulty.minimum; v <= difficulty.maximum; ++v) {
        screen.Quad(kBoxSize * float(v) + 246, 48, kBoxSize * float(v) + 262, 48 + kBoxSize, faint);
    }
    ScreenColor bar = difficulty.valueColour;
    bar.a = 1.0f;
    screen.Quad(kBoxSize * float(difficulty.minimum) + 246, 48, kBoxSize * float(difficulty.value) + 262,
                48 + kBoxSize, bar);
    screen.TextFrom(third - 144, 48.0f + 24.0f * float(cursor), kRed, kCursorMark[0]);
    if (question) {
        DrawQuestion(kSaveQuestion, answer != 0, screen.Language());
        DrawHelps(screen.Pick(answer ? kSaveHelp : kDiscardHelp), kKeyAnswer[0], kKeyConfirm[0]);
    } else {
        DrawHelps(screen.Pick(*kHelps[cursor]), screen.Pick(kKeySelect),
                  cursor == kReturnLine ? kKeyConfirm[0] : screen.Pick(kKeyChange));
    }
}

}  // namespace mareldon
