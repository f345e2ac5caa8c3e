#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/render/scene/Object3D.h"
#include "game/stage/NodeSpawnInfo.h"

namespace mareldon {

class Enemy;
class GameWorldScreen;

// The muzzle of an enemy: a node under an Enemy that fires volleys of enemy bullets
// while that enemy is active and not destroyed. The base holds the volley machine;
// every gun is a subclass answering some of the parameter and hook operations.
// Angles are radians in the x/z plane, atan2(dz, dx).
class GunPart : public Object3D {
  public:
    static constexpr float kDefaultSpeed = 0.05f;
    // Suppression: the lower part of the screen, and a ship this close.
    static constexpr float kLowScreenY = 360.0f;
    static constexpr float kNearDistance = 3.0f;

    // A "BS_*" node of the stage model.
    GunPart(Object3D* parent, NodeSpawnInfo& info);
    // A muzzle a composite enemy makes for itself.
    GunPart(TaskObject* parent, GameWorldScreen* world);

    // The volley machine, once per step.
    void OnUpdatePre() override;

    // One shot of the volley: by default one bullet of kind 0, size 1.0.
    virtual void FireBullet(const Vec3& position, float angle, float speed);
    virtual float AngleToPlayer();
    virtual float BulletSpeed() { return kDefaultSpeed; }
    virtual int32_t ShotsPerVolley() { return 1; }
    virtual int32_t FramesBetweenShots() { return 2; }
    virtual int32_t PauseBetweenVolleys() { return 30; }
    // -1: endless.
    virtual int32_t VolleyCount() { return -1; }
    virtual void OnVolleyStart() {}
    virtual void OnShotFired() {}
    virtual void OnVolleyEnd() {}
    // Every step the enemy is active with durability left, before the enabled test.
    virtual void OnActiveStep() {}
    virtual int32_t InitialDelay() { return 0; }
    virtual bool SuppressWhenLow() { return false; }
    virtual bool SuppressWhenNear() { return false; }
    // Starts the gun over as after a volley's end.
    virtual void Reload();

    // Shared hooks: the stored angle from the parent toward a ship; one bullet against
    // the gun's forward, kind 1 or kind 0.
    void AimFromParentToPlayer();
    void FireBackward(const Vec3& position, float angle, float speed);
    void FireBackwardKind0(const Vec3& position, float angle, float speed);

    // One bullet into the world (which may refuse it; the gun does not notice). With an
    // event log the shot is noted as "GunShot name kind size vx vz".
    void Shoot(const Vec3& position, const Vec3& velocity, int32_t kind, float size);

    // The enemy the gun follows; null when its parent is none (it never fires).
    Enemy* GetEnemy() const { return enemy; }

    GameWorldScreen* world = nullptr;
    int32_t wait = 0;
    int32_t shotTimer = 0;
    int32_t shotsLeft = 0;
    // -2 until the first step reads the volley count.
    int32_t volleysLeft = -2;
    uint8_t enabled = 1;
    uint8_t volleySuppressed = 0;
    // Most subclasses answer the angle and speed operations from these.
    float storedSpeed = kDefaultSpeed;
    float storedAngle = 0.0f;

  protected:
    // The two suppression tests, asked at the first shot of each volley.
    virtual bool DecideSuppressed();

  private:
    Enemy* enemy = nullptr;
};

}  // namespace mareldon
