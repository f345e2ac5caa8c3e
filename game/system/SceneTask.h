#pragma once

#include "engine/core/String.h"
#include "game/system/SystemTask.h"

namespace mareldon {

// A screen of the scene flow. It hands control back only through its two
// requests: the successor when it runs to its end, the break-in scene when a
// coin, a start or a join-in breaks in.
class SceneTask : public SystemTask {
  public:
    SceneTask(GameSystem* owner, const String& breakInName, const String& successorName, int32_t priority);

    // Only while this is the current scene: it stops being current at once and
    // the flow builds `name` on its next step, or the successor (break-in) scene
    // when `name` is empty. Later requests in the same step find it no longer
    // current and do nothing.
    virtual void RequestSuccessor(const String& name);
    virtual void RequestBreakIn(const String& name);

    // The alive test of most plain screens.
    bool IsAliveWhileCurrent() const { return IsCurrentScene(); }

    const String& GetBreakInName() const { return breakInName; }
    const String& GetSuccessorName() const { return successorName; }

  protected:
    String breakInName;
    String successorName;

  private:
    void Request(const String& name, const String& fallback);
};

}  // namespace mareldon
