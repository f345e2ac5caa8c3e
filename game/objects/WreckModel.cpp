#include "game/objects/WreckModel.h"

#include "engine/core/Log.h"
#include "engine/render/draw/Renderer.h"
#include "game/objects/Enemy.h"
#include "game/objects/StageNodes.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

bool BindStageModel(StaticModelPart& part, const String& modelName, const char* what) {
    if (!part.renderer)
        return false;
    if (!part.renderer->HasModel(modelName)) {
        LOG_WARN("stage", "%s model \"%s\" is missing; nothing is shown for it", what, modelName.Text());
        return false;
    }
    part.BindMotion(part.renderer->FindModel(modelName));
    return true;
}

WreckModel::WreckModel(TaskObject* parentTask, GameWorldScreen* world, const String& modelName)
    : StaticModelPart(parentTask) {
    screen = world;
    name = modelName;
}

WreckModel* WreckModel::CreateFor(Enemy& enemy, const String& modelName) {
    Object3D* parentNode = enemy.ParentNode();
    if (parentNode == nullptr)
        return nullptr;
    auto* wreck = new WreckModel(parentNode, enemy.world, modelName);
    wreck->SetPosition(enemy.GetPosition());
    wreck->SetRotation(enemy.GetRotation());
    wreck->SetQuaternion(enemy.GetQuaternion());
    // Bound here, not in the base: the layer hook must be this class's.
    BindStageModel(*wreck, modelName, "wreck");
    if (enemy.world != nullptr) {
        if (WorldEventLog* log = enemy.world->GetEventLog()) {
            const Vec3 at = enemy.GetWorldPosition();
            log->RecordFormat("Wreck", "%s %g %g %g", modelName.Text(), double(at.x), double(at.y),
                              double(at.z));
        }
    }
    return wreck;
}

Object3D* WreckModel::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                        const String&, const RefPtr<RenderBatch>& drawSet,
                                        const std::vector<ParamTrack>* params) {
    return new StageMeshObject(parentNode, screen, record, drawSet, params);
}

}  // namespace mareldon
