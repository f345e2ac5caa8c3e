#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"
#include "game/system/StageEntry.h"

namespace mareldon {

class Object3D;

// The running stage: binds the stage model, whose nodes it builds through its
// node-creation hooks, and its clock is the stage clock. So far it knows the nodes
// the world screen needs: "Scene" (where effects, items and ships live), the last
// type-5 node (the camera mount), "UnderWater" and "BoundaryWater". A model without
// the first two gets the scene itself in their place, with a log line.
class StageScene : public StaticModelPart {
  public:
    StageScene(TaskObject* parent, GameWorldScreen* screen, uint32_t stageEntryIndex,
               const StageEntryHandle& stageEntry, const String& modelName);
    ~StageScene() override;

    Object3D* CreateFrameObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;
    Object3D* CreateType5Object(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& name) override;

    uint32_t stageEntryIndex;
    Object3D* keptTypeFiveNode = nullptr;
    Object3D* sceneRoot = nullptr;
    Object3D* underWaterNode = nullptr;
    Object3D* boundaryWaterNode = nullptr;
    StageEntryHandle stageEntry;
};

}  // namespace mareldon
