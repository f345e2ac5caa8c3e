#include "game/render/LightNodes.h"

#include "engine/render/draw/Renderer.h"

namespace mareldon {

LightNode::LightNode(TaskObject* parentTask, const char* recordName, int32_t valueCount,
                     const Vec4& initialColour)
    : Object3D(parentTask, 0), record(recordName, valueCount, nullptr) {
    const float values[4] = {initialColour.x, initialColour.y, initialColour.z, initialColour.w};
    for (int i = 0; i < 4; ++i)
        colour[i].defaultValue = values[i];
}

void LightNode::EvaluateColour(float t, int32_t first) {
    for (int32_t i = 0; i < 4; ++i)
        record.values[first + i] = colour[i].Evaluate(t);
}

void LightNode::PublishDirectional() {
    if (!Publishing())
        return;
    EvaluateColour(GetMotionTime(), 3);
    Vec3 forward = GetWorldForward();
    record.values[0] = forward.x;
    record.values[1] = forward.y;
    record.values[2] = forward.z;
    Publish();
}

void LightNode::Publish() {
    renderer->Lights().Add(record);
}

AmbientLight::AmbientLight(TaskObject* parentTask, const Vec4& initialColour)
    : LightNode(parentTask, "AmbientLight", 4, initialColour) {}

void AmbientLight::DrawSelf() {
    if (!Publishing())
        return;
    EvaluateColour(GetMotionTime(), 0);
    Publish();
}

DirectionalLight::DirectionalLight(TaskObject* parentTask, const Vec4& initialColour)
    : LightNode(parentTask, "DirectionalLight", 7, initialColour) {}

void DirectionalLight::DrawSelf() {
    PublishDirectional();
}

DirectionalSpecularLight::DirectionalSpecularLight(TaskObject* parentTask, const Vec4& initialColour)
    : LightNode(parentTask, "DirectionalSpecularLight", 7, initialColour) {}

void DirectionalSpecularLight::DrawSelf() {
    PublishDirectional();
}

SimpleFog::SimpleFog(TaskObject* parentTask, float nearDistance, float farDistance, const Vec4& initialColour)
    : LightNode(parentTask, "SimpleFog", 6, initialColour) {
    nearTrack.defaultValue = nearDistance;
    farTrack.defaultValue = farDistance;
}

void SimpleFog::DrawSelf() {
    if (!Publishing())
        return;
    const float t = GetMotionTime();
    record.values[0] = nearTrack.Evaluate(t);
    record.values[1] = farTrack.Evaluate(t);
    EvaluateColour(t, 2);
    Publish();
}

}  // namespace mareldon
