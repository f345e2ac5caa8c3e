#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/AttackVector.h"
#include "game/stage/NodeSpawnInfo.h"

namespace mareldon {

class GameWorldScreen;

// What an attached stage object follows: the activity window and the targetable mark
// of the game object it hangs under (an enemy, an eye bone, a frame-node object).
class ActivityOwner {
  public:
    virtual bool IsInActiveWindow() = 0;
    virtual void MarkTargetable() = 0;
    virtual bool IsTargetableThisStep() = 0;

  protected:
    ~ActivityOwner() = default;
};

// The owner an attached object follows: the nearest game object it hangs under when
// that is an ActivityOwner. Null for any other parent, which gives the object its own
// window.
ActivityOwner* FindActivityOwner(TaskObject* parent);

// Everything the player can shoot: a mesh node of the stage model with durability, 24
// attack weights, an activity window (its node's key span, both ends inclusive, against
// the stage clock), an optional wave of a group letter, a hit sphere entered into the
// world's target list each step, a one-frame hit flash and the distance-dependent kill
// score with sparks.
//
// `active` and `visible` are the enemy's own switches, not the task's.
class Enemy : public MeshObject, public AttackTarget, public ActivityOwner {
  public:
    static constexpr int32_t kDefaultLinger = 5;
    // The kill score's sparks and figures.
    static constexpr float kScoreDistanceScale = 0.2857143f;
    static constexpr int32_t kMaxKillScore = 1000000;

    Enemy(TaskObject* parent, NodeSpawnInfo& info, float durability, AttachKind kind = AttachKind::kPlain);
    // An enemy placed by code, without a model node or a mesh.
    Enemy(TaskObject* parent, float durability);
    ~Enemy() override;

    bool IsAlive() override;
    void Update() override;
    void DrawSelf() override;
    void DrawTraversal() override;
    void SubmitTraversal(const RefPtr<RenderView>& view) override;

    bool IsInActiveWindow() override;
    // The clock has passed the window; never for an attached object.
    virtual bool IsPastActiveWindow();
    // The full damage of a hit, before the durability was clamped at 0.
    virtual void OnDamaged(float damage, uint32_t playerMask) {
        (void)damage;
        (void)playerMask;
    }
    // Once, when the durability reaches 0: the class's explosions, items and wrecks.
    virtual void OnDestroyed() {}
    // A signal of boss code; no stage enemy answers it.
    virtual void Notify(uint32_t value) { (void)value; }

    // Enters the sphere into this step's target list. False when not hittable or
    // wholly off screen; radius 0 enters nothing and answers true.
    bool RegisterHitSphere(const Vec3& centre, float radius);
    // Weighs the attack, takes it off the durability (never below 0) and reports the
    // full damage; at 0 pays the kill once. An enemy already at 0 ignores it: a
    // reflected bullet may strike one that died this step and has not been swept yet.
    void ApplyAttack(uint32_t playerMask, const AttackVector& attack) override;
    void MarkTargetable() override;
    bool IsTargetableThisStep() override;
    bool IsSubPart() const { return subPart != 0; }

    bool IsLiveTarget() override { return durability > 0.0f && !IsPastActiveWindow(); }
    bool IsHittableTarget() override { return hittable != 0; }
    Vec3 TargetWorldPosition() override { return GetWorldPosition(); }

    // The kill score at a screen distance (pixels): 1 to 1,000,000, and the sparks it
    // throws.
    static int32_t KillScore(float screenDistance, float* value = nullptr);
    static int32_t KillSparks(float value);

    uint8_t subPart = 0;
    uint8_t appeared = 0;
    uint8_t activated = 0;
    uint8_t groupLetter = 0;
    uint8_t groupNumber = 0;
    uint8_t joined = 0;
    uint8_t parentIsBonePart = 0;
    uint8_t parentIsFrameNode = 0;
    GameWorldScreen* world = nullptr;
    float durability;
    int32_t lingerFrames = kDefaultLinger;
    uint8_t attached = 0;
    AttackVector attackWeights;
    uint8_t hitFlashPending = 0;
    uint8_t active = 0;
    uint8_t hittable = 1;
    uint8_t externallyControlled = 0;
    uint8_t thirdControlFlag = 0;
    uint8_t pastWindow = 0;
    uint8_t everRegistered = 0;
    int32_t registrationFrames = 0;
    int32_t lastRegistrationFrame = -1;
    uint8_t visible = 1;
    uint8_t targetableThisStep = 0;
    // Held hidden (a boss part built hidden or hiding itself): the sweep keeps it from
    // updating and drawing itself or its children whatever its window says.
    uint8_t heldHidden = 0;

  protected:
    // The object the attach walk goes to; null when not attached.
    ActivityOwner* attachOwner = nullptr;

  private:
    void SetUpAttach(AttachKind kind, uint8_t recordAttached, const String& nodeName);
    void PayKill(uint32_t playerMask);
    bool ShowDuringBomb(bool targetable);
};

// A hittable section of a boss or composite enemy: an enemy left out of the appeared
// and destroyed tallies.
class EnemySubPart : public Enemy {
  public:
    EnemySubPart(TaskObject* parent, NodeSpawnInfo& info, float durability,
                 AttachKind kind = AttachKind::kPlain);
};

}  // namespace mareldon
