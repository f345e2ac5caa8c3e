#include "game/objects/StageWatchers.h"

#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

SenyouWatcher::SenyouWatcher(TaskObject* parentTask, NodeSpawnInfo& info)
    : Object3D(parentTask, info.node, 0), world(info.owner) {}

void SenyouWatcher::OnUpdatePre() {
    if (childCount != 2)
        return;
    Vec3 sum{0.0f, 0.0f, 0.0f};
    int32_t watched = 0;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < childCount; ++i, node = node->next) {
        auto* holder = static_cast<TaskObject*>(node);
        if (holder->childCount != 1)
            continue;
        auto* enemy = dynamic_cast<Object3D*>(static_cast<TaskObject*>(holder->firstChild));
        if (enemy == nullptr)
            continue;
        const Vec3& p = enemy->GetPosition();
        sum.x += p.x * 0.5f;
        sum.y += p.y * 0.5f;
        sum.z += p.z * 0.5f;
        ++watched;
    }
    if (watched == 2) {
        dropPoint = sum;
    } else if (watched == 1) {
        elapsed += kStepPeriod;
    } else if (20.0f * kStepPeriod > elapsed && world != nullptr) {
        const int32_t frame = TruncateToInt32(GetMotionTime() * 60.0f);
        if (frame % 4 == 0)
            world->SpawnItem(Vec3TransformCoord(dropPoint, GetWorldMatrix()), Vec3{0.0f, 0.0f, 0.0f},
                             "BONUS_S");
    }
}

Splasher::Splasher(TaskObject* parentTask, NodeSpawnInfo& info)
    : Object3D(parentTask, info.node, 0), world(info.owner) {}

void Splasher2::OnUpdatePre() {
    if (world == nullptr || GetMotionTime() < 126.0f || GetWorldPosition().y >= 4.0f)
        return;
    (void)world->GetRandom().Next();
}

namespace {

Object3D* BuildWatcher(Object3D* parent, NodeSpawnInfo& info) {
    return new SenyouWatcher(parent, info);
}

Object3D* BuildSplasher(Object3D* parent, NodeSpawnInfo& info) {
    return new Splasher(parent, info);
}

Object3D* BuildSplasher2(Object3D* parent, NodeSpawnInfo& info) {
    return new Splasher2(parent, info);
}

}  // namespace

void RegisterStageWatchers(StageNodeRegistry& registry) {
    registry.Add(StageNodeRegistry::Kind::kFrame, "senyouwatcher", BuildWatcher);
    registry.Add(StageNodeRegistry::Kind::kFrame, "Splasher", BuildSplasher);
    registry.Add(StageNodeRegistry::Kind::kFrame, "Splasher2", BuildSplasher2);
}

}  // namespace mareldon
