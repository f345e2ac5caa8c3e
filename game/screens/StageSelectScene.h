#pragma once

#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class MeshObject;
class ModelEntry;

// One model of the ship select's 3D staging (the hangar or a stage preview), its
// own clock. Binding the model keeps the nodes the screen works with: "Scene", the
// last type-5 node (the camera mount), the turntable layers "STAGE_SOKO:Layer2"
// (player 1) and ":Layer4" (player 2), and the slot frames "1" to "6". The
// turntables do not animate; they start turned away and off to the side, and the
// screen slides them in.
class StageSelectScene : public StaticModelPart {
  public:
    static constexpr int32_t kSlots = 6;
    static constexpr float kTurntableOffset = 10.0f;
    static constexpr float kTurntableTurn = 5.235988f;

    StageSelectScene(TaskObject* parent, const String& modelName);

    Object3D* CreateFrameObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;
    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    Object3D* CreateType5Object(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;

    // The camera mount, or the scene itself when the model has none.
    Object3D* CameraMount() { return typeFiveNode != nullptr ? typeFiveNode : this; }

    Object3D* typeFiveNode = nullptr;
    Object3D* sceneRoot = nullptr;
    MeshObject* turntables[2] = {nullptr, nullptr};
    Object3D* slots[kSlots] = {};
};

// A ship model standing on a turntable slot: up to six mesh layers of the named
// model, turned about y to face along `facing`.
class ShipModelView : public StaticModelPart {
  public:
    static constexpr int32_t kMaxLayers = 6;

    ShipModelView(TaskObject* parent, const Vec3& position, const Vec3& facing, const String& modelName);
    // With the model looked up already, so rebuilding a view searches nothing.
    ShipModelView(TaskObject* parent, const Vec3& position, const Vec3& facing,
                  const RefPtr<ModelEntry>& model);

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    bool IsAlive() override { return active != 0; }
    // Back to what a new view of the bound model would be: the clock at 0, the view
    // where it was made, the model's tree posed at that time. Cheaper than a new view,
    // which builds the whole tree and its draw sets again.
    void Restart();

    uint8_t active = 1;
    // The model bound when the view was made; null when none was.
    const ModelEntry* boundModel = nullptr;
    Vec3 facing{};
    int32_t layerCount = 0;
    MeshObject* layers[kMaxLayers] = {};

  private:
    Vec3 origin_{};
};

}  // namespace mareldon
