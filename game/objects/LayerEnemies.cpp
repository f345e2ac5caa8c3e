#include "game/objects/LayerEnemies.h"

#include <cmath>

#include "engine/core/RotationTrack.h"
#include "game/objects/DeathReactions.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr float kDegrees = 57.29577951f;
constexpr float kRadians = 0.01745329252f;

}  // namespace

LayerFormEnemy::LayerFormEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                               float hitRadius, int32_t linger, const char* bonusName,
                               const char* explosionName, HitRule hitRule, DeathReaction deathReaction)
    : Enemy(parentTask, info, durabilityValue),
      radius(hitRadius),
      bonus(bonusName),
      explosion(explosionName),
      rule(hitRule),
      reaction(deathReaction) {
    lingerFrames = linger;
}

LayerFormEnemy::~LayerFormEnemy() {
    if (slot != nullptr && *slot == this)
        *slot = nullptr;
}

void LayerFormEnemy::OnUpdatePre() {
    switch (rule) {
        case HitRule::kAlways:
            RegisterHitSphere(GetWorldPosition(), radius);
            break;
        case HitRule::kWhenActive:
            if (IsInActiveWindow())
                RegisterHitSphere(GetWorldPosition(), radius);
            break;
        case HitRule::kNoseAndBody:
            if (IsInActiveWindow()) {
                Vec3 nose;
                LocalToWorld(nose, Vec3{0.0f, 0.0f, -1.5f});
                RegisterHitSphere(nose, radius * 0.75f);
                RegisterHitSphere(GetWorldPosition(), radius);
            }
            break;
        case HitRule::kThreePoint:
            if (IsInActiveWindow()) {
                Vec3 left;
                Vec3 right;
                LocalToWorld(left, Vec3{-2.2f, 0.0f, -2.8f});
                LocalToWorld(right, Vec3{2.2f, 0.0f, -2.8f});
                RegisterHitSphere(left, 1.5f);
                RegisterHitSphere(GetWorldPosition(), radius);
                RegisterHitSphere(right, 1.5f);
            }
            break;
        case HitRule::kWing:
            if (nodeDrawSelf != 0) {
                static constexpr float kX[3] = {-1.0f, 0.0f, 1.0f};
                static constexpr float kR[3] = {0.7f, 0.8f, 0.7f};
                for (int i = 0; i < 3; ++i) {
                    Vec3 centre;
                    LocalToWorld(centre, Vec3{kX[i], 0.0f, 0.0f});
                    RegisterHitSphere(centre, kR[i]);
                }
            }
            break;
        case HitRule::kLoneOrControlled:
            if ((parent != nullptr && parent->childCount == 1) || thirdControlFlag != 0)
                RegisterHitSphere(GetWorldPosition(), radius);
            break;
    }
}

void LayerFormEnemy::OnDestroyed() {
    if (world != nullptr && reaction != nullptr)
        reaction(*this);
}

DropFormEnemy::DropFormEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                             float hitRadius, int32_t linger, const char* bonusName,
                             const char* explosionName, DeathReaction deathReaction, HitRule hitRule)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, linger, bonusName, explosionName, hitRule,
                     deathReaction) {}

LayerTankEnemy::LayerTankEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                               float hitRadius, int32_t linger, const char* bonusName,
                               const char* explosionName, const Vec3& scale)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, linger, bonusName, explosionName,
                     HitRule::kAlways, nullptr) {
    scorchScale = scale;
    reaction = reactions::TankLayer;
}

EmitterFormEnemy::EmitterFormEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                   float hitRadius, const char* bonusName, const char* explosionName,
                                   int32_t linger, HitRule hitRule, DeathReaction deathReaction)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, linger, bonusName, explosionName, hitRule,
                     deathReaction) {}

DurabilityFormEnemy::DurabilityFormEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                         DeathReaction deathReaction)
    : LayerFormEnemy(parentTask, info, durabilityValue, 0.0f, kDefaultLinger, "NULL", "NULL", HitRule::kWing,
                     deathReaction) {}

LayerTankTurret::LayerTankTurret(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                 float hitRadius, const char* text, const char* itemName, float offset,
                                 Turn turnRule)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, kDefaultLinger, text, itemName,
                     HitRule::kAlways, nullptr),
      angleOffset(offset),
      turnSpeed(turnRule == Turn::kSecond ? kSecondTurnSpeed : kTurnSpeed),
      turn(turnRule) {
    reaction = reactions::ScorchDrop;
}

