#pragma once

#include "game/testmode/TestMenuList.h"
#include "game/testmode/TestModePage.h"

namespace mareldon {

// Difficulty (a scale of boxes), ship stock and bomb stock, saved on YES.
class GameConfigurationPage : public TestModePage {
  public:
    static constexpr int32_t kReturnLine = 3;

    GameConfigurationPage(TestModeScreen& screen, int32_t itemCount, const String& title);

    void HandleInput() override;
    void DrawPage() override;

    const TestMenuList& Lines() const { return lines; }
    bool IsQuestionOpen() const { return question != 0; }
    bool IsYes() const { return answer != 0; }

  private:
    TestMenuList lines;
    uint8_t question = 0;
    uint8_t answer = 0;  // 0 NO, 1 YES
};

}  // namespace mareldon
