#pragma once

#include "game/testmode/TestModePage.h"

namespace mareldon {

// Puts the operating, game and sound settings back to their factory values.
class FactorySettingPage : public TestModePage {
  public:
    FactorySettingPage(TestModeScreen& screen, int32_t itemCount, const String& title);

    void HandleInput() override;
    void DrawPage() override;

    bool IsYes() const { return answer == 0; }

  private:
    uint8_t answer = 1;  // 0 YES, 1 NO
};

}  // namespace mareldon