float LayerTankTurret::Bearing(const Vec3& local, float offset) {
    return (std::atan2(-local.x, local.z) + offset) * kDegrees;
}

float LayerTankTurret::TurnFor(Turn rule, float b, float speed) {
    if (rule == Turn::kTank) {
        if (b > 10.0f && b < 170.0f)
            return speed;
        if (b > -170.0f && b < -10.0f)
            return -speed;
        return 0.0f;
    }
    if (b >= 10.0f && b < 170.0f)
        return -speed;
    // Out of reach while the bearing stays in (-180, 180]; kept as the rule was made.
    if (b > 190.0f && b < 350.0f)
        return speed;
    return 0.0f;
}

void LayerTankTurret::OnUpdatePre() {
    const Vec3 pivot = GetWorldPosition();
    RegisterHitSphere(pivot, radius);
    if (world == nullptr)
        return;
    PlayerShip* target = world->GetNearestPlayer(pivot);
    if (target == nullptr)
        return;
    const Vec3 local = Vec3TransformCoord(target->GetWorldPosition(), GetInverseWorldMatrix());
    const float degrees = TurnFor(turn, Bearing(local, angleOffset), turnSpeed);
    if (degrees == 0.0f)
        return;
    SetQuaternion(QuaternionMultiply(GetQuaternion(), EulerToQuaternion(0.0f, degrees * kRadians, 0.0f)));
}

CarriedPart::CarriedPart(TaskObject* parentTask, NodeSpawnInfo& info, Enemy** holder)
    : LayerEnemy(parentTask, info, 1.0f, 0.0f, String("NULL")), slot(holder) {}

CarriedPart::~CarriedPart() {
    if (slot != nullptr && *slot == this)
        *slot = nullptr;
}

PartCarryingEnemy::PartCarryingEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                     void (*deathReaction)(Enemy&))
    : Enemy(parentTask, info, durabilityValue), reaction(deathReaction) {}

Object3D* PartCarryingEnemy::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                               const String& name, const RefPtr<RenderBatch>& drawSet,
                                               const std::vector<ParamTrack>* params) {
    if (!TakesLayer(name))
        return nullptr;
    NodeSpawnInfo info;
    info.InitLayer(world, name, record, drawSet, params, 0);
    ++partCount;
    // The arrays hold six: a further part is built but not kept.
    Enemy** holder = partCount <= kMaxParts ? &parts[partCount - 1] : nullptr;
    Enemy* part = BuildPart(parentNode, info, holder);
    if (holder != nullptr)
        *holder = part;
    info.ReleaseLayer();
    return part;
}

void PartCarryingEnemy::OnDamaged(float damage, uint32_t playerMask) {
    (void)damage;
    (void)playerMask;
    if (flashCounter <= 1)
        return;
    for (Enemy* part : parts) {
        if (part != nullptr)
            part->hitFlashPending = 1;
    }
    flashCounter = 0;
}

void PartCarryingEnemy::OnUpdatePre() {
    // Stand-in for the step the carriers' own code gives them.
    ++flashCounter;
    if (IsInActiveWindow())
        RegisterHitSphere(GetWorldPosition(), kStandInRadius);
}

void PartCarryingEnemy::OnDestroyed() {
    if (world != nullptr && reaction != nullptr)
        reaction(*this);
}

Enemy* HoverEnemyBase::BuildPart(Object3D* parentNode, NodeSpawnInfo& info, Enemy** holder) {
    return new CarriedPart(parentNode, info, holder);
}

HoverEnemy::HoverEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue)
    : HoverEnemyBase(parentTask, info, durabilityValue, reactions::Hover) {}

HoverEnemy2::HoverEnemy2(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue)
    : HoverEnemyBase(parentTask, info, durabilityValue, reactions::Hover2) {}

HoverEnemy3::HoverEnemy3(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue)
    : HoverEnemyBase(parentTask, info, durabilityValue, reactions::Hover3) {}

HeavyTankEnemy::HeavyTankEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                               int32_t linger)
    : PartCarryingEnemy(parentTask, info, durabilityValue, reactions::HeavyTank) {
    lingerFrames = linger;
}

Enemy* HeavyTankEnemy::BuildPart(Object3D* parentNode, NodeSpawnInfo& info, Enemy** holder) {
    auto* turret = new LayerTankTurret(parentNode, info, 1.0f, 0.0f, "3.141593", "NULL", 0.0f);
    turret->slot = holder;
    return turret;
}

}  // namespace mareldon
