#include "game/testmode/TestModePage.h"

#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

TestModePage::TestModePage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : SystemTask(&screen, 0),
      TestMenuText(itemCount, title),
      screen(screen),
      input(screen.MakeInput(PlayerInput::kPad0 | PlayerInput::kKeyboard)) {}

TestModePage::~TestModePage() {
    delete input;
}

const ButtonSet& TestModePage::Buttons() const {
    return TestModeScreen::ButtonsOf(input);
}

void TestModePage::Close() {
    screen.active = 1;
    screen.page = nullptr;
    cursor = 0;
    alive = 0;
}

void TestModePage::DrawTitle(const TextPair& title, float y) const {
    screen.TextCentred(screen.Width() / 2, y, kYellow, screen.Pick(title));
}

void TestModePage::DrawQuestion(const TextPair& question, bool yes, int answerLanguage) const {
    using namespace TestModeTexts;
    const float w = screen.Width();
    const float h = screen.Height();
    screen.TextCentred(w / 2, h - 216, kWhite, screen.Pick(question));
    screen.TextCentred(0.35f * w, h - 168, yes ? kRed : kWhite, (yes ? kYesSelected : kYes)[answerLanguage]);
    screen.TextCentred(0.65f * w, h - 168, yes ? kWhite : kRed, (yes ? kNo : kNoSelected)[answerLanguage]);
}

void TestModePage::DrawHelps(const char* help, const char* key1, const char* key2) const {
    const float w = screen.Width();
    const float h = screen.Height();
    screen.TextCentred(w / 2, h - 96, kYellow, help);
    screen.TextCentred(w / 2, h - 72, kGreen, key1);
    screen.TextCentred(w / 2, h - 48, kGreen, key2);
}

void TestModePage::DrawAnswerPage(const TextPair& title, const TextPair& question, const TextPair& yesHelp,
                                  const TextPair& noHelp, bool yes) const {
    DrawTitle(title, 24);
    DrawQuestion(question, yes, screen.Language());
    DrawHelps(screen.Pick(yes ? yesHelp : noHelp), screen.Pick(TestModeTexts::kAnswerKeySelect),
              screen.Pick(TestModeTexts::kAnswerKeyAction));
}

}  // namespace mareldon
