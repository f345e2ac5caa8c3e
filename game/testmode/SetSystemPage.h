#pragma once

#include "game/system/ConfigFile.h"
#include "game/testmode/TestMenuList.h"
#include "game/testmode/TestModePage.h"

namespace mareldon {

// Free play, coin and credit prices, the continue price, continue and the
// attract loop's sound, with their interlocks; saved on YES.
class SetSystemPage : public TestModePage {
  public:
    enum Line : int32_t { kPlayMode, kCoins, kCredits, kContinueCoins, kContinueOn, kDemoSoundOn, kReturn };
    // CONTINUE COIN's "same as play".
    static constexpr int32_t kSamePrice = 10;

    SetSystemPage(TestModeScreen& screen, int32_t itemCount, const String& title);

    void HandleInput() override;
    void DrawPage() override;

    const TestMenuList& Lines() const { return lines; }
    bool IsQuestionOpen() const { return question != 0; }

  private:
    void Change(int direction);
    // Colours, then the hidden lines of free play and the forced price.
    void Refresh();

    TestMenuList lines;
    OperatingSettings working{0, 1, 1, 10, 1, 1};
    uint8_t question = 0;
    uint8_t answer = 0;  // 0 NO, 1 YES
};

}  // namespace mareldon
