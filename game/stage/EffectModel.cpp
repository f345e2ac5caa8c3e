#include "game/stage/EffectModel.h"

#include <cmath>

#include "engine/render/draw/Renderer.h"
#include "game/stage/EffectLayers.h"

namespace mareldon {

namespace {

void Drift(Object3D& node, const Vec3& velocity) {
    const Vec3& p = node.GetPosition();
    node.SetPosition(Vec3{p.x + velocity.x, p.y + velocity.y, p.z + velocity.z});
}

}  // namespace

int32_t ModelNameHash(const char* name) {
    int32_t h = 0;
    for (const char* p = name; *p != '\0'; ++p) {
        const int32_t b = static_cast<signed char>(*p);
        h = ((h >> 21) | int32_t(uint32_t(h) << 11)) ^ b;
    }
    return h;
}

EffectModel::EffectModel(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position,
                         const Vec3& moveBy, const String& name, const Vec3& scale)
    : StaticModelPart(parentTask), velocity(moveBy) {
    screen = ownerScreen;
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(velocity.x, velocity.z), 0.0f});
    SetScale(scale);
    SetPriority(ModelNameHash(name.Text()));
    BindEffectModel(*this, name);
}

void EffectModel::OnUpdatePre() {
    Drift(*this, velocity);
}

Object3D* EffectModel::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                         const String&, const RefPtr<RenderBatch>& drawSet,
                                         const std::vector<ParamTrack>* params) {
    return new UvSheetLayer(parentNode, record, drawSet, params, this);
}

EffectObject::EffectObject(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position,
                           const Vec3& direction, float speed, const Vec3& scale, uint8_t loop,
                           const String& name)
    : StaticModelPart(parentTask),
      velocity{direction.x * speed, direction.y * speed, direction.z * speed},
      looping(loop) {
    screen = ownerScreen;
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(direction.x, direction.z), 0.0f});
    SetScale(scale);
    BindEffectModel(*this, name);
}

void EffectObject::OnUpdatePre() {
    Drift(*this, velocity);
}

Object3D* EffectObject::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                          const String&, const RefPtr<RenderBatch>& drawSet,
                                          const std::vector<ParamTrack>* params) {
    return new UvSheetLayer(parentNode, record, drawSet, params, this);
}

}  // namespace mareldon
