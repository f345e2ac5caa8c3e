#pragma once

#include <cstdint>

namespace mareldon {

class CameraNode;
class StaticModelPart;
class StaticModelRoot;
class TaskObject;

// What a stand-in screen shows: the model "placeholder_cube" turning in front of a
// camera with "placeholder_skinned" bending below it, lit by "placeholder.lights" (the
// default lights when that cannot be opened) and drawn with the "Normal" material over
// a clear colour, in one view on the screen target. Its nodes are children of the
// screen. Without a renderer or a screen target nothing is built.
class PlaceholderBackdrop {
  public:
    static constexpr uint32_t kClearColour = 0xFF203050;
    static constexpr const char* kModelName = "placeholder_cube";
    static constexpr const char* kSkinnedModelName = "placeholder_skinned";
    static constexpr const char* kLightFileName = "placeholder.lights";

    explicit PlaceholderBackdrop(TaskObject& screen);

    // One animation step of the backdrop's nodes.
    void Step();
    // The draw pass of the nodes, then the camera's view.
    void Draw();

    StaticModelRoot* root = nullptr;
    StaticModelPart* model = nullptr;
    StaticModelPart* skinned = nullptr;
    CameraNode* camera = nullptr;
};

}  // namespace mareldon
