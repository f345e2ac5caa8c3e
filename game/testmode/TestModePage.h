#pragma once

#include <cstdint>

#include "engine/core/PlayerInput.h"
#include "game/render/ScreenDrawers.h"
#include "game/system/SystemTask.h"
#include "game/testmode/TestMenuText.h"

namespace mareldon {

class TestModeScreen;
struct TextPair;

// A page of the test mode: a child task of the screen with an input of its own,
// alive until it closes. Also the layout the settings and question pages share.
class TestModePage : public SystemTask, public TestMenuText {
  public:
    static constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr ScreenColor kRed{1.0f, 0.0f, 0.0f, 1.0f};
    static constexpr ScreenColor kGreen{0.0f, 1.0f, 0.0f, 1.0f};
    static constexpr ScreenColor kYellow{1.0f, 1.0f, 0.0f, 1.0f};

    TestModePage(TestModeScreen& screen, int32_t itemCount, const String& title);
    ~TestModePage() override;

    bool IsAlive() override { return alive != 0; }
    void OnUpdatePre() override { HandleInput(); }
    void OnDrawPre() override { DrawPage(); }

    bool IsClosed() const { return alive == 0; }

  protected:
    const ButtonSet& Buttons() const;
    // Hands the input back to the menu; the task tree deletes the page.
    void Close();

    // The page's own title (not the menu entry it came from), centred at (w/2, y), yellow.
    void DrawTitle(const TextPair& title, float y) const;
    // The question and the two answers, the current one bracketed in red.
    void DrawQuestion(const TextPair& question, bool yes, int answerLanguage) const;
    // Help line (yellow) and the two key helps (green).
    void DrawHelps(const char* help, const char* key1, const char* key2) const;
    // A page that is one yes/no question: title, question, answers, the help of
    // the current answer and the left/right key helps.
    void DrawAnswerPage(const TextPair& title, const TextPair& question, const TextPair& yesHelp,
                        const TextPair& noHelp, bool yes) const;

    TestModeScreen& screen;
    PlayerInput* input;
    uint8_t alive = 1;
};

}  // namespace mareldon
