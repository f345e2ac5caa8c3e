#include "game/testmode/FactorySettingPage.h"

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

using namespace TestModeTexts;

FactorySettingPage::FactorySettingPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title) {}

void FactorySettingPage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (buttons.pressed & (TestModeScreen::kRight | TestModeScreen::kLeft)) {
        answer = answer ? 0 : 1;
    }
    if (buttons.pressed & TestModeScreen::kAnyButton) {
        if (IsYes()) {
            // Each store rewrites the settings file whole.
            owner->StoreOperatingSettings(owner->DefaultOperatingSettings());
            owner->StoreGameSettings(owner->DefaultGameSettings());
            owner->StoreSoundSettings(owner->DefaultSoundSettings());
        }
        answer = 1;
        Close();
    }
}

void FactorySettingPage::DrawPage() {
    DrawAnswerPage(kFactoryTitle, kFactoryQuestion, kFactoryYesHelp, kFactoryNoHelp, IsYes());
}

}  // namespace mareldon
