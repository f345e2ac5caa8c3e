#include "game/objects/TowerEnemies.h"

#include <algorithm>
#include <cmath>

#include "engine/core/RotationTrack.h"
#include "game/objects/DeathReactions.h"
#include "game/objects/WreckModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr float kRadians = 0.01745329252f;

}  // namespace

WreckFormEnemy::WreckFormEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                               float hitRadius, const char* wreck, int32_t linger, const char* bonusName,
                               const char* explosionName, DeathReaction deathReaction)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, linger, bonusName, explosionName,
                     HitRule::kAlways, deathReaction),
      wreckModel(wreck) {}

TowerEnemy::TowerEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue, float hitRadius,
                       const char* wreck, int32_t linger, const char* bonusName, const char* explosionName)
    : WreckFormEnemy(parentTask, info, durabilityValue, hitRadius, wreck, linger, bonusName, explosionName,
                     reactions::Tower) {}

bool TowerEnemy::IsAlive() {
    return removed == 0;
}

void TowerEnemy::OnUpdatePre() {
    if (removed != 0)
        return;
    if (durability > 0.0f) {
        RegisterHitSphere(GetWorldPosition(), radius);
        return;
    }
    const int32_t frame = GetStepCount();
    if (frame - timeOfDeath <= kBurnSteps) {
        if ((frame & 2) != 0 && world != nullptr)
            reaction::Emitter(*this, 7.0f, 1, 2, 10, "EXPLOSION_SG01");
        return;
    }
    WreckModel::CreateFor(*this, wreckModel);
    removed = 1;
}

void TowerEnemy::OnDestroyed() {
    timeOfDeath = GetStepCount();
    LayerFormEnemy::OnDestroyed();
}

BatteryEnemy::BatteryEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                           float hitRadius, const char* itemName)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, kDefaultLinger, itemName, "NULL",
                     HitRule::kAlways, reactions::Battery) {}

bool BatteryEnemy::IsAlive() {
    return removed == 0;
}

void BatteryEnemy::OnUpdatePre() {
    if (removed != 0)
        return;
    if (durability > 0.0f) {
        RegisterHitSphere(GetWorldPosition(), radius);
        return;
    }
    if (GetStepCount() - timeOfDeath <= kBurnSteps) {
        reaction::Emitter(*this, 5.0f, 1, 2, 10, "EXPLOSION_ita_LA01");
        return;
    }
    removed = 1;
}

void BatteryEnemy::OnDestroyed() {
    timeOfDeath = GetStepCount();
    LayerFormEnemy::OnDestroyed();
}

BigBatteryEnemy::BigBatteryEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                 float hitRadius, float speed, int32_t pause, float offset)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, kDefaultLinger, "BONUS_L",
                     "EXPLOSION_LG01", HitRule::kAlways, reactions::BigTurret),
      angleOffset(offset),
      pauseLength(pause),
      turnSpeed(speed) {}

float BigBatteryEnemy::Turn(float b) {
    if (pausing != 0) {
        if (++pauseCounter >= pauseLength) {
            pauseCounter = 0;
            turnSteps = 0;
            pausing = 0;
        }
        return 0.0f;
    }
    ++turnSteps;
    const float turn = float(turnSteps) * 0.1f + turnSpeed;
    if (b >= 1.0f && b < 180.0f && lastDirection != kNegative) {
        lastDirection = kPositive;
        return turn;
    }
    if (b > 180.0f && b < 359.0f && lastDirection != kPositive) {
        lastDirection = kNegative;
        return -turn;
    }
    pausing = 1;
    lastDirection = kNone;
    return 0.0f;
}

void BigBatteryEnemy::OnUpdatePre() {
    const Vec3 pivot = GetWorldPosition();
    RegisterHitSphere(pivot, radius);
    if (world == nullptr)
        return;
    PlayerShip* target = world->GetPlayer(3);
    if (target == nullptr)
        return;
    const Vec3 local = Vec3TransformCoord(target->GetWorldPosition(), GetInverseWorldMatrix());
    lastAngle = LayerTankTurret::Bearing(local, angleOffset);
    const float degrees = Turn(lastAngle);
    if (degrees != 0.0f)
        SetQuaternion(QuaternionMultiply(GetQuaternion(), EulerToQuaternion(0.0f, degrees * kRadians, 0.0f)));
}

SmoothTurret::SmoothTurret(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                           float hitRadius, const char* text, const char* itemName, float offset)
    : LayerFormEnemy(parentTask, info, durabilityValue, hitRadius, kDefaultLinger, text, itemName,
                     HitRule::kAlways, reactions::ScorchDrop),
      angleOffset(offset) {}

void SmoothTurret::OnUpdatePre() {
    const Vec3 pivot = GetWorldPosition();
    RegisterHitSphere(pivot, radius);
    if (world == nullptr)
        return;
    PlayerShip* target = world->GetNearestPlayer(pivot);
    if (target == nullptr)
        return;
    const Vec3 local = Vec3TransformCoord(target->GetWorldPosition(), GetInverseWorldMatrix());
    const Vec3& pivotLocal = GetPivot();
    const Vec3 toward = {local.x - pivotLocal.x, local.y - pivotLocal.y, local.z - pivotLocal.z};
    const float length = Vec3Length(toward);
    if (!(length > 1e-6f))
        return;
    const Vec3 u = {toward.x / length, toward.y / length, toward.z / length};
    // From the forward (local +z) onto u, about their cross product; the angle's sign is
    // this engine's quaternion handedness.
    const Vec3 axis = {-u.y, u.x, 0.0f};
    const float axisLength = Vec3Length(axis);
    const float angle = std::acos(std::clamp(u.z, -1.0f, 1.0f));
    Quaternion turn{0.0f, 0.0f, 0.0f, 1.0f};
    if (axisLength > 1e-6f) {
        const float s = std::sin(angle * 0.5f) / axisLength;
        turn = {axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f)};
    } else if (u.z < 0.0f) {
        // Straight behind: half a turn about y.
        turn = {0.0f, 1.0f, 0.0f, 0.0f};
    }
    const Quaternion& current = GetQuaternion();
    SetQuaternion(QuaternionSlerp(current, QuaternionMultiply(current, turn), kFollow));
}

}  // namespace mareldon
