#pragma once

namespace mareldon {

class Object3D;

// Something that drives a node each animation step (a free camera, a homing turn).
// A node holds its controllers by counted handle and asks each one per Animate;
// one that answers false is released at once.
class NodeController {
  public:
    virtual ~NodeController() = default;
    // True keeps the controller on the node.
    virtual bool Update(Object3D& node) {
        (void)node;
        return false;
    }
};

}  // namespace mareldon
