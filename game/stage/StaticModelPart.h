#pragma once

#include "engine/core/String.h"
#include "engine/render/scene/ClockNode.h"

namespace mareldon {

class GameWorldScreen;

// A node with its own clock (time, start and end, all 0 at first) that is its own
// motion root: the base of the ships, bullets, items, the stage scene and the boss
// parts. Its clock runs on past the end of its motion.
class StaticModelPart : public ClockNode {
  public:
    explicit StaticModelPart(TaskObject* parent);
    // Also binds the named model (the archive's first model when the name is missing).
    StaticModelPart(TaskObject* parent, const String& modelName);
    // A stage object: also keeps its world screen and stands at `position`.
    StaticModelPart(TaskObject* parent, GameWorldScreen* screen, const Vec3& position,
                    const String& modelName);

    void OnMotionEnd() override {}

    // The world screen the object belongs to; null outside a stage.
    GameWorldScreen* screen = nullptr;

  protected:
    // The root variant, for StaticModelRoot.
    StaticModelPart(TaskObject* parent, RootNodeTag tag);
};

}  // namespace mareldon
