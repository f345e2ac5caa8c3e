#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class ModelEntry;

// The three floats of a node's own clock, in seconds.
struct MotionClock {
    float time = 0.0f;
    float start = 0.0f;
    float end = 0.0f;
};

// A node that keeps its own clock and is its own motion root: the nodes below it read
// their time from it. The clocks advance at the time scale of their time-scale owner.
class ClockNode : public Object3D {
  public:
    // Its time-scale owner is its parent's.
    explicit ClockNode(TaskObject* parent, int32_t priority = 0);
    // The root variant: its own time-scale owner as well.
    ClockNode(TaskObject* parent, int32_t priority, RootNodeTag);

    float GetMotionTime() override { return clock.time; }
    void SetMotionTime(float time) override { clock.time = time; }
    // time += the owner's time scale x the frame period; then, when the time is past the
    // end, OnMotionEnd (at every such advance: there is no wrap of its own); then the
    // children's clocks.
    void AdvanceMotionTime() override;
    // Wraps, holds or removes the node; nothing by default, so the clock runs on.
    virtual void OnMotionEnd() {}

    // Binds a model: the clock's start and end from the entry (the time stays), this
    // node its own motion root and posed by the root record, and a node under it for
    // every record of the tree, each class chosen by the node-creation hooks. An empty
    // entry binds nothing.
    void BindMotion(const RefPtr<ModelEntry>& entry);

    MotionClock clock;
};

}  // namespace mareldon
