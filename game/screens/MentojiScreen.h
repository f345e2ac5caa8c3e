#pragma once

#include "game/screens/ScreenDrawKit.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The shutter of "titleshutter", "tutorialshutter", "prevstage" and "nextstage":
// a picture drops in, holds, then slides down and fades. It asks for the next
// scene at step 22, while it covers the screen, and stays over that scene until
// its 40th step.
class MentojiScreen : public SceneTask {
  public:
    static constexpr int kSteps = 40;
    static constexpr int kRequestStep = 22;
    static constexpr int kSe = 18;

    MentojiScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    bool IsAlive() override { return GetStepCount() != kSteps; }
    void OnUpdatePre() override;
    void OnDrawPost() override;

    // The picture's centre y and alpha at step s, around the centre height cy.
    struct Placement {
        float y;
        float alpha;
    };
    static Placement PlacementAt(int step, float cy);

  private:
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kAlternate};
    SpriteDrawer* shutter_ = kit_.AddSheet("mentoji");
    const SpriteRect* picture_ = shutter_ != nullptr ? &shutter_->Sheet()->Find("mentoji") : nullptr;
};

}  // namespace mareldon
