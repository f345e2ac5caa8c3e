#pragma once

#include <cmath>
#include <cstdint>

#include "engine/core/Random.h"
#include "game/objects/GunPart.h"

namespace mareldon {

class TableGun;

// A gun class as data: its volley numbers and the variants it combines. Unset hooks do
// nothing; an unset shot pattern is the single bullet of `kind` at `size`.
struct GunRow {
    using Fire = void (*)(TableGun& gun, const Vec3& position, float angle, float speed);
    using Hook = void (*)(TableGun& gun);
    enum Suppress : uint8_t { kLow = 1, kNear = 2 };

    int32_t shots = 1;
    int32_t gap = 2;
    int32_t pause = 30;
    int32_t volleys = -1;
    int32_t delay = 0;
    uint8_t suppress = 0;
    Fire fire = nullptr;
    Hook start = nullptr;
    Hook step = nullptr;
    Hook afterShot = nullptr;
    // Adjusts the gun once it is built (numbers that depend on the difficulty, an index).
    Hook setup = nullptr;
    int32_t kind = 0;
    float size = 1.0f;
    // The volley-start hooks' speed (0 keeps the stored one) and a hook's two numbers.
    float speed = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
    // The turn of the stored angle (radians) of the hooks that turn it by a fixed step.
    float turn = 0.0f;
    // The angle operation is the base's aim at a ship, not the stored angle.
    bool aimAtPlayer = false;
};

// A gun whose class is a GunRow. Its fields are what the variants read and write.
class TableGun : public GunPart {
  public:
    TableGun(Object3D* parent, NodeSpawnInfo& info, const GunRow& row);
    TableGun(TaskObject* parent, GameWorldScreen* world, const GunRow& row);

    void FireBullet(const Vec3& position, float angle, float speed) override;
    float AngleToPlayer() override;
    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override { return shots; }
    int32_t FramesBetweenShots() override { return gap; }
    int32_t PauseBetweenVolleys() override { return pause; }
    int32_t VolleyCount() override { return volleys; }
    void OnVolleyStart() override;
    void OnShotFired() override;
    void OnActiveStep() override;
    int32_t InitialDelay() override { return delay; }
    bool SuppressWhenLow() override { return (row.suppress & GunRow::kLow) != 0; }
    bool SuppressWhenNear() override { return (row.suppress & GunRow::kNear) != 0; }

    // The shot number within the volley, from 0.
    int32_t ShotIndex() const { return shots - 1 - shotsLeft; }
    // The world's ship for aiming (mask 3; may draw the world's generator), or null.
    bool PlayerPosition(Vec3& out);
    bool NearestPlayerPosition(Vec3& out);

    const GunRow& row;
    int32_t shots;
    int32_t gap;
    int32_t pause;
    int32_t volleys;
    int32_t delay;
    int32_t counter = 0;
    int32_t index = 0;
    // A second angle or speed, a spin, a shot count kept as a float.
    float second = 0.0f;
    float spin = 0.0f;
    Vec3 vector{0.0f, 0.0f, 0.0f};
    Random random;
};

// Small helpers of the patterns.
inline Vec3 AngleVelocity(float angle, float speed) {
    return {std::cos(angle) * speed, 0.0f, std::sin(angle) * speed};
}
constexpr float kDegree = 0.017453292f;
constexpr float kPi = 3.1415927f;

namespace gun {

// Volley-start hooks.
void AimSpeed(TableGun& gun);            // aim; speed = row.speed unless 0
void ProjectedAimSpeed(TableGun& gun);   // projected aim; speed = row.speed unless 0
void AimRandomSpeed(TableGun& gun);      // aim; speed uniform [row.a, row.b) (own generator)
void AimDifficultySpeed(TableGun& gun);  // aim; speed = (difficulty scale + row.a) x row.b
void DifficultySpeed(TableGun& gun);     // speed = (difficulty scale + row.a) x row.b
void AimNearestSpeed(TableGun& gun);     // aim at the nearest ship; speed = row.speed unless 0
void SpeedOnly(TableGun& gun);           // speed = row.speed
void SpeedThenAimFromParent(TableGun& gun);
void TorisanBeamStart(TableGun& gun);  // 0.11 and the aim into own fields; volleys + 1
void VectorToPlayer(TableGun& gun);    // unit vector to a ship x 0.18 (kept at distance 0)
void AimSpreadSpeed(TableGun& gun);    // aim, speed row.speed, spread offset [-10, 10) degrees
void ForwardAngle(TableGun& gun);      // angle of the forward; the float count = 0
void ForwardVector(TableGun& gun);     // the forward into the vector
void ProjectedAimFromAbove(TableGun& gun);

// Per-step hooks.
void Aim(TableGun& gun);
void AimFromParent(TableGun& gun);
void TurnParentToPlayer(TableGun& gun);
void OnionSide(TableGun& gun);          // -135 or -45 degrees by the parent's side
void SpeedUpAimNearest(TableGun& gun);  // speed + 0.0008, aim at the nearest ship
void SpeedUpWhileSlow(TableGun& gun);   // speed + 0.01 while below 0.1
void CountModulo5(TableGun& gun);

// Shot patterns.
void Single(TableGun& gun, const Vec3& p, float angle, float speed);  // row.kind, row.size
void RandomSpray(TableGun& gun, const Vec3& p, float angle, float speed);
void SingleForward(TableGun& gun, const Vec3& p, float angle, float speed);  // row.kind
void TripleForward(TableGun& gun, const Vec3& p, float angle, float speed);
void Backward(TableGun& gun, const Vec3& p, float angle, float speed);  // sprite 11
void JitteredBackward(TableGun& gun, const Vec3& p, float angle, float speed);
void Stream(TableGun& gun, const Vec3& p, float angle, float speed);
void FivePiece(TableGun& gun, const Vec3& p, float angle, float speed);
void CountedBurst(TableGun& gun, const Vec3& p, float angle, float speed);    // bit 3
void CountedBurst16(TableGun& gun, const Vec3& p, float angle, float speed);  // bit 4
void SideSpread(TableGun& gun, const Vec3& p, float angle, float speed);      // row.a = side x
void ThreeWayQuaternion(TableGun& gun, const Vec3& p, float angle, float speed);
void WideThreeWay(TableGun& gun, const Vec3& p, float angle, float speed);
void ForwardOwnSpeed(TableGun& gun, const Vec3& p, float angle, float speed);   // row.kind
void LooseForward(TableGun& gun, const Vec3& p, float angle, float speed);      // row.kind
void ThreeWayAtPlayer(TableGun& gun, const Vec3& p, float angle, float speed);  // row.kind
void LobOrSpray(TableGun& gun, const Vec3& p, float angle, float speed);
void FanAndAimed(TableGun& gun, const Vec3& p, float angle, float speed);
void TurnedNothing(TableGun& gun, const Vec3& p, float angle, float speed);

}  // namespace gun

}  // namespace mareldon
