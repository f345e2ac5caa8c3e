#pragma once

#include <cstdint>

#include "engine/core/InputManagerBase.h"
#include "engine/core/PlayerInput.h"
#include "engine/core/RefPtr.h"
#include "engine/render/scene/NodeController.h"

namespace mareldon {

// Flies a node from held buttons of its own input: bits 0-5 move it along its own
// axes (z, x, y pairs), bit 11 slows to a tenth; with bit 10 held the same bits turn
// it by 1-degree steps (6/7 about z, 0/1 about x, 2/3 about y).
class FlyController : public NodeController {
  public:
    static constexpr uint32_t kSlowBit = 1u << 11;
    static constexpr uint32_t kTurnBit = 1u << 10;

    FlyController(InputManagerBase* inputParent, uint32_t deviceFlags, float speed);
    ~FlyController() override;

    bool Update(Object3D& target) override { return Steer(target); }
    // Always true: the controller stays on its node.
    bool Steer(Object3D& target);

    PlayerInput& Input() { return *input; }
    float speed;

  private:
    RefPtr<PlayerInput> input;
};

}  // namespace mareldon
