#pragma once

#include <cstdint>

#include "engine/core/TreeNode.h"

namespace mareldon {

// One game-controller slot as the input manager fills it each step.
struct PadState {
    uint8_t connected;  // 1 when the slot delivered a state this step
    float buttons[24];  // pressed above 0.6
    float axes[9];      // three (x, y, z) triples; -1 left or up, +1 right or down
};

struct MouseState {
    uint8_t connected;
    int32_t words[11];
};

struct KeyboardState {
    uint8_t connected;
    uint8_t keys[256];  // by Windows virtual-key code, non-zero while down
};

// A node the input manager steps once per game step (not a task).
class InputNode : public TreeNode {
  public:
    virtual void Update() = 0;
};

// The one input service: refreshes the device states each step, then steps its
// InputNode children.
class InputManagerBase : public TreeNode {
  public:
    virtual void Update() = 0;
    virtual const PadState& GetPadState(int index) = 0;
    virtual const MouseState& GetMouseState(int index) = 0;
    virtual const KeyboardState& GetKeyboardState(int index) = 0;
};

}  // namespace mareldon
