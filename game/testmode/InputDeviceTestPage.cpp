#include "game/testmode/InputDeviceTestPage.h"

#include <cstdio>
#include <cstring>

#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr uint32_t kSwitchButtons[4] = {0x40, 0x80, 0x100, 0x200};
constexpr ScreenColor kOnColour{1.0f, 1.0f, 0.0f, 1.0f};
constexpr ScreenColor kOffColour{0.0f, 0.0f, 1.0f, 1.0f};

// Bit per stick value 0..14 that shows the direction ON.
constexpr uint32_t kShows[4] = {
    (1u << 1) | (1u << 5) | (1u << 9),   // up
    (1u << 2) | (1u << 6) | (1u << 10),  // down
    (1u << 4) | (1u << 5) | (1u << 6),   // left
    (1u << 8) | (1u << 9) | (1u << 10),  // right
};

}  // namespace

InputDeviceTestPage::InputDeviceTestPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title),
      players{screen.MakeInput(PlayerInput::kPad0 | PlayerInput::kKeyboard),
              screen.MakeInput(PlayerInput::kPad1 | PlayerInput::kKeyboard)} {}

InputDeviceTestPage::~InputDeviceTestPage() {
    delete players[0];
    delete players[1];
}

bool InputDeviceTestPage::StickShows(int32_t value, int direction) {
    return value >= 0 && value < 15 && ((kShows[direction] >> value) & 1u) != 0;
}

void InputDeviceTestPage::HandleInput() {
    std::memset(switches, 0, sizeof switches);
    for (int p = 0; p < 2; ++p) {
        const ButtonSet& held = TestModeScreen::ButtonsOf(players[p]);
        for (int k = 0; k < 4; ++k) {
            if ((held.held & kSwitchButtons[k]) == kSwitchButtons[k]) {
                switches[2 * k + p] = 1;
            }
        }
        stick[p] = int32_t(held.held & 15u);
    }
    if (Buttons().pressed & (TestModeScreen::kService | TestModeScreen::kTest)) {
        Close();
    }
    const uint32_t coins = inputManager != nullptr ? inputManager->coinSlotMask : 0;
    switches[2 * kSwitchCoin + 0] = (coins & 1u) ? 1 : 0;
    switches[2 * kSwitchCoin + 1] = (coins & 2u) ? 1 : 0;
}

void InputDeviceTestPage::DrawPage() {
    const float w = screen.Width();
    const float h = screen.Height();
    char line[64];
    DrawTitle(kInputTitle, 24);
    for (int p = 0; p < 2; ++p) {
        const float column = 0.5f * float(p);
        const char digit[2] = {char('1' + p), 0};
        std::snprintf(line, sizeof line, "%s%s", screen.Pick(kPlayer), digit);
        screen.TextFrom((0.12f + column) * w, 144, kWhite, line);
        screen.TextFrom((0.07f + column) * w, 192, kWhite, screen.Pick(kStart));
        for (int b = 0; b < 3; ++b) {
            std::snprintf(line, sizeof line, "%s%d :", screen.Pick(kButton), b + 1);
            screen.TextFrom((0.07f + column) * w, 216.0f + 24.0f * float(b), kWhite, line);
        }
        const int order[4] = {kSwitchStart, kSwitchButton1, kSwitchButton2, kSwitchButton3};
        for (int i = 0; i < 4; ++i) {
            const bool on = SwitchOn(p, order[i]);
            screen.TextFrom((0.32f + column) * w, 192.0f + 24.0f * float(i), on ? kOnColour : kOffColour,
                            on ? kSwitchOn[0] : kSwitchOff[0]);
        }
        std::snprintf(line, sizeof line, "%s%s", screen.Pick(kJoystick), digit);
        screen.TextFrom((0.05f + column) * w, 312, kWhite, line);
        const auto state = [&](int direction, float x, float y) {
            const bool on = StickShows(stick[p], direction);
            screen.TextFrom(x, y, on ? kOnColour : kOffColour, on ? kSwitchOn[0] : kSwitchOff[0]);
        };
        state(kStickUpward, (0.15f + column) * w + 24, 336);
        screen.TextFrom((0.175f + column) * w + 24, 360, kWhite, screen.Pick(kStickUp));
        state(kStickLeftward, (0.05f + column) * w, 384);
        screen.TextFrom((0.175f + column) * w, 384, kWhite, screen.Pick(kStickLeftRight));
        state(kStickRightward, (0.35f + column) * w, 384);
        screen.TextFrom((0.175f + column) * w + 24, 408, kWhite, screen.Pick(kStickDown));
        state(kStickDownward, (0.15f + column) * w + 24, 432);
    }
    screen.TextCentred(w / 2, h - 48, kGreen, screen.Pick(kLeaveHelp));
}

}  // namespace mareldon
