#include "game/objects/GunVariants.h"

#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

TableGun::TableGun(Object3D* parent, NodeSpawnInfo& info, const GunRow& row)
    : GunPart(parent, info),
      row(row),
      shots(row.shots),
      gap(row.gap),
      pause(row.pause),
      volleys(row.volleys),
      delay(row.delay) {
    if (row.setup != nullptr)
        row.setup(*this);
}

TableGun::TableGun(TaskObject* parent, GameWorldScreen* world, const GunRow& row)
    : GunPart(parent, world),
      row(row),
      shots(row.shots),
      gap(row.gap),
      pause(row.pause),
      volleys(row.volleys),
      delay(row.delay) {
    if (row.setup != nullptr)
        row.setup(*this);
}

void TableGun::FireBullet(const Vec3& position, float angle, float speed) {
    if (row.fire != nullptr)
        row.fire(*this, position, angle, speed);
    else
        gun::Single(*this, position, angle, speed);
}

float TableGun::AngleToPlayer() {
    return row.aimAtPlayer ? GunPart::AngleToPlayer() : storedAngle;
}

void TableGun::OnVolleyStart() {
    if (row.start != nullptr)
        row.start(*this);
}

void TableGun::OnShotFired() {
    if (row.afterShot != nullptr)
        row.afterShot(*this);
}

void TableGun::OnActiveStep() {
    if (row.step != nullptr)
        row.step(*this);
}

bool TableGun::PlayerPosition(Vec3& out) {
    PlayerShip* ship = world != nullptr ? world->GetPlayer(3) : nullptr;
    if (ship == nullptr)
        return false;
    out = ship->GetWorldPosition();
    return true;
}

bool TableGun::NearestPlayerPosition(Vec3& out) {
    PlayerShip* ship = world != nullptr ? world->GetNearestPlayer(GetWorldPosition()) : nullptr;
    if (ship == nullptr)
        return false;
    out = ship->GetWorldPosition();
    return true;
}

