#include "game/objects/MidBoss03Guns.h"

#include <cmath>

#include "game/objects/GunVariants.h"

namespace mareldon {

namespace {

// The bosses' volley start these guns share.
void StartAimedFromParent(GunPart& gun) {
    gun.storedSpeed = 0.08f;
    gun.AimFromParentToPlayer();
}

}  // namespace

MidBoss03SideGun::MidBoss03SideGun(Object3D* parent, NodeSpawnInfo& info) : GunPart(parent, info) {
    storedSpeed = 0.12f;
    storedAngle = 0.0f;
}

void MidBoss03SideGun::OnActiveStep() {
    AimFromParentToPlayer();
    counter = (counter + 1) % 5;
}

void MidBoss03CenterGunA::OnVolleyStart() {
    StartAimedFromParent(*this);
}

void MidBoss03CenterGunA::FireBullet(const Vec3& position, float angle, float speed) {
    const float offset = random.Range(-20.0f * kDegree, 20.0f * kDegree);
    random.Next();
    const float size = random.Range(0.8f, 1.2f);
    const int32_t sprite = (random.Next() & 1) != 0 ? 10 : 37;
    Shoot(position, AngleVelocity(angle + offset, speed), sprite, size);
}

void MidBoss03CenterGunA::OnShotFired() {
    if (secondSpeed < 0.1f)
        secondSpeed += 0.001f;
}

void MidBoss03CenterGunB::OnVolleyStart() {
    StartAimedFromParent(*this);
}

void MidBoss03CenterGunB::FireBullet(const Vec3& position, float angle, float speed) {
    // The added 10 and 20 are plain numbers on a radian angle: the bullets' spacing
    // players know.
    Shoot(position, AngleVelocity(angle, speed), 22, 1.0f);
    Shoot(position, AngleVelocity(angle + 10.0f, speed), 22, 1.0f);
    Shoot(position, AngleVelocity(angle + 20.0f, speed), 22, 1.0f);
}

void MidBoss03CenterGunC::FireBullet(const Vec3& position, float, float speed) {
    for (int32_t degrees = -180; degrees <= -10; degrees += 10)
        Shoot(position, AngleVelocity(float(degrees) * kDegree, speed), 6, 1.0f);
}

}  // namespace mareldon
