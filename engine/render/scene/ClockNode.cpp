#include "engine/render/scene/ClockNode.h"

namespace mareldon {

ClockNode::ClockNode(TaskObject* parentTask, int32_t priorityValue) : Object3D(parentTask, priorityValue) {
    motionRoot = this;
}

ClockNode::ClockNode(TaskObject* parentTask, int32_t priorityValue, RootNodeTag tag)
    : Object3D(parentTask, priorityValue, tag) {}

void ClockNode::AdvanceMotionTime() {
    const float scale = timeScaleOwner != nullptr ? timeScaleOwner->GetTimeScale() : 1.0f;
    clock.time += scale * framePeriod;
    if (clock.time > clock.end)
        OnMotionEnd();
    Object3D::AdvanceMotionTime();
}

// BindMotion is in ModelBinding.cpp, with the builder it starts.

}  // namespace mareldon
