#include "game/testmode/SetSystemPage.h"

#include <cstdio>

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr const TextPair* kHelps[] = {&kOperatingHelp, &kCoinHelp,      &kCreditHelp,      &kContinueCoinHelp,
                                      &kContinueHelp,  &kDemoSoundHelp, &kSystemReturnHelp};

}  // namespace

SetSystemPage::SetSystemPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title) {
    owner->GetOperatingSettings(&working);
    const OperatingSettings& factory = owner->DefaultOperatingSettings();
    lines.Add(TestMenuSetting(kOperating[0], working.playMode, factory.playMode, 0, 1));
    lines.Add(TestMenuSetting(kCoin[0], working.coins, factory.coins, 1, 4));
    lines.Add(TestMenuSetting(kCredit[0], working.credits, factory.credits, 1, 4));
    lines.Add(TestMenuSetting(kContinueCoin[0], working.continueCoins, factory.continueCoins, 1, 10));
    lines.Add(TestMenuSetting(kContinue[0], working.continueEnabled, factory.continueEnabled, 0, 1));
    lines.Add(TestMenuSetting(kDemoSound[0], working.demoSound, factory.demoSound, 0, 1));
    lines.Add(TestMenuSetting(kSystemReturn[0], 0, 0, 0, 0));
    Refresh();
}

void SetSystemPage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (!question) {
        const int direction = (buttons.pressed & TestModeScreen::kDown) ? 1
                              : (buttons.pressed & TestModeScreen::kUp) ? -1
                                                                        : 0;
        if (direction != 0) {
            // At most one full turn: line 0 and RETURN are never hidden.
            for (int32_t tries = 0; tries < lines.Count(); ++tries) {
                cursor = (cursor + direction + lines.Count()) % lines.Count();
                if (!lines[cursor].IsHidden()) {
                    break;
                }
            }
        }
    }
    if (buttons.pressed & TestModeScreen::kRight) {
        if (question) {
            answer = answer ? 0 : 1;
            return;
        }
        Change(1);
    } else if (buttons.pressed & TestModeScreen::kLeft) {
        if (question) {
            answer = answer ? 0 : 1;
            return;
        }
        Change(-1);
    }
    Refresh();
    const bool button = (buttons.pressed & TestModeScreen::kAnyButton) != 0;
    if (question) {
        if (button) {
            if (answer) {
                const OperatingSettings block{lines[kPlayMode].value,
                                              lines[kCoins].value,
                                              lines[kCredits].value,
                                              lines[kContinueCoins].value,
                                              uint8_t(lines[kContinueOn].value != 0 ? 1 : 0),
                                              uint8_t(lines[kDemoSoundOn].value != 0 ? 1 : 0)};
                owner->StoreOperatingSettings(block);
            }
            question = 0;
            Close();
        }
        return;
    }
    if (button && cursor == kReturn) {
        question = 1;
        answer = 0;
    }
}

void SetSystemPage::Change(int direction) {
    switch (cursor) {
        case kPlayMode:
        case kContinueOn:
        case kDemoSoundOn:
            lines[cursor].Step(direction);
            break;
        case kCoins:
            lines[kCoins].Step(direction);
            lines[kContinueCoins].value = kSamePrice;
            break;
        case kCredits:
            lines[kCredits].Step(direction);
            if (lines[kCredits].value != 1) {
                lines[kContinueCoins].value = kSamePrice;
            }
            break;
        case kContinueCoins: {
            if (lines[kContinueOn].value == 0 || lines[kCredits].value != 1) {
                break;
            }
            // The price takes 1 .. COIN - 1 and 10; 10 is always allowed, so this ends.
            TestMenuSetting& price = lines[kContinueCoins];
            do {
                price.Step(direction);
            } while (price.value >= lines[kCoins].value && price.value != kSamePrice);
            break;
        }
        default:
            break;
    }
}

void SetSystemPage::Refresh() {
    lines.Colour(cursor);
    if (lines[kPlayMode].value != 0) {
        lines[kCoins].Hide();
        lines[kCredits].Hide();
        lines[kContinueCoins].Hide();
    }
    if (lines[kContinueOn].value == 0) {
        lines[kContinueCoins].value = kSamePrice;
    }
}

void SetSystemPage::DrawPage() {
    const float w = screen.Width();
    DrawTitle(kSystemTitle, 24);
    char value[48];
    for (int32_t i = 0; i < lines.Count(); ++i) {
        const TestMenuSetting& line = lines[i];
        const float y = 72.0f + 24.0f * float(i);
        screen.TextFrom(0.1f * w, y, line.labelColour, line.label.Text());
        const char* shown = nullptr;
        switch (i) {
            case kPlayMode:
                shown = screen.Pick(line.value ? kFreePlay : kNormalPlay);
                break;
            case kCoins:
                std::snprintf(value, sizeof value, "%d%s", int(line.value), screen.Pick(kCoin));
                shown = value;
                break;
            case kCredits:
                std::snprintf(value, sizeof value, "%d%s", int(line.value), screen.Pick(kCredit));
                shown = value;
                break;
            case kContinueCoins:
                if (line.value == kSamePrice) {
                    shown = screen.Pick(kSamePlay);
                } else {
                    std::snprintf(value, sizeof value, "%d%s", int(line.value), kCoinUnit[0]);
                    shown = value;
                }
                break;
            case kContinueOn:
            case kDemoSoundOn:
                shown = screen.Pick(line.value ? kOn : kOff);
                break;
            default:
                break;
        }
        if (shown != nullptr) {
            screen.TextFrom(0.6f * w, y, line.valueColour, shown);
        }
    }
    screen.TextFrom(0.1f * w - 24, 72.0f + 24.0f * float(cursor), kRed, kCursorMark[0]);
    if (question) {
        // This page has its answers in Japanese only.
        DrawQuestion(kSaveQuestion, answer != 0, 0);
        DrawHelps(screen.Pick(answer ? kSaveHelp : kDiscardHelp), kKeyAnswer[0], kKeyConfirm[0]);
    } else {
        DrawHelps(screen.Pick(*kHelps[cursor]), screen.Pick(kKeySelect),
                  cursor == kReturn ? kKeyConfirm[0] : screen.Pick(kKeyChange));
    }
}

}  // namespace mareldon
