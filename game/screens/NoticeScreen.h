#pragma once

#include "game/screens/ScreenDrawKit.h"
#include "game/system/SceneTask.h"

namespace mareldon {

// The "notice" scene: the "NOTICE" picture for 180 steps. Its life is bracketed
// by two I/O events, IoEvent::kNoticeShown when built and IoEvent::kNoticeEnded
// when deleted.
class NoticeScreen : public SceneTask {
  public:
    static constexpr int kSteps = 180;

    NoticeScreen(GameSystem* owner, const String& breakInName, const String& successorName);
    ~NoticeScreen() override;

    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override;
    void OnDrawPre() override;

  private:
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kStandard};
    SpriteDrawer* notice_ = nullptr;
    const SpriteRect* picture_ = nullptr;
};

}  // namespace mareldon
