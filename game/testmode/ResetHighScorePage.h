#pragma once

#include "game/testmode/TestModePage.h"

namespace mareldon {

// Refills both rankings with their default entries and writes the ranking file.
class ResetHighScorePage : public TestModePage {
  public:
    ResetHighScorePage(TestModeScreen& screen, int32_t itemCount, const String& title);

    void HandleInput() override;
    void DrawPage() override;

    bool IsYes() const { return answer == 0; }

  private:
    uint8_t answer = 1;  // 0 YES, 1 NO
};

}  // namespace mareldon
