#include "game/objects/StageNodes.h"

#include "engine/core/Log.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

// The window rule of a stage object that follows no other.
bool InOwnWindow(Object3D& node) {
    if (node.keySpanStart == node.keySpanEnd)
        return true;
    const float t = node.GetMotionTime();
    return node.keySpanStart <= t && t <= node.keySpanEnd;
}

}  // namespace

NullNodeObject::NullNodeObject(TaskObject* parentTask, NodeSpawnInfo& info, AttachKind kind)
    : Object3D(parentTask, info.node, 0), world(info.owner) {
    if (kind == AttachKind::kFree)
        return;
    if (kind == AttachKind::kUnderFrameNode)
        parentIsFrameNode = 1;
    attachOwner = FindActivityOwner(parentTask);
    if (attachOwner == nullptr) {
        LOG_WARN("stage", "\"%s\" is not under an enemy; it keeps its own window", info.name.Text());
        return;
    }
    attached = 1;
}

bool NullNodeObject::IsInActiveWindow() {
    return attachOwner != nullptr ? attachOwner->IsInActiveWindow() : InOwnWindow(*this);
}

bool NullNodeObject::IsAlive() {
    const bool inWindow = IsInActiveWindow();
    nodeDrawSelf = inWindow ? 1 : 0;
    nodeChildren = inWindow ? 1 : 0;
    SetUpdateSelf(inWindow);
    SetDrawSelf(inWindow);
    return true;
}

void NullNodeObject::Update() {
    if (!attached)
        targetableThisStep = 0;
    Object3D::Update();
}

void NullNodeObject::MarkTargetable() {
    if (attachOwner != nullptr)
        attachOwner->MarkTargetable();
    else
        targetableThisStep = 1;
}

bool NullNodeObject::IsTargetableThisStep() {
    return attachOwner != nullptr ? attachOwner->IsTargetableThisStep() : targetableThisStep != 0;
}

bool NullNodeObject::Shown(bool targetable) {
    return attached || world == nullptr || !world->IsBombActive() || targetable;
}

void NullNodeObject::DrawTraversal() {
    if (Shown(IsTargetableThisStep()))
        Object3D::DrawTraversal();
}

void NullNodeObject::SubmitTraversal(const RefPtr<RenderView>& view) {
    if (Shown(targetableThisStep != 0))
        Object3D::SubmitTraversal(view);
}

EyeBonePart::EyeBonePart(TaskObject* parentTask, NodeSpawnInfo& info)
    : Bone(parentTask, info.node, info.referenceMesh, info.paletteIndex, info.offset),
      world(info.owner),
      owner(FindActivityOwner(parentTask)) {}

bool EyeBonePart::IsInActiveWindow() {
    return owner != nullptr ? owner->IsInActiveWindow() : true;
}

void EyeBonePart::MarkTargetable() {
    if (owner != nullptr)
        owner->MarkTargetable();
    else
        ownMark = 1;
}

bool EyeBonePart::IsTargetableThisStep() {
    return owner != nullptr ? owner->IsTargetableThisStep() : ownMark != 0;
}

EnemyControlNode::EnemyControlNode(Enemy& controlled, NodeSpawnInfo& info)
    : Object3D(&controlled, info.node, 0), enemy(controlled) {
    enemy.externallyControlled = 1;
}

bool EnemyControlNode::IsAlive() {
    const float t = GetMotionTime();
    enemy.hittable = tracks[kTrackScale].Evaluate(t) > 0.5f ? 1 : 0;
    enemy.active = tracks[kTrackScale + 1].Evaluate(t) > 0.5f ? 1 : 0;
    enemy.thirdControlFlag = tracks[kTrackScale + 2].Evaluate(t) > 0.5f ? 1 : 0;
    return true;
}

StageMeshObject::StageMeshObject(TaskObject* parentTask, GameWorldScreen* worldScreen,
                                 const RefPtr<ModelNodeData>& node, const RefPtr<RenderBatch>& mesh,
                                 const std::vector<ParamTrack>* materials)
    : MeshObject(parentTask, node, mesh, materials), world(worldScreen) {}

bool StageMeshObject::IsInActiveWindow() {
    return InOwnWindow(*this);
}

bool StageMeshObject::IsAlive() {
    nodeDrawSelf = IsInActiveWindow() ? 1 : 0;
    return true;
}

void StageMeshObject::Submit(const RefPtr<RenderView>& view) {
    if (world != nullptr && world->IsBombActive())
        return;
    MeshObject::Submit(view);
}

}  // namespace mareldon
