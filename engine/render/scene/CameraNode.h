#pragma once

#include <cstdint>

#include "engine/core/KeyTrack.h"
#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/render/HandleArray.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class ModelNodeData;
class RenderView;

// A camera placed in the hierarchy: its eye is its world origin, it looks along its
// +z axis with +y up, and it renders a node tree into each view attached to it.
class CameraNode : public Object3D {
  public:
    static constexpr int32_t kPriority = -1;

    CameraNode(TaskObject* parent, float nearZ, float farZ, float fov, float xFactor, float yFactor);
    // A camera of a model record (null: as the first).
    CameraNode(TaskObject* parent, const RefPtr<ModelNodeData>& record, float nearZ, float farZ, float fov,
               float xFactor, float yFactor);
    ~CameraNode() override;

    // Animates as a node, then builds its own view and projection; the field of view
    // follows its track while that has keys. The projection leaves out the target's
    // screen adjustment, which each view adds when the camera renders into it.
    void Animate() override;
    // With the draw-self flag set: for each view in order, its camera, viewport and
    // clear, the submit traversal of `root` and the Renderer's collectors; the target's
    // viewport and the device's render states are as before afterwards. The root is the
    // camera's scene root (its time-scale owner), else its topmost node.
    void Render(Object3D* root = nullptr);

    int32_t AddView(const RefPtr<RenderView>& view) { return views.Add(view); }
    // Eye, forward and up (neither of the last two normalised).
    void GetAxes(Vec3& eye, Vec3& forward, Vec3& up);

    KeyTrack fovTrack;
    float fov;
    float nearZ;
    float farZ;
    float xFactor;
    float yFactor;
    HandleArray<RenderView> views{1};
    Matrix4 projection = Matrix4Identity();
    Matrix4 view = Matrix4Identity();
};

}  // namespace mareldon
