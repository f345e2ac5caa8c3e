#include "engine/render/scene/CameraNode.h"

#include "engine/render/GraphicsDevice.h"
#include "engine/render/RenderView.h"
#include "engine/render/Renderer.h"

namespace mareldon {

CameraNode::CameraNode(TaskObject* parentTask, float nearPlane, float farPlane, float fieldOfView,
                       float xScale, float yScale)
    : CameraNode(parentTask, RefPtr<ModelNodeData>(), nearPlane, farPlane, fieldOfView, xScale, yScale) {}

CameraNode::CameraNode(TaskObject* parentTask, const RefPtr<ModelNodeData>& record, float nearPlane,
                       float farPlane, float fieldOfView, float xScale, float yScale)
    : Object3D(parentTask, record, kPriority),
      fov(fieldOfView),
      nearZ(nearPlane),
      farZ(farPlane),
      xFactor(xScale),
      yFactor(yScale) {
    nodeType = kNodeCamera;
}

CameraNode::~CameraNode() {
    views.ReleaseBackwards();
}

void CameraNode::GetAxes(Vec3& eye, Vec3& forward, Vec3& up) {
    LocalToWorld(eye, Vec3{0.0f, 0.0f, 0.0f});
    Vec3 ahead;
    Vec3 above;
    LocalToWorld(ahead, Vec3{0.0f, 0.0f, 1.0f});
    LocalToWorld(above, Vec3{0.0f, 1.0f, 0.0f});
    forward = Vec3{ahead.x - eye.x, ahead.y - eye.y, ahead.z - eye.z};
    up = Vec3{above.x - eye.x, above.y - eye.y, above.z - eye.z};
}

void CameraNode::Animate() {
    Object3D::Animate();
    Vec3 eye, forward, up;
    GetAxes(eye, forward, up);
    view = MatrixLookAt(eye, forward, up);
    if (fovTrack.keyCount > 0)
        fov = fovTrack.Evaluate(GetMotionTime());
    projection = MatrixPerspectiveFov(nearZ, farZ, fov, xFactor, yFactor);
}

void CameraNode::Render(Object3D* root) {
    if (!nodeDrawSelf)
        return;
    if (root == nullptr) {
        root = timeScaleOwner;
        if (root == nullptr) {
            root = this;
            for (Object3D* up = ParentNode(); up != nullptr; up = up->ParentNode())
                root = up;
        }
    }
    RefPtr<GraphicsDevice> device = renderer ? renderer->GetDevice() : RefPtr<GraphicsDevice>();
    RenderStateBlock saved;
    if (device)
        saved = *device->GetRenderStateBlock();
    Vec3 eye, forward, up;
    GetAxes(eye, forward, up);
    for (int32_t i = 0; i < views.Count(); ++i) {
        const RefPtr<RenderView>& renderView = views[i];
        if (!renderView)
            continue;
        RenderView& v = *renderView;
        v.SetCamera(eye, forward, up, nearZ, farZ, fov, xFactor, yFactor);
        TextureViewport before;
        if (v.target) {
            before = *v.target->GetViewport();
            v.target->SetViewport(v.viewport);
            v.target->Clear(v.clear);
        }
        root->SubmitTraversal(renderView);
        if (renderer)
            renderer->DrawRegistered(renderView);
        if (v.target)
            v.target->SetViewport(before);
    }
    if (device)
        device->SetRenderStateBlock(saved);
}

}  // namespace mareldon
