#pragma once

#include "engine/core/Random.h"
#include "game/objects/GunPart.h"

namespace mareldon {

// The guns of the third stage's mid boss: one on each side, three in the centre.
class MidBoss03SideGun : public GunPart {
  public:
    MidBoss03SideGun(Object3D* parent, NodeSpawnInfo& info);

    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override { return 10; }
    int32_t PauseBetweenVolleys() override { return 50; }
    void OnActiveStep() override;

    Random random;
    int32_t counter = 0;
};

// Aimed bursts with a wide random scatter.
class MidBoss03CenterGunA : public GunPart {
  public:
    MidBoss03CenterGunA(Object3D* parent, NodeSpawnInfo& info) : GunPart(parent, info) {}

    void FireBullet(const Vec3& position, float angle, float speed) override;
    float AngleToPlayer() override { return storedAngle; }
    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override { return 20; }
    int32_t FramesBetweenShots() override { return 1; }
    int32_t PauseBetweenVolleys() override { return 30; }
    void OnVolleyStart() override;
    void OnShotFired() override;
    int32_t InitialDelay() override { return 30; }
    bool SuppressWhenLow() override { return true; }
    bool SuppressWhenNear() override { return true; }

    Random random;
    float secondSpeed = 0.0f;
};

// A turning triple.
class MidBoss03CenterGunB : public GunPart {
  public:
    MidBoss03CenterGunB(Object3D* parent, NodeSpawnInfo& info) : GunPart(parent, info) {}

    void FireBullet(const Vec3& position, float angle, float speed) override;
    float AngleToPlayer() override { return storedAngle; }
    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override { return 40; }
    int32_t FramesBetweenShots() override { return 1; }
    int32_t PauseBetweenVolleys() override { return 80; }
    void OnVolleyStart() override;
    void OnActiveStep() override { storedAngle += 0.25f; }
};

// A slow half-circle fan toward -z.
class MidBoss03CenterGunC : public GunPart {
  public:
    MidBoss03CenterGunC(Object3D* parent, NodeSpawnInfo& info) : GunPart(parent, info) {}

    void FireBullet(const Vec3& position, float angle, float speed) override;
    float AngleToPlayer() override { return storedAngle; }
    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override { return 2; }
    int32_t FramesBetweenShots() override { return 20; }
    int32_t PauseBetweenVolleys() override { return 100; }
    void OnVolleyStart() override { storedSpeed = 0.02f; }

    Random random;
};

}  // namespace mareldon
