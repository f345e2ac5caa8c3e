#pragma once

#include <cstdint>

namespace mareldon {

class CameraNode;
class ShadowmapNode;
class StaticModelPart;
class StaticModelRoot;
class TaskObject;

// What a stand-in screen shows: the model "placeholder_cube" turning in front of a
// camera with "placeholder_skinned" bending below it over "placeholder_ground", and 16
// "placeholder_swarm" quads (one instanced draw, layer "lightweight") in two rows above
// them, lit by "placeholder.lights" (the default lights when that cannot be opened)
// and drawn with the "Normal" material over a clear colour, in one view on the screen
// target. The light file's shadow record gives a shadow map, rendered each frame
// before that view. Its nodes are children of the screen. Without a renderer or a
// screen target nothing is built.
class PlaceholderBackdrop {
  public:
    static constexpr uint32_t kClearColour = 0xFF203050;
    static constexpr const char* kModelName = "placeholder_cube";
    static constexpr const char* kSkinnedModelName = "placeholder_skinned";
    static constexpr const char* kLightFileName = "placeholder.lights";
    static constexpr const char* kGroundName = "placeholder_ground";
    static constexpr const char* kSwarmName = "placeholder_swarm";
    static constexpr int kSwarmCount = 16;

    explicit PlaceholderBackdrop(TaskObject& screen);

    // One animation step of the backdrop's nodes.
    void Step();
    // The draw pass of the nodes, then the camera's view.
    void Draw();

    StaticModelRoot* root = nullptr;
    StaticModelPart* model = nullptr;
    StaticModelPart* skinned = nullptr;
    StaticModelPart* ground = nullptr;
    StaticModelPart* swarm[kSwarmCount] = {};
    // Null when the light file has no shadow record.
    ShadowmapNode* shadow = nullptr;
    CameraNode* camera = nullptr;
};

}  // namespace mareldon
