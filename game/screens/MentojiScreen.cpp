#include "game/screens/MentojiScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

MentojiScreen::MentojiScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : SceneTask(owner, breakInName, successorName, 10) {
    PlaceholderScreen::Report(Describe("MentojiScreen", breakInName, successorName));
}

MentojiScreen::Placement MentojiScreen::PlacementAt(int step, float cy) {
    if (step < 20) {
        return {cy - float(30 - step) * 19.5f, 0.05f * float(step)};
    }
    if (step >= 25) {
        return {cy + float(step - 25) * 40.0f, float(kSteps - step) / 15.0f};
    }
    return {cy, 1.0f};
}

void MentojiScreen::OnUpdatePre() {
    const int s = GetStepCount();
    if (s == 18 || s == 25) {
        owner->PlaySe(kSe);
    }
    if (s == kRequestStep) {
        RequestSuccessor("");
    }
}

void MentojiScreen::OnDrawPost() {
    if (shutter_ == nullptr) {
        return;
    }
    const float cx = kit_.Width() * 0.5f;
    const Placement at = PlacementAt(GetStepCount(), kit_.Height() * 0.5f);
    shutter_->DrawSprite(*picture_, Vec3{cx, at.y, 0.0f}, ScreenColor{1.0f, 1.0f, 1.0f, at.alpha});
    kit_.Draw();
}

}  // namespace mareldon
