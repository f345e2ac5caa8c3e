#include "game/screens/StageSelectScene.h"

#include <cmath>

#include "engine/render/archive/ModelEntry.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/MeshObject.h"

namespace mareldon {

StageSelectScene::StageSelectScene(TaskObject* parentTask, const String& modelName)
    : StaticModelPart(parentTask) {
    // Bound here, not in the base: the hooks are this class's only once it stands.
    if (renderer)
        BindMotion(renderer->FindModel(modelName));
}

Object3D* StageSelectScene::CreateFrameObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                              const String& name) {
    Object3D** kept = nullptr;
    if (name.Equals("Scene")) {
        kept = &sceneRoot;
    } else if (name.Length() == 1 && name.Text()[0] >= '1' && name.Text()[0] <= '6') {
        kept = &slots[name.Text()[0] - '1'];
    }
    if (kept == nullptr)
        return nullptr;
    *kept = new Object3D(parentNode, record, 0);
    return *kept;
}

Object3D* StageSelectScene::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                              const String& name, const RefPtr<RenderBatch>& drawSet,
                                              const std::vector<ParamTrack>* params) {
    int player = 0;
    if (name.Equals("STAGE_SOKO:Layer2"))
        player = 1;
    else if (name.Equals("STAGE_SOKO:Layer4"))
        player = 2;
    if (player == 0)
        return nullptr;
    MeshObject* mesh = new MeshObject(parentNode, record, drawSet, params);
    // Still at its bound pose, but posed from here on by the screen alone.
    mesh->ClearTracks();
    const float s = player == 1 ? -1.0f : 1.0f;
    Vec3 position = mesh->GetPosition();
    position.x += s * kTurntableOffset;
    mesh->SetPosition(position);
    Vec3 rotation = mesh->GetRotation();
    rotation.z -= s * kTurntableTurn;
    mesh->SetRotation(rotation);
    turntables[player - 1] = mesh;
    return mesh;
}

Object3D* StageSelectScene::CreateType5Object(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                              const String&) {
    delete typeFiveNode;
    typeFiveNode = new Object3D(parentNode, record, 0);
    return typeFiveNode;
}

ShipModelView::ShipModelView(TaskObject* parentTask, const Vec3& position, const Vec3& facingVector,
                             const String& modelName)
    : StaticModelPart(parentTask), facing(facingVector) {
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(facing.x, facing.z), 0.0f});
    if (renderer) {
        const RefPtr<ModelEntry> model = renderer->FindModel(modelName);
        BindMotion(model);
        boundModel = model.Get();
    }
    origin_ = position;
}

ShipModelView::ShipModelView(TaskObject* parentTask, const Vec3& position, const Vec3& facingVector,
                             const RefPtr<ModelEntry>& model)
    : StaticModelPart(parentTask), facing(facingVector) {
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(facing.x, facing.z), 0.0f});
    if (model) {
        BindMotion(model);
        boundModel = model.Get();
    }
    origin_ = position;
}

void ShipModelView::Restart() {
    SetPosition(origin_);
    SetRotation(Vec3{0.0f, std::atan2(facing.x, facing.z), 0.0f});
    SetMotionTime(0.0f);
    Animate();
}

Object3D* ShipModelView::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                           const String&, const RefPtr<RenderBatch>& drawSet,
                                           const std::vector<ParamTrack>* params) {
    if (layerCount >= kMaxLayers)
        return nullptr;
    MeshObject* mesh = new MeshObject(parentNode, record, drawSet, params);
    layers[layerCount++] = mesh;
    return mesh;
}

}  // namespace mareldon
