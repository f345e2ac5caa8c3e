#include "game/objects/Destroyer.h"

#include <cstdio>

#include "engine/core/Log.h"
#include "engine/render/draw/Renderer.h"
#include "game/objects/DeathReactions.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

// A wreck layer that empties the scene's reference to it when it goes.
class WreckLayerMesh : public MeshObject {
  public:
    WreckLayerMesh(TaskObject* parent, const RefPtr<ModelNodeData>& record,
                   const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params,
                   MeshObject** holder)
        : MeshObject(parent, record, drawSet, params), slot(holder) {}
    ~WreckLayerMesh() override {
        if (slot != nullptr && *slot == this)
            *slot = nullptr;
    }

    MeshObject** slot;
};

// Every enemy of the subtree out of play at once: no hits, no kill, no reaction.
void DisarmSubtree(TaskObject& task) {
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        TaskObject* child = static_cast<TaskObject*>(node);
        if (auto* enemy = dynamic_cast<Enemy*>(child)) {
            enemy->durability = 0.0f;
            enemy->hittable = 0;
        }
        DisarmSubtree(*child);
    }
}

}  // namespace

KuchikuModelScene::KuchikuModelScene(TaskObject* parentTask, KuchikuEnemy* ownerEnemy, int32_t index)
    : StaticModelPart(parentTask), sectionIndex(index), owner(ownerEnemy) {
    layerName = String(kModel);
    layerName.Append(":Layer");
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", index);
    layerName.Append(digits);
    SetDrawSelf(false);
    SetDrawChildren(false);
    nodeDrawSelf = 0;
    nodeChildren = 0;
    const String model(kModel);
    if (!renderer || !renderer->HasModel(model)) {
        LOG_WARN("stage", "wreck model \"%s\" is missing; the destroyer keeps its own mesh", kModel);
        return;
    }
    BindMotion(renderer->FindModel(model));
    if (wreckLayer == nullptr)
        LOG_WARN("stage", "wreck model \"%s\" has no layer \"%s\"", kModel, layerName.Text());
}

KuchikuModelScene::~KuchikuModelScene() {
    DeleteChildren();
    if (owner != nullptr && owner->wreckScene == this)
        owner->wreckScene = nullptr;
}

Object3D* KuchikuModelScene::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                               const String& name, const RefPtr<RenderBatch>& drawSet,
                                               const std::vector<ParamTrack>* params) {
    if (wreckLayer != nullptr || !name.Equals(layerName.Text()))
        return nullptr;
    wreckLayer = new WreckLayerMesh(parentNode, record, drawSet, params, &wreckLayer);
    return wreckLayer;
}

KuchikuEnemy::KuchikuEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : Enemy(parentTask, info, args.durability), sectionIndex(args.kind) {
    // Under the enemy's own parent, built while the loader is still making siblings.
    wreckScene = new KuchikuModelScene(parentTask, this, sectionIndex);
}

KuchikuEnemy::~KuchikuEnemy() {
    if (wreckScene != nullptr && wreckScene->owner == this)
        wreckScene->owner = nullptr;
}

void KuchikuEnemy::OnUpdatePre() {
    if (wrecked == 0)
        RegisterHitSphere(GetWorldPosition(), kHullRadius);
}

void KuchikuEnemy::ShedChildren() {
    DisarmSubtree(*this);
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < childCount; ++i, node = node->next)
        static_cast<TaskObject*>(node)->state |= kDeadMark;
}

void KuchikuEnemy::OnDestroyed() {
    if (world == nullptr)
        return;
    const Vec3 pivot = GetWorldPosition();
    if (sectionIndex == 0) {
        wrecked = 1;
        wreckTime = GetStepCount();
        for (int i = 0; i < 20; ++i) {
            const float dz = random.Range(-10.0f, 10.0f);
            const float dx = random.Range(-3.0f, 3.0f);
            world->SpawnEffect(Vec3{pivot.x + dx, pivot.y, pivot.z + dz}, Vec3{0.0f, 0.0f, 0.0f},
                               "EXPLOSION_ita_LA01", Vec3{1.0f, 1.0f, 1.0f});
        }
        // Without its wreck layer the hull keeps the mesh it has.
        if (wreckScene != nullptr && wreckScene->wreckLayer != nullptr)
            TakeMeshOf(*wreckScene->wreckLayer);
        ShedChildren();
    } else {
        alive = 0;
        reaction::Scorch(*this, 1.0f);
        reaction::Effect(*this, "EXPLOSION_ita_MA01");
    }
    for (int i = 0; i < 3; ++i)
        reaction::Drop(*this, "BONUS_M");
    reaction::Drop(*this, "BONUS_L");
    reaction::Sound4(*this);
    if (attached == 0)
        reaction::Cancel(*this);
}

}  // namespace mareldon
