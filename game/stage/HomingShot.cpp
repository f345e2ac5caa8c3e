#include "game/stage/HomingShot.h"

#include <cmath>

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

constexpr float kDegreesPerRadian = 57.295776f;
constexpr float kRadiansPerDegree = 0.017453294f;
constexpr float kDrift = 0.04f;

float IntoTurn(float degrees) {
    if (degrees > 359.0f)
        degrees -= 360.0f;
    if (degrees < 0.0f)
        degrees += 360.0f;
    return degrees;
}

}  // namespace

Ship2SubBullet::Ship2SubBullet(TaskObject* parentTask, const Vec3& position, const Vec3& startVelocity,
                               GameWorldScreen* ownerScreen, int32_t mask, int32_t slot, int32_t level,
                               const AttackVector& attackVector, float startSpeed)
    : PlayerBullet(parentTask, position, startVelocity, ownerScreen, mask, slot, level, attackVector),
      picker(ownerScreen),
      turner(10.0f, 0.9f, 0.01f, 5.0f),
      speed(startSpeed) {}

void Ship2SubBullet::OnUpdatePre() {
    if (target.Get() == nullptr)
        target.Set(picker.PickRandomTarget());
    AttackTarget* aim = target.Get();
    if (aim != nullptr && !(aim->IsHittableTarget() && aim->IsLiveTarget())) {
        target.Set(nullptr);
        aim = nullptr;
    }
    if (aim != nullptr) {
        const Vec3 own = GetWorldPosition();
        const Vec3 to = aim->TargetWorldPosition();
        wantedHeading = IntoTurn(std::atan2(to.x - own.x, to.z - own.z) * kDegreesPerRadian);
        heading = turner.Update(wantedHeading, heading);
        if (std::fabs(wantedHeading - heading) >= kHardTurn) {
            speed -= kSpeedStep;
            if (speed < kMinSpeed)
                speed = kMinSpeed;
        } else {
            speed += kSpeedStep;
            if (speed > kMaxSpeed)
                speed = kMaxSpeed;
        }
        SetRotation(Vec3{0.0f, heading * kRadiansPerDegree, 0.0f});
    } else {
        speed += kSpeedStep;
        if (speed > kMaxSpeed)
            speed = kMaxSpeed;
    }
    const float b = IntoTurn(360.0f - heading + 90.0f) * kRadiansPerDegree;
    velocity = Vec3{std::cos(b) * speed, 0.0f, std::sin(b) * speed};
    Move();
}

void Ship2SubBullet::OnHit() {
    if (screen == nullptr)
        return;
    Random& random = screen->GetRandom();
    const float r1 = random.Range(-kDrift, kDrift);
    const float r2 = random.Range(-kDrift, kDrift);
    const float r3 = random.Range(-kDrift, kDrift);
    screen->SpawnEffect(GetWorldPosition(), Vec3{r2, r1, r3}, "STE_pl02_h_chakudan", Vec3{1.0f, 1.0f, 1.0f});
}

int32_t Ship2SubBullet::SpriteCell() {
    const int32_t level = GetShotLevel();
    if (level < 0 || level > 3)
        return -1;
    return 32 + (GetStepCount() & 7);
}

}  // namespace mareldon
