#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"
#include "game/system/StageEntry.h"

namespace mareldon {

class Object3D;
class StageNodeRegistry;

// The running stage: binds the stage model, and its clock is the stage clock (it runs
// on past the model's end). Its node hooks build the stage's game objects by whole node
// name through the active StageNodeRegistry; names it does not know become plain nodes.
// It keeps the nodes the world screen needs: "Scene" (where effects, items and ships
// live), the last type-5 node (the camera mount), "UnderWater" and "BoundaryWater". A
// model without the first two gets the scene itself in their place, with a log line.
class StageScene : public StaticModelPart {
  public:
    StageScene(TaskObject* parent, GameWorldScreen* screen, uint32_t stageEntryIndex,
               const StageEntryHandle& stageEntry, const String& modelName);
    ~StageScene() override;

    Object3D* CreateFrameObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;
    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    Object3D* CreateBoneObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                               MeshObject* mesh, int32_t paletteIndex, const Matrix4& offset) override;
    Object3D* CreateType5Object(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;

    // The group a "GP*" name gives: "GP*" then a letter A-Z and two digits. False for
    // any other name, which then is a plain node.
    static bool ParseGroupName(const String& name, uint8_t& letter, uint8_t& number);

    uint32_t stageEntryIndex;
    Object3D* keptTypeFiveNode = nullptr;
    Object3D* sceneRoot = nullptr;
    Object3D* underWaterNode = nullptr;
    Object3D* boundaryWaterNode = nullptr;
    StageEntryHandle stageEntry;

  private:
    // Forgets the kept nodes that lie in the subtree of `doomed`.
    void ForgetNodesUnder(Object3D* doomed);

    const StageNodeRegistry& registry;
};

}  // namespace mareldon
