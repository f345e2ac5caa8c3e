#pragma once

#include <cmath>

#include "engine/core/TaskObject.h"
#include "engine/render/scene/ClockNode.h"

namespace mareldon {

// A plain task at 60 steps a second, as the program's root is.
class SceneTestRoot : public TaskObject {
  public:
    SceneTestRoot() : TaskObject(nullptr, 0) {
        frameRate = 60.0f;
        framePeriod = 1.0f / 60.0f;
    }
};

// A clock-owning node that counts its motion ends; with `asRoot` it is also the time-scale
// owner, at `scale`.
class TestClock : public ClockNode {
  public:
    explicit TestClock(TaskObject* parent) : ClockNode(parent, 0) {}
    TestClock(TaskObject* parent, RootNodeTag tag) : ClockNode(parent, 0, tag) {}
    void OnMotionEnd() override { ++ends; }
    float GetTimeScale() override { return scale; }
    int ends = 0;
    float scale = 1.0f;
};

inline float MaxDifference(const Matrix4& a, const Matrix4& b) {
    float most = 0.0f;
    for (int i = 0; i < 16; ++i)
        most = std::fmax(most, std::fabs(a[i] - b[i]));
    return most;
}

}  // namespace mareldon
