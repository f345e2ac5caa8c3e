#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/render/scene/ClockNode.h"

namespace mareldon {

class GameWorldScreen;

// The craft of a bomb: the bomb is active from its making to the end of its animation.
class BomberModel : public ClockNode {
  public:
    BomberModel(TaskObject* parent, GameWorldScreen* screen, const String& modelName);
    ~BomberModel() override;

    bool IsAlive() override { return alive != 0; }
    // Ends the bomb once, however often the clock passes the end.
    void OnMotionEnd() override;

    GameWorldScreen* screen;
    uint8_t alive = 1;
};

}  // namespace mareldon
