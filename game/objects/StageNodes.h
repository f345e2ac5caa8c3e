#pragma once

#include <cstdint>

#include "engine/render/scene/Bone.h"
#include "engine/render/scene/MeshObject.h"
#include "game/objects/Enemy.h"
#include "game/stage/NodeSpawnInfo.h"

namespace mareldon {

class GameWorldScreen;

// The non-hittable companion of a frame ("Null") node: a muzzle or mount point of a
// boss that follows the activity rules of the enemy it hangs under. Never removes
// itself.
class NullNodeObject : public Object3D, public ActivityOwner {
  public:
    NullNodeObject(TaskObject* parent, NodeSpawnInfo& info, AttachKind kind = AttachKind::kPlain);

    bool IsAlive() override;
    void Update() override;
    void DrawTraversal() override;
    void SubmitTraversal(const RefPtr<RenderView>& view) override;

    bool IsInActiveWindow() override;
    void MarkTargetable() override;
    bool IsTargetableThisStep() override;

    GameWorldScreen* world = nullptr;
    uint8_t parentIsBonePart = 0;
    uint8_t parentIsFrameNode = 0;
    uint8_t attached = 0;
    uint8_t targetableThisStep = 0;

  private:
    bool Shown(bool targetable);

    ActivityOwner* attachOwner = nullptr;
};

// A bone that belongs to an enemy: its window and mark are its parent's.
class EyeBonePart : public Bone, public ActivityOwner {
  public:
    EyeBonePart(TaskObject* parent, NodeSpawnInfo& info);

    bool IsInActiveWindow() override;
    void MarkTargetable() override;
    bool IsTargetableThisStep() override;

    GameWorldScreen* world = nullptr;
    uint8_t parentIsBonePart = 0;
    uint8_t parentIsFrameNode = 0;

  private:
    ActivityOwner* owner = nullptr;
    uint8_t ownMark = 0;
};

// "EC_GENERAL" under an enemy: each step its scale keys switch the enemy's hittable
// (x), active (y) and third control flag (z) on above 0.5. The enemy's own window no
// longer sets its active flag.
class EnemyControlNode : public Object3D {
  public:
    EnemyControlNode(Enemy& enemy, NodeSpawnInfo& info);

    bool IsAlive() override;

    Enemy& enemy;
};

// Scenery: a layer that shows inside its node's key span and hides during a bomb.
class StageMeshObject : public MeshObject {
  public:
    StageMeshObject(TaskObject* parent, GameWorldScreen* world, const RefPtr<ModelNodeData>& node,
                    const RefPtr<RenderBatch>& mesh, const std::vector<ParamTrack>* materials);

    bool IsAlive() override;
    void Submit(const RefPtr<RenderView>& view) override;
    virtual bool IsInActiveWindow();

    GameWorldScreen* world;
};

}  // namespace mareldon
