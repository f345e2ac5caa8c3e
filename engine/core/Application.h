#pragma once

#include <cstdint>

#include "engine/core/AppBase.h"
#include "engine/core/LoopHooks.h"
#include "engine/core/TaskObject.h"

namespace mareldon {

// The root of the task tree: alive while it has a child.
class RootTask final : public TaskObject {
  public:
    RootTask();
    bool IsAlive() override { return childCount > 0; }
};

// The task tree and the fixed-step main loop. One pass pumps messages, ends the loop
// when the root has no child, draws and presents once, then runs as many 1/60 s
// steps (input, update pass, sweep) as the clock allows. A lag of 0.1 s or more is
// dropped in whole 0.1 s blocks instead of being caught up.
//
// Time is kept as the lag behind the clock, fed by wrap-safe tick differences, so
// the loop keeps its pace after days of uptime and across the 2^32 ms wrap.
class Application : public AppBase {
  public:
    Application(int argc, const char* const* argv);
    ~Application() override;

    // Runs passes until the root has no child, sleeping through the clock when no
    // step is due.
    void Run() override;

    // Restarts the loop's time at the clock's current reading.
    void StartClock();
    // One pass of the loop; false when the root has no child left.
    bool RunPass();
    // One fixed step: input, update pass, sweep.
    void StepOnce();
    bool RootIsAlive() { return root.IsAlive(); }

    // The services the loop drives (null: nothing to do). Not owned.
    void SetMessagePump(MessagePump* pump) { messagePump = pump; }
    void SetFramePresenter(FramePresenter* presenter) { framePresenter = presenter; }
    void SetInputPoller(InputPoller* poller) { inputPoller = poller; }

    // Seconds until the next step is due (0 when one is due now).
    double TimeToNextStep() const;
    uint32_t StepsInLastPass() const { return stepsInLastPass; }

  protected:
    // Asked after every step: true draws and presents the picture of that step
    // before any further step of the pass (a capture named by step wants it).
    virtual bool DrawAfterStep() { return false; }

  public:
    uint32_t DroppedBlocks() const { return droppedBlocks; }

    RootTask root;
    uint32_t startTime;

  private:
    MessagePump* messagePump = nullptr;
    FramePresenter* framePresenter = nullptr;
    InputPoller* inputPoller = nullptr;
    uint32_t lastTick;
    double lag = 0.0;  // seconds of clock time not yet simulated
    uint32_t stepsInLastPass = 0;
    uint32_t droppedBlocks = 0;
};

// The entry sequence: Init, and when it succeeds Run and Exit. Always 0, like the
// original program's exit code.
int ApplicationMain();

}  // namespace mareldon
