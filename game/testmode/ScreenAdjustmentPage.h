#pragma once

#include "game/testmode/TestModePage.h"

namespace mareldon {

// Colour bars or a 32-pixel grid with corner marks, switched by any game button;
// only the test or service button leaves.
class ScreenAdjustmentPage : public TestModePage {
  public:
    static constexpr int kColumns = 16;
    static constexpr int kBands = 7;

    ScreenAdjustmentPage(TestModeScreen& screen, int32_t itemCount, const String& title);

    void HandleInput() override;
    void DrawPage() override;

    int Picture() const { return picture; }
    // The colour of a bar cell (band 1..7, column 0..15); values above 1 saturate on screen.
    static ScreenColor BarColour(int band, int column);

  private:
    void DrawBars();
    void DrawGrid();

    uint8_t picture = 0;
};

}  // namespace mareldon
