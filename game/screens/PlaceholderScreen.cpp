#include "game/screens/PlaceholderScreen.h"

#include "game/system/GameSystem.h"

namespace mareldon {

int PlaceholderScreen::stepsToRun = 60;
PlaceholderScreen::BuildHook PlaceholderScreen::onBuilt = nullptr;

void PlaceholderScreen::Report(const std::string& description) {
    if (onBuilt != nullptr) {
        onBuilt(description);
    }
}

std::string Describe(const char* screen, const String& a, const String& b) {
    return std::string(screen) + " " + a.Text() + " " + b.Text();
}

PlaceholderScreen::PlaceholderScreen(GameSystem* owner, const String& breakInName,
                                     const String& successorName, const std::string& description)
    : SceneTask(owner, breakInName, successorName, 0) {
    Report(description);
}

void PlaceholderScreen::OnUpdatePre() {
    backdrop.Step();
    Step();
    ++steps;
}

void PlaceholderScreen::Step() {
    CheckBreakIn();
    if (steps + 1 >= stepsToRun) {
        RequestSuccessor("");
    }
}

void PlaceholderScreen::CheckBreakIn() {
    const ButtonSet first = owner->GetSystemButtons(0);
    const ButtonSet second = owner->GetSystemButtons(1);
    if (breaksInOnCoin && ((first.pressed & SystemButton::kCoin) ||
                           ((first.released | second.released) & SystemButton::kService))) {
        RequestBreakIn("");
    }
}

PlaceholderOverlay::PlaceholderOverlay(GameSystem* owner, int playerBit, int flagIndex,
                                       const std::string& description)
    : SystemTask(owner, 0), playerBit(playerBit), flagIndex(flagIndex) {
    owner->GetPlayerFlags(playerBit)[flagIndex] = 1;
    PlaceholderScreen::Report(description);
}

void PlaceholderOverlay::OnUpdatePre() {
    if (++steps == PlaceholderScreen::stepsToRun) {
        Finish();
    }
}

PlaceholderOverlay::~PlaceholderOverlay() {
    owner->GetPlayerFlags(playerBit)[flagIndex] = 0;
}

}  // namespace mareldon
