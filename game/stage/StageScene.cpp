#include "game/stage/StageScene.h"

#include "engine/core/Log.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

StageScene::StageScene(TaskObject* parentTask, GameWorldScreen* ownerScreen, uint32_t entryIndex,
                       const StageEntryHandle& entry, const String& modelName)
    : StaticModelPart(parentTask), stageEntryIndex(entryIndex), stageEntry(entry) {
    screen = ownerScreen;
    if (renderer)
        BindMotion(renderer->FindModel(modelName));
    if (sceneRoot == nullptr) {
        LOG_WARN("stage", "stage model %s has no \"Scene\" node; the stage scene stands in",
                 modelName.Text());
        sceneRoot = this;
    }
    if (keptTypeFiveNode == nullptr) {
        LOG_WARN("stage", "stage model %s has no camera mount; the stage scene stands in", modelName.Text());
        keptTypeFiveNode = this;
    }
}

StageScene::~StageScene() = default;

Object3D* StageScene::CreateFrameObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String& name) {
    Object3D** kept = nullptr;
    if (name.Equals("Scene"))
        kept = &sceneRoot;
    else if (name.Equals("UnderWater"))
        kept = &underWaterNode;
    else if (name.Equals("BoundaryWater"))
        kept = &boundaryWaterNode;
    if (kept == nullptr)
        return nullptr;
    *kept = new Object3D(parentNode, record, 0);
    return *kept;
}

Object3D* StageScene::CreateType5Object(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String&) {
    // Only the last camera mount of a model is kept.
    delete keptTypeFiveNode;
    keptTypeFiveNode = new Object3D(parentNode, record, 0);
    return keptTypeFiveNode;
}

}  // namespace mareldon
