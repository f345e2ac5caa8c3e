#include "game/stage/StageScene.h"

#include "engine/core/Log.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/NodeSpawnInfo.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

namespace {

bool IsWithin(Object3D* node, Object3D* top) {
    for (Object3D* at = node; at != nullptr; at = at->ParentNode()) {
        if (at == top)
            return true;
    }
    return false;
}

}  // namespace

StageScene::StageScene(TaskObject* parentTask, GameWorldScreen* ownerScreen, uint32_t entryIndex,
                       const StageEntryHandle& entry, const String& modelName)
    : StaticModelPart(parentTask),
      stageEntryIndex(entryIndex),
      stageEntry(entry),
      registry(StageNodeRegistry::Active()) {
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

bool StageScene::ParseGroupName(const String& name, uint8_t& letter, uint8_t& number) {
    const char* text = name.Text();
    if (name.Length() < 6 || text[0] != 'G' || text[1] != 'P' || text[2] != '*')
        return false;
    const char code = text[3];
    const char tens = text[4];
    const char ones = text[5];
    if (code < 'A' || code > 'Z' || tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return false;
    letter = uint8_t(code - 'A' + 1);
    number = uint8_t((tens - '0') * 10 + (ones - '0'));
    return true;
}

Object3D* StageScene::CreateFrameObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String& name) {
    Object3D** kept = nullptr;
    if (name.Equals("Scene"))
        kept = &sceneRoot;
    else if (name.Equals("UnderWater"))
        kept = &underWaterNode;
    else if (name.Equals("BoundaryWater"))
        kept = &boundaryWaterNode;
    if (kept != nullptr) {
        *kept = new Object3D(parentNode, record, 0);
        return *kept;
    }
    if (name.Length() >= 3 && name[0] == 'G' && name[1] == 'P' && name[2] == '*') {
        // The node itself stays a plain node whatever the rule makes of it.
        uint8_t letter = 0;
        uint8_t number = 0;
        if (!ParseGroupName(name, letter, number))
            LOG_WARN("stage", "group node \"%s\" is not \"GP*\", a letter A-Z and two digits", name.Text());
        else if (registry.groupHook == nullptr || !registry.groupHook(parentNode, letter, number))
            LOG_WARN("stage", "group node \"%s\" is not under an enemy", name.Text());
        return nullptr;
    }
    StageNodeRegistry::Builder builder = registry.Find(StageNodeRegistry::Kind::kFrame, name.Text());
    if (builder == nullptr)
        return nullptr;
    NodeSpawnInfo info;
    info.InitFrame(screen, name, record);
    info.scene = this;
    Object3D* built = builder(parentNode, info);
    info.Release();
    return built;
}

Object3D* StageScene::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String& name, const RefPtr<RenderBatch>& drawSet,
                                        const std::vector<ParamTrack>* params) {
    StageNodeRegistry::Builder builder = registry.Find(StageNodeRegistry::Kind::kLayer, name.Text());
    if (builder == nullptr)
        builder = registry.defaultLayer;
    if (builder == nullptr)
        return nullptr;
    NodeSpawnInfo info;
    info.InitLayer(screen, name, record, drawSet, params, 0);
    info.scene = this;
    Object3D* built = builder(parentNode, info);
    info.ReleaseLayer();
    return built;
}

Object3D* StageScene::CreateBoneObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                       const String& name, MeshObject* mesh, int32_t paletteIndex,
                                       const Matrix4& offset) {
    StageNodeRegistry::Builder builder = registry.Find(StageNodeRegistry::Kind::kBone, name.Text());
    if (builder == nullptr)
        return nullptr;
    NodeSpawnInfo info;
    info.InitBone(screen, name, record, mesh, paletteIndex, offset);
    info.scene = this;
    Object3D* built = builder(parentNode, info);
    info.Release();
    return built;
}

void StageScene::ForgetNodesUnder(Object3D* doomed) {
    for (Object3D** kept : {&sceneRoot, &underWaterNode, &boundaryWaterNode}) {
        if (*kept != nullptr && IsWithin(*kept, doomed))
            *kept = nullptr;
    }
}

Object3D* StageScene::CreateType5Object(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String& name) {
    // Only the last camera mount of a model is kept. One that holds the node being
    // built is still being bound and stays in the tree.
    Object3D* previous = keptTypeFiveNode;
    if (previous != nullptr) {
        if (IsWithin(parentNode, previous)) {
            LOG_WARN("stage", "type-5 node \"%s\" lies under another; both stay", name.Text());
        } else {
            LOG_WARN("stage", "second type-5 node \"%s\" replaces the first", name.Text());
            ForgetNodesUnder(previous);
            delete previous;
        }
    }
    keptTypeFiveNode = new Object3D(parentNode, record, 0);
    return keptTypeFiveNode;
}

}  // namespace mareldon
