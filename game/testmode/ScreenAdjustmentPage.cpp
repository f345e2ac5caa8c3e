#include "game/testmode/ScreenAdjustmentPage.h"

#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr float kColumnWidth = 28.0f;
constexpr float kBandTop = 48.0f;
constexpr float kBandHeight = 56.0f;
constexpr float kGridStep = 32.0f;

}  // namespace

ScreenAdjustmentPage::ScreenAdjustmentPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title) {}

void ScreenAdjustmentPage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (buttons.pressed & TestModeScreen::kAnyButton) {
        picture = picture ? 0 : 1;
    }
    if (buttons.pressed & (TestModeScreen::kService | TestModeScreen::kTest)) {
        picture = 0;
        Close();
    }
}

ScreenColor ScreenAdjustmentPage::BarColour(int band, int column) {
    const float t = float(column) / 16.0f;
    const float d = 1.0f - t;
    switch (band) {
        case 1:
            return {d, 0, 0, 1};
        case 2:
            return {0, d, 0, 1};
        case 3:
            return {0, 0, d, 1};
        case 4:
            return {d, d, d, 1};
        case 5:
            return {2 - 2 * t, 2 * t, 0, 1};
        case 6:
            return {0, 2 - 2 * t, 2 * t, 1};
        default:
            return {2 * t, 0, 2 - 2 * t, 1};
    }
}

void ScreenAdjustmentPage::DrawPage() {
    if (picture == 0) {
        DrawBars();
    } else {
        DrawGrid();
    }
}

void ScreenAdjustmentPage::DrawBars() {
    const float third = screen.Width() * 0.33333334f;
    for (int band = 1; band <= kBands; ++band) {
        const float top = kBandTop + kBandHeight * float(band - 1);
        for (int i = 0; i < kColumns; ++i) {
            screen.Quad(third - 144 + kColumnWidth * float(i), top, third - 116 + kColumnWidth * float(i),
                        top + kBandHeight, BarColour(band, i));
        }
    }
    screen.TextCentred(240, screen.Height() - 48, kRed, screen.Pick(kLeaveHelp));
}

void ScreenAdjustmentPage::DrawGrid() {
    const float w = screen.Width();
    const float h = screen.Height();
    for (int j = 1; j <= int(h / kGridStep) - 1; ++j) {
        const float y = kGridStep * float(j) - 1;
        screen.Line(0, y, w, y, 1.0f, kWhite);
    }
    for (int i = 1; i <= int(w / kGridStep) - 1; ++i) {
        const float x = kGridStep * float(i) - 1;
        screen.Line(x, 0, x, h, 1.0f, kWhite);
    }
    // Each corner: a green diagonal pixel on the edge, a red one a pixel further in.
    struct Mark {
        float x0, y0, x1, y1;
        const ScreenColor* colour;
    };
    const Mark marks[] = {
        {1, 1, 2, 2, &kGreen},         {2, 2, 3, 3, &kRed},
        {w - 1, 1, w, 2, &kGreen},     {w - 2, 2, w - 1, 3, &kRed},
        {1, h - 1, 2, h, &kGreen},     {2, h - 2, 3, h - 1, &kRed},
        {w - 1, h - 1, w, h, &kGreen}, {w - 2, h - 2, w - 1, h - 1, &kRed},
    };
    for (const Mark& mark : marks) {
        screen.Line(mark.x0, mark.y0, mark.x1, mark.y1, 0.0f, *mark.colour);
    }
    screen.TextCentred(w / 2, h / 2 - 24, kRed, screen.Pick(kLeaveHelp));
}

}  // namespace mareldon
