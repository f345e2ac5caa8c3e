#pragma once

#include "game/screens/ScreenDrawKit.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The "boot" scene: shows "now_loading", loads the shared resources inside its
// second drawn frame (the first is already on screen then), and hands over on
// the first step after they are loaded.
class LoadingScreen : public SceneTask {
  public:
    LoadingScreen(GameSystem* owner, const String& breakInName, const String& successorName);

    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override;
    void OnDrawPre() override;

    int GetDrawCount() const { return drawCount_; }

  private:
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kStandard};
    SpriteDrawer* system_ = kit_.AddSheet("systemimage");
    const SpriteRect* loading_ = system_ != nullptr ? &system_->Sheet()->Find("now_loading") : nullptr;
    int drawCount_ = 0;
};

}  // namespace mareldon
