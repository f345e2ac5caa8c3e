#include "game/stage/PodShot.h"

#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

Ship3PodBullet::Ship3PodBullet(TaskObject* parentTask, const Vec3& position, const Vec3& flight, float factor,
                               GameWorldScreen* ownerScreen, int32_t mask, int32_t slot, int32_t level,
                               const AttackVector& attackVector)
    : PlayerBullet(parentTask, position, Vec3{0.0f, 0.0f, 0.0f}, ownerScreen, mask, slot, level,
                   attackVector),
      direction(flight),
      speedFactor(factor) {}

void Ship3PodBullet::OnUpdatePre() {
    speedFactor -= kSlowing;
    if (speedFactor < kMinSpeedFactor)
        speedFactor = kMinSpeedFactor;
    --life;
    const Vec3& at = GetPosition();
    SetPosition(Vec3{at.x + direction.x * speedFactor, at.y + direction.y * speedFactor,
                     at.z + direction.z * speedFactor});
}

bool Ship3PodBullet::IsAlive() {
    if (screen == nullptr)
        return false;
    const Vec3 at = GetWorldPosition();
    if (AttackTarget* target = screen->HitLists().FindEnemyTarget(at)) {
        target->ApplyAttack(uint32_t(GetOwnerMask()), GetAttack());
        int32_t k = 100 - GetStepCount();
        if (k < 1)
            k = 1;
        screen->AddScore(uint32_t(GetOwnerMask()), k * k);
        OnHit();
        return false;
    }
    if (life >= 0)
        return screen->IsOnScreen(at, 0.0f);
    OnHit();
    return false;
}

void Ship3PodBullet::OnHit() {
    if (screen == nullptr || screen->playerShotParent == nullptr)
        return;
    const Vec3 at = screen->ToStageCameraSpace(GetWorldPosition());
    const Vec3 drift{direction.x * kBlastDrift, direction.y * kBlastDrift, direction.z * kBlastDrift};
    new Ship3PodBlast(screen->playerShotParent, at, drift, screen, GetOwnerMask(), GetGunSlot(),
                      GetShotLevel(), GetAttack());
}

int32_t Ship3PodBullet::SpriteCell() {
    const int32_t level = GetShotLevel();
    if (level < 0 || level > 3)
        return -1;
    return 40 + (GetStepCount() & 15);
}

Ship3PodBlast::Ship3PodBlast(TaskObject* parentTask, const Vec3& position, const Vec3& drift,
                             GameWorldScreen* ownerScreen, int32_t mask, int32_t slot, int32_t level,
                             const AttackVector& attackVector)
    : PlayerBullet(parentTask, position, drift, ownerScreen, mask, slot, level, attackVector),
      maxSize(MaxSizeOf(level)) {
    noSpark = 1;
    SetModel("STE_pl03_k_chakudan");
    ScaleTo(maxSize * 0.1f);
}

float Ship3PodBlast::MaxSizeOf(int32_t shotLevel) {
    static constexpr float kSizes[4] = {0.4f, 0.5f, 0.6f, 0.7f};
    // Levels come from the guns (0 to 3); anything else takes the smallest.
    return shotLevel >= 0 && shotLevel < 4 ? kSizes[shotLevel] : kSizes[0];
}

void Ship3PodBlast::ScaleTo(float size) {
    const Vec3 unit = Vec3Normalize(GetScale());
    SetScale(Vec3{unit.x * size, unit.y * size, unit.z * size});
}

void Ship3PodBlast::OnUpdatePre() {
    if (--life < 0)
        life = 0;
    if (life < 1) {
        sizeFactor -= kShrink;
        if (sizeFactor < kMinSize)
            sizeFactor = kMinSize;
    } else {
        sizeFactor += kGrow;
        if (sizeFactor > maxSize)
            sizeFactor = maxSize;
    }
    Move();
    ScaleTo(sizeFactor);
}

bool Ship3PodBlast::IsAlive() {
    PlayerBullet::IsAlive();
    return life != 0;
}

}  // namespace mareldon
