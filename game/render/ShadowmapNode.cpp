#include "game/render/ShadowmapNode.h"

#include <algorithm>

#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/LightFile.h"
#include "game/render/SpriteSheet.h"

namespace mareldon {

namespace {

// Shading groups that never reach the shadow map: no generator draws them there.
const char* const kUnshadowedLayers[] = {"waterface", "alphaface", "addsat", "nonshadeaddsat",
                                         "bullet0",   "bullet1",   "bullet2"};

}  // namespace

ShadowmapNode::ShadowmapNode(TaskObject* parentTask, float p0, float p1, float p2, float p3, float p4,
                             float p5, const float* colour4)
    : LightNode(parentTask, "Shadowmap", kRecordWords,
                colour4 != nullptr
                    ? Vec4{colour4[0], colour4[1], colour4[2], colour4[3]}
                    : Vec4{kDefaultColour[0], kDefaultColour[1], kDefaultColour[2], kDefaultColour[3]}),
      generator(new MakeshadowShaderGen(renderer)) {
    // Sampled and render target, with its own depth; each node draws into its own, so
    // a receiver reading a node's record finds that node's picture.
    shadowTexture.Reset(SpriteSheet::SpriteSheetForOwnTexture(renderer, 5, kSize, kSize));
    camera = new CameraNode(this, p0, p1, p2, p3, p4);
    ClearRecord clear;
    clear.flags = 3;
    clear.color = 0xFFFFFFFFu;
    clear.z = 1.0f;
    clear.stencil = 0;
    // The whole target, spelled out: the sheet may not know its size before first use.
    const TextureViewport whole{0, 0, kSize, kSize, 0.0f, 1.0f};
    view.Reset(new RenderView(renderer, RefPtr<TextureBase>(shadowTexture), clear,
                              RefPtr<ShaderGenBase>(generator), whole));
    for (const char* layer : kUnshadowedLayers)
        view->AddLayer(layer, RefPtr<ShaderGenBase>());
    camera->AddView(view);
    record.texture = RefPtr<TextureBase>(shadowTexture);
    const float values[6] = {p0, p1, p2, p3, p4, p5};
    for (int i = 0; i < 6; ++i)
        parameters[i].defaultValue = values[i];
}

ShadowmapNode::~ShadowmapNode() = default;

void ShadowmapNode::ReadTracks(const LightTracks& record) {
    for (int i = 0; i < 3; ++i)
        tracks[i].CopyFrom(record.transform[i]);
    rotationTrack.CopyFrom(record.rotation);
    for (int i = 0; i < 4; ++i)
        colour[i].CopyFrom(record.colour[i]);
    for (int i = 0; i < 6; ++i)
        parameters[i].CopyFrom(record.parameters[i]);
    ApplyTracks();
}

void ShadowmapNode::SetCameraParameters(float t) {
    camera->nearZ = parameters[0].Evaluate(t);
    camera->farZ = parameters[1].Evaluate(t);
    camera->fov = parameters[2].Evaluate(t);
    camera->xFactor = parameters[3].Evaluate(t);
    camera->yFactor = parameters[4].Evaluate(t);
}

void ShadowmapNode::Animate() {
    SetCameraParameters(GetMotionTime());
    Object3D::Animate();
}

Matrix4 ShadowmapNode::TextureMatrix() const {
    Matrix4 scale = Matrix4Identity();
    scale[0] = 0.5f;
    scale[5] = -0.5f;
    Matrix4 translation = Matrix4Identity();
    translation[3] = 0.5f;
    translation[7] = 0.5f;
    // From the camera's pose and parameters now, not the matrices its last animation
    // step left: a screen's first frame is drawn before its first step.
    Vec3 eye, forward, up;
    camera->GetAxes(eye, forward, up);
    Matrix4 t = MatrixLookAt(eye, forward, up);
    Matrix4MultiplyInPlace(
        t, MatrixPerspectiveFov(camera->nearZ, camera->farZ, camera->fov, camera->xFactor, camera->yFactor));
    Matrix4MultiplyInPlace(t, scale);
    Matrix4MultiplyInPlace(t, translation);
    return t;
}

void ShadowmapNode::DrawSelf() {
    if (!Publishing())
        return;
    const float t = GetMotionTime();
    SetCameraParameters(t);
    const Matrix4 m = TextureMatrix();
    std::copy(m.m, m.m + 16, record.values + 3);
    record.values[19] = camera->nearZ;
    record.values[20] = camera->farZ;
    record.values[21] = camera->fov;
    record.values[22] = parameters[5].Evaluate(t);
    EvaluateColour(t, 23);
    Publish();
}

}  // namespace mareldon
