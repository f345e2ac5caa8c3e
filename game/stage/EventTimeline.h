#pragma once

#include <cstdint>

#include "engine/render/scene/Object3D.h"

namespace mareldon {

class EventTimeline;

// One callback of a frame: an owner and what to call on it.
class TimelineAction {
  public:
    virtual ~TimelineAction() = default;
    virtual void Fire(EventTimeline& timeline) = 0;

    TimelineAction* next = nullptr;
};

// The actions of one frame number, newest first.
class TimelineFrameEntry {
  public:
    virtual ~TimelineFrameEntry();

    TimelineFrameEntry* next = nullptr;
    int32_t frame = 0;
    TimelineAction* actions = nullptr;
};

// A schedule of owner callbacks keyed by whole frame numbers, a child task of its
// owner. The owner feeds it an amount each step (frames its clock advanced, or damage
// taken); in its own update it fires, in frame order, every entry the whole units
// reach. Entries and actions are made before play and never during it.
class EventTimeline : public Object3D {
  public:
    explicit EventTimeline(TaskObject* owner);
    ~EventTimeline() override;

    // Actions of one frame fire in the reverse order of their adding.
    template <typename Owner>
    void AddEvent(int32_t frame, Owner* owner, void (Owner::*callback)(EventTimeline&)) {
        Insert(frame, new MemberAction<Owner>(owner, callback));
    }
    // A plain function of the owner, as the loop and kill callbacks are.
    template <typename Owner, typename Target>
    void AddEvent(int32_t frame, Owner* owner, void (*callback)(Target&, EventTimeline&)) {
        Insert(frame, new FunctionAction<Target>(owner, callback));
    }

    // Runs on from where it stands: a timeline that never ran starts at frame 0.
    void Start() { stopped = 0; }
    // Frame 0, running.
    void Restart();
    // Frame 0, stopped.
    void Stop();
    // Frame 0, from the first entry again.
    void Rewind();
    void AddTime(float amount) { accumulator += amount; }

    bool IsStopped() const { return stopped != 0; }
    int32_t GetFrame() const { return frame; }
    float GetAccumulator() const { return accumulator; }

    // The per-step consumption of the fed units.
    void OnUpdatePre() override;

  private:
    template <typename Owner>
    class MemberAction : public TimelineAction {
      public:
        MemberAction(Owner* owner, void (Owner::*callback)(EventTimeline&))
            : owner(owner), callback(callback) {}
        void Fire(EventTimeline& timeline) override { (owner->*callback)(timeline); }

      private:
        Owner* owner;
        void (Owner::*callback)(EventTimeline&);
    };
    template <typename Target>
    class FunctionAction : public TimelineAction {
      public:
        FunctionAction(Target* owner, void (*callback)(Target&, EventTimeline&))
            : owner(owner), callback(callback) {}
        void Fire(EventTimeline& timeline) override { callback(*owner, timeline); }

      private:
        Target* owner;
        void (*callback)(Target&, EventTimeline&);
    };

    void Insert(int32_t frame, TimelineAction* action);

    uint8_t stopped = 1;
    int32_t frame = 0;
    TimelineFrameEntry* cursor = nullptr;
    float accumulator = 0.0f;
    TimelineFrameEntry* entries = nullptr;
};

// Rewinds the timeline while it runs: added last in an attack cycle, it makes the
// schedule repeat.
void TimelineLoopCallback(TaskObject& owner, EventTimeline& timeline);

}  // namespace mareldon
