#pragma once

#include "game/stage/StaticModelPart.h"

namespace mareldon {

// The root of a hierarchy: a StaticModelPart that is also the time-scale owner of the
// clocks below it (node type 4). Its world matrix stays identity unless it is moved.
// Lowering `timeScale` slows every clock of its subtree.
class StaticModelRoot : public StaticModelPart {
  public:
    explicit StaticModelRoot(TaskObject* parent);

    float GetTimeScale() override { return timeScale; }

    float timeScale = 1.0f;
};

}  // namespace mareldon
