#include "game/objects/GunPart.h"

#include <cmath>

#include "game/objects/Enemy.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

GunPart::GunPart(Object3D* parent, NodeSpawnInfo& info)
    : Object3D(parent, info.node, 0), world(info.owner), enemy(dynamic_cast<Enemy*>(parent)) {
    name = info.name;
}

GunPart::GunPart(TaskObject* parent, GameWorldScreen* world)
    : Object3D(parent, 0), world(world), enemy(dynamic_cast<Enemy*>(parent)) {}

void GunPart::OnUpdatePre() {
    if (volleysLeft == -2) {
        volleysLeft = VolleyCount();
        wait = InitialDelay();
    }
    // A gun under anything but an enemy never fires; an inactive enemy freezes it.
    if (enemy == nullptr || enemy->active == 0 || enemy->durability <= 0.0f)
        return;
    OnActiveStep();
    if (enabled == 0 || volleysLeft == 0)
        return;
    if (--wait >= 0)
        return;
    wait = 0;
    if (--shotTimer >= 0)
        return;
    shotTimer = FramesBetweenShots();
    --shotsLeft;
    const int32_t shots = ShotsPerVolley();
    if (shotsLeft < 0) {
        shotsLeft = shots;
        wait = PauseBetweenVolleys();
        return;
    }
    if (shotsLeft + 1 == shots) {
        volleySuppressed = DecideSuppressed() ? 1 : 0;
        OnVolleyStart();
    }
    if (volleySuppressed == 0) {
        // The speed first: the angle may draw the world's generator.
        const float speed = BulletSpeed();
        const float angle = AngleToPlayer();
        FireBullet(GetWorldPosition(), angle, speed);
        OnShotFired();
        if (shotsLeft != 0)
            return;
        OnVolleyEnd();
    } else if (shotsLeft != 0) {
        return;
    }
    if (volleysLeft > 0)
        --volleysLeft;
}

bool GunPart::DecideSuppressed() {
    if (world == nullptr)
        return false;
    bool suppressed = false;
    if (SuppressWhenLow()) {
        if (world->ProjectToScreen(GetWorldPosition()).y > kLowScreenY)
            suppressed = true;
    }
    if (SuppressWhenNear()) {
        const Vec3 own = GetWorldPosition();
        if (PlayerShip* ship = world->GetNearestPlayer(own)) {
            const Vec3 p = ship->GetWorldPosition();
            if (Vec3Length({p.x - own.x, p.y - own.y, p.z - own.z}) < kNearDistance)
                suppressed = true;
        }
    }
    return suppressed;
}

void GunPart::FireBullet(const Vec3& position, float angle, float speed) {
    Shoot(position, {std::cos(angle) * speed, 0.0f, std::sin(angle) * speed}, 0, 1.0f);
}

float GunPart::AngleToPlayer() {
    if (world == nullptr)
        return 0.0f;
    PlayerShip* ship = world->GetPlayer(3);
    if (ship == nullptr)
        return 0.0f;
    const Vec3 p = ship->GetWorldPosition();
    const Vec3 own = GetWorldPosition();
    return std::atan2(p.z - own.z, p.x - own.x);
}

void GunPart::Reload() {
    shotTimer = FramesBetweenShots();
    shotsLeft = ShotsPerVolley();
    wait = PauseBetweenVolleys();
    volleysLeft = VolleyCount();
}

void GunPart::AimFromParentToPlayer() {
    Object3D* parent = ParentNode();
    if (world == nullptr || parent == nullptr)
        return;
    PlayerShip* ship = world->GetPlayer(3);
    if (ship == nullptr)
        return;
    const Vec3 p = ship->GetWorldPosition();
    const Vec3 from = parent->GetWorldPosition();
    storedAngle = std::atan2(p.z - from.z, p.x - from.x);
}

void GunPart::FireBackward(const Vec3& position, float, float speed) {
    const Vec3 f = GetWorldForward();
    Shoot(position, {-f.x * speed, -f.y * speed, -f.z * speed}, 1, 1.0f);
}

void GunPart::FireBackwardKind0(const Vec3& position, float, float speed) {
    const Vec3 f = GetWorldForward();
    Shoot(position, {-f.x * speed, -f.y * speed, -f.z * speed}, 0, 1.0f);
}

void GunPart::Shoot(const Vec3& position, const Vec3& velocity, int32_t kind, float size) {
    if (world == nullptr)
        return;
    if (WorldEventLog* log = world->GetEventLog())
        log->RecordFormat("GunShot", "%s %d %.4g %.5g %.5g", name.IsEmpty() ? "-" : name.Text(), kind,
                          double(size), double(velocity.x), double(velocity.z));
    world->FireEnemyBullet(position, velocity, kind, size);
}

}  // namespace mareldon