namespace gun {

namespace {

Vec3 Times(const Vec3& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

// The forward turned about y by `angle`.
Vec3 TurnedAboutY(const Vec3& v, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {v.x * c + v.z * s, v.y, v.z * c - v.x * s};
}

void AimAt(TableGun& gun, const Vec3& player) {
    const Vec3 own = gun.GetWorldPosition();
    gun.storedAngle = std::atan2(player.z - own.z, player.x - own.x);
}

void SetSpeed(TableGun& gun) {
    if (gun.row.speed != 0.0f)
        gun.storedSpeed = gun.row.speed;
}

}  // namespace

void AimSpeed(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
    SetSpeed(gun);
}

void ProjectedAimSpeed(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        gun.storedAngle = gun.world->ProjectedAimAngle(gun.GetWorldPosition(), p);
    SetSpeed(gun);
}

void AimRandomSpeed(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
    gun.storedSpeed = gun.random.Range(gun.row.a, gun.row.b);
}

void AimDifficultySpeed(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
    DifficultySpeed(gun);
}

void DifficultySpeed(TableGun& gun) {
    const float scale = gun.world != nullptr ? gun.world->GetDifficultyScale() : 0.0f;
    gun.storedSpeed = (scale + gun.row.a) * gun.row.b;
}

void AimNearestSpeed(TableGun& gun) {
    Vec3 p;
    if (gun.NearestPlayerPosition(p))
        AimAt(gun, p);
    SetSpeed(gun);
}

void SpeedOnly(TableGun& gun) {
    gun.storedSpeed = gun.row.speed;
}

void SpeedThenAimFromParent(TableGun& gun) {
    gun.storedSpeed = 0.08f;
    gun.AimFromParentToPlayer();
}

void TorisanBeamStart(TableGun& gun) {
    gun.storedSpeed = 0.11f;
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
    gun.counter += 1;
}

void VectorToPlayer(TableGun& gun) {
    Vec3 p;
    if (!gun.PlayerPosition(p))
        return;
    const Vec3 own = gun.GetWorldPosition();
    const Vec3 d = {p.x - own.x, p.y - own.y, p.z - own.z};
    const float length = Vec3Length(d);
    // On the ship itself there is no direction: keep the last one.
    if (!(length > 0.0f) || !std::isfinite(length))
        return;
    gun.vector = Times(d, 0.18f / length);
}

void AimSpreadSpeed(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
    SetSpeed(gun);
    gun.second = gun.random.Range(-10.0f * kDegree, 10.0f * kDegree);
}

void ForwardAngle(TableGun& gun) {
    const Vec3 f = gun.GetWorldForward();
    gun.storedAngle = std::atan2(f.z, f.x);
    gun.second = 0.0f;
}

void ForwardVector(TableGun& gun) {
    gun.vector = gun.GetWorldForward();
}

void ProjectedAimFromAbove(TableGun& gun) {
    Vec3 p;
    if (gun.NearestPlayerPosition(p)) {
        Vec3 from;
        gun.LocalToWorld(from, {0.0f, 10.0f, 0.0f});
        gun.storedAngle = gun.world->ProjectedAimAngle(from, p);
    }
    gun.storedSpeed = 0.1f;
    gun.second = 0.0f;
    gun.spin = 0.0f;
}

void Aim(TableGun& gun) {
    Vec3 p;
    if (gun.PlayerPosition(p))
        AimAt(gun, p);
}

void AimFromParent(TableGun& gun) {
    gun.AimFromParentToPlayer();
}

void TurnParentToPlayer(TableGun& gun) {
    Object3D* parent = gun.ParentNode();
    Vec3 p;
    if (parent == nullptr || !gun.PlayerPosition(p))
        return;
    const Vec3 q = parent->GetWorldPosition();
    parent->SetRotation({0.0f, std::atan2(-(p.z - q.z), p.x - q.x) - kPi / 2.0f, 0.0f});
    gun.storedAngle = std::atan2(p.z - q.z, p.x - q.x);
}

void OnionSide(TableGun& gun) {
    Object3D* parent = gun.ParentNode();
    if (parent == nullptr)
        return;
    const float parentX = parent->GetWorldPosition().x;
    gun.storedAngle = parentX > gun.GetWorldPosition().x ? -135.0f * kDegree : -45.0f * kDegree;
}

void SpeedUpAimNearest(TableGun& gun) {
    gun.storedSpeed += 0.0008f;
    Vec3 p;
    if (gun.NearestPlayerPosition(p))
        AimAt(gun, p);
}

void SpeedUpWhileSlow(TableGun& gun) {
    if (gun.storedSpeed < 0.1f)
        gun.storedSpeed += 0.01f;
}

void CountModulo5(TableGun& gun) {
    gun.counter = (gun.counter + 1) % 5;
}

void Single(TableGun& gun, const Vec3& p, float angle, float speed) {
    gun.Shoot(p, AngleVelocity(angle, speed), gun.row.kind, gun.row.size);
}

void RandomSpray(TableGun& gun, const Vec3& p, float, float speed) {
    const Vec3 back = Times(gun.GetWorldForward(), -speed);
    for (int i = 0; i < 3; ++i) {
        // Takes effect from the next call: this one fires at the speed passed in.
        gun.storedSpeed = gun.random.Range(0.16f, 0.8f);
        Vec3 at = p;
        at.x += gun.random.Range(-0.15f, 0.15f);
        gun.Shoot(at, back, 14, 1.0f);
    }
}

void SingleForward(TableGun& gun, const Vec3& p, float, float speed) {
    gun.Shoot(p, Times(gun.GetWorldForward(), speed), gun.row.kind, gun.row.size);
}

void TripleForward(TableGun& gun, const Vec3& p, float, float speed) {
    const Vec3 f = gun.GetWorldForward();
    gun.Shoot(p, Times(f, speed * 1.0f), 10, 1.0f);
    gun.Shoot(p, Times(f, speed * 0.9f), 10, 0.9f);
    gun.Shoot(p, Times(f, speed * 0.8f), 10, 0.9f);
}

void Backward(TableGun& gun, const Vec3& p, float, float speed) {
    gun.Shoot(p, Times(gun.GetWorldForward(), -speed), 11, 1.0f);
}

void JitteredBackward(TableGun& gun, const Vec3& p, float, float speed) {
    const Vec3 f = gun.GetWorldForward();
    for (int i = 0; i < 3; ++i) {
        Vec3 at = p;
        at.y += gun.random.Range(-0.01f, 0.01f);
        at.x += gun.random.Range(-0.01f, 0.01f);
        at.z += gun.random.Range(-0.01f, 0.01f);
        const float factor = gun.random.Range(1.0f, 1.6f);
        gun.Shoot(at, Times(f, -(speed * factor)), 24, 1.0f);
    }
}

void Stream(TableGun& gun, const Vec3& p, float, float speed) {
    if (gun.world == nullptr || gun.world->GetPlayingStage() != 2)
        return;
    static constexpr float kFactors[5] = {1.0f, 0.95f, 0.9f, 0.85f, 0.8f};
    static constexpr float kSizes[5] = {1.0f, 0.8f, 0.85f, 0.8f, 0.7f};
    const Vec3 at = {p.x, p.y, p.z - 0.8f};
    Vec3 player;
    if (!gun.PlayerPosition(player))
        return;
    const float angle = std::atan2(player.z - at.z, player.x - at.x);
    for (int i = 0; i < 5; ++i)
        gun.Shoot(at, AngleVelocity(angle, speed * kFactors[i]), 11, kSizes[i]);
}

void FivePiece(TableGun& gun, const Vec3& p, float angle, float speed) {
    const Vec3 f = gun.GetWorldForward();
    gun.Shoot(p, AngleVelocity(angle, 0.03f), 10, 1.0f);
    gun.Shoot(p, AngleVelocity(angle, 0.06f), 10, 1.0f);
    gun.Shoot(p, Times(f, speed), 11, 1.0f);
    gun.Shoot(p, Times(f, speed * 1.1f), 40, 1.0f);
    gun.Shoot(p, Times(f, speed * 1.2f), 11, 1.0f);
}

void CountedBurst(TableGun& gun, const Vec3& p, float angle, float speed) {
    if ((gun.counter & 8) == 0)
        gun.Shoot(p, AngleVelocity(angle, speed), 10, 1.0f);
    gun.counter += 1;
}

void CountedBurst16(TableGun& gun, const Vec3& p, float angle, float speed) {
    if ((gun.counter & 16) == 0)
        gun.Shoot(p, AngleVelocity(angle, speed), 10, 1.0f);
    gun.counter += 1;
}

void SideSpread(TableGun& gun, const Vec3& p, float angle, float speed) {
    const Vec3 at = {p.x + gun.row.a, p.y, p.z + 0.3f};
    for (int i = 0; i < 3; ++i) {
        const float offset = gun.random.Range(-5.0f * kDegree, 5.0f * kDegree);
        gun.Shoot(at, AngleVelocity(angle + offset, speed), 1, 1.0f);
    }
}

void ThreeWayQuaternion(TableGun& gun, const Vec3& p, float, float) {
    const Vec3 f = gun.GetWorldForward();
    const float speed = gun.storedSpeed;
    gun.Shoot(p, Times(TurnedAboutY(f, -5.0f * kDegree), speed), 16, 1.0f);
    gun.Shoot(p, Times(f, speed), 30, 1.0f);
    gun.Shoot(p, Times(TurnedAboutY(f, 5.0f * kDegree), speed), 16, 1.0f);
}

void WideThreeWay(TableGun& gun, const Vec3& p, float angle, float speed) {
    if (gun.world != nullptr && gun.world->GetPlayingStage() == 1) {
        const Vec3 f = gun.GetWorldForward();
        gun.Shoot(p, Times(TurnedAboutY(f, -40.0f * kDegree), speed), 16, 1.0f);
        gun.Shoot(p, Times(TurnedAboutY(f, 40.0f * kDegree), speed), 16, 1.0f);
        gun.Shoot(p, Times(f, speed), 16, 1.0f);
        return;
    }
    gun.Shoot(p, AngleVelocity(angle - 40.0f * kDegree, speed), 16, 1.0f);
    gun.Shoot(p, AngleVelocity(angle, speed), 16, 1.0f);
    gun.Shoot(p, AngleVelocity(angle + 40.0f * kDegree, speed), 16, 1.0f);
}

void ForwardOwnSpeed(TableGun& gun, const Vec3& p, float, float) {
    gun.Shoot(p, Times(gun.GetWorldForward(), gun.storedSpeed), gun.row.kind, 1.0f);
}

void LooseForward(TableGun& gun, const Vec3& p, float, float speed) {
    Random& random = gun.world->GetRandom();
    const float fast = speed + random.Range(0.0f, 0.07f);
    Vec3 at = p;
    at.x += random.Range(-0.5f, 0.5f);
    gun.Shoot(at, Times(gun.GetWorldForward(), fast), gun.row.kind, 1.0f);
}

void ThreeWayAtPlayer(TableGun& gun, const Vec3& p, float, float speed) {
    Vec3 player;
    if (!gun.PlayerPosition(player))
        return;
    const float base = std::atan2(player.z - p.z, player.x - p.x);
    gun.Shoot(p, AngleVelocity(base - 10.0f * kDegree, speed), gun.row.kind, 1.0f);
    gun.Shoot(p, AngleVelocity(base, speed), gun.row.kind, 1.0f);
    gun.Shoot(p, AngleVelocity(base + 10.0f * kDegree, speed), gun.row.kind, 1.0f);
}

void LobOrSpray(TableGun& gun, const Vec3& p, float, float speed) {
    const Vec3 f = gun.GetWorldForward();
    if (f.y + 0.0f * (f.x + f.z) > 0.8f) {
        Vec3 player;
        if (!gun.PlayerPosition(player))
            return;
        const float angle = gun.world->ProjectedAimAngle(p, player);
        const float size = gun.random.Range(0.8f, 1.2f);
        gun.Shoot(p, AngleVelocity(angle, speed), 0, size);
        return;
    }
    if ((gun.GetStepCount() & 4) != 0)
        return;
    Object3D* parent = gun.ParentNode();
    if (parent == nullptr)
        return;
    const Vec3 from = parent->GetWorldPosition();
    const Vec3 d = {p.x - from.x, p.y - from.y, p.z - from.z};
    const float length = Vec3Length(d);
    if (!(length > 0.0f))
        return;
    const float fast = gun.random.Range(0.1f, 0.12f);
    const float size = gun.random.Range(0.8f, 1.2f);
    gun.Shoot(p, Times(d, fast / length), 10, size);
}

void FanAndAimed(TableGun& gun, const Vec3& p, float, float speed) {
    const int32_t k = gun.counter;
    for (int32_t degrees = 275 - k; degrees <= 275 + k; degrees += 5)
        gun.Shoot(p, AngleVelocity(float(degrees) * kDegree, speed), 11, 1.0f);
    Vec3 player;
    if (!gun.PlayerPosition(player))
        return;
    const float aim = gun.world->ProjectedAimAngle(p, player);
    const float offset = gun.random.Range(-4.0f * kDegree, 4.0f * kDegree);
    float fast = gun.random.Range(0.12f, 0.15f);
    const float size = gun.random.Range(0.8f, 1.2f);
    int32_t sprite = 10;
    if ((gun.random.Next() & 1) != 0) {
        sprite = 1;
        fast *= 0.6f;
    }
    gun.Shoot(p, AngleVelocity(aim + offset, fast), sprite, size);
}

void TurnedNothing(TableGun& gun, const Vec3&, float, float) {
    // These guns turn their forward 60 degrees each way and fire nothing.
    const Vec3 f = gun.GetWorldForward();
    gun.vector = TurnedAboutY(f, -60.0f * kDegree);
    gun.vector = TurnedAboutY(f, 60.0f * kDegree);
}

}  // namespace gun

}  // namespace mareldon
