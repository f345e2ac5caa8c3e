#include "game/stage/ShooterObject.h"

#include <cmath>

#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr float kDegreesPerRadian = 57.295776f;
constexpr float kRadiansPerDegree = 0.017453294f;

// One turn at most, the way the aiming code has always wrapped: 359.5 stays.
float WrapOneTurn(float degrees) {
    if (degrees > 359.0f)
        degrees -= 360.0f;
    if (degrees < 0.0f)
        degrees += 360.0f;
    return degrees;
}

}  // namespace

ShooterObject::ShooterObject(TaskObject* parent, GameWorldScreen* ownerScreen)
    : Object3D(parent, 0), ownerScreen(ownerScreen) {
    if (Object3D* node = parent != nullptr ? parent->AsObject3D() : nullptr)
        SetPosition(node->GetPivot());
}

ShooterObject::~ShooterObject() = default;

void ShooterObject::SetFiring(bool on) {
    firing = on;
    if (!on) {
        OnStop();
        burstInterval = shotInterval = burstShots = burstCount = 0;
        burstWait = shotWait = shotsLeft = burstsLeft = 0;
        return;
    }
    if (burstsLeft > 0)
        return;
    Configure();
    burstsLeft = burstCount;
}

void ShooterObject::UpdateFireTimer() {
    if (!firing || burstsLeft <= 0)
        return;
    if (--burstWait > 0)
        return;
    burstWait = 0;
    if (--shotWait > 0)
        return;
    shotWait = shotInterval;
    if (--shotsLeft < 0)
        shotsLeft = burstShots;
    if (shotsLeft == burstShots)
        OnBurstStart();
    FireShot();
    if (shotsLeft <= 0) {
        OnBurstEnd();
        --burstsLeft;
        burstWait = burstInterval;
    }
}

ShotPatternBase::ShotPatternBase(TaskObject* parent, GameWorldScreen* ownerScreen)
    : ShooterObject(parent, ownerScreen), random(std::make_unique<Random>(kSeed)) {}

ShotPatternBase::~ShotPatternBase() = default;

namespace {

// Where the shots aim: the nearest ship, or the point itself (bearing 0) without a screen.
Vec3 NearestShipPosition(GameWorldScreen* screen, const Vec3& point) {
    PlayerShip* ship = screen != nullptr ? screen->GetNearestPlayer(point) : nullptr;
    return ship != nullptr ? ship->GetWorldPosition() : point;
}

}  // namespace

float ShotPatternBase::AngleToNearestPlayer(float x, float y, float z) {
    const Vec3 point{x, y, z};
    return BearingBetween(point, NearestShipPosition(OwnerScreen(), point));
}

float ShotPatternBase::AngleFromNearestPlayer(float x, float y, float z) {
    const Vec3 point{x, y, z};
    return BearingBetween(NearestShipPosition(OwnerScreen(), point), point);
}

float BearingBetween(const Vec3& from, const Vec3& to) {
    const Vec3 d{to.x - from.x, to.y - from.y, to.z - from.z};
    // A zero length would give NaN, and NaN bearings would reach bullet velocities.
    if (Vec3Length(d) == 0.0f)
        return 0.0f;
    const Vec3 unit = Vec3Normalize(d);
    return WrapOneTurn(std::atan2(unit.x, unit.z) * kDegreesPerRadian);
}

Vec3& AngleToDirection(Vec3& out, float angleDegrees, float length) {
    const float a = angleDegrees * kRadiansPerDegree;
    out = Vec3{std::cos(a) * length, 0.0f, std::sin(a) * length};
    return out;
}

float ConvertAngleConvention(float angleDegrees) {
    const float b = WrapOneTurn(angleDegrees);
    return WrapOneTurn(360.0f - b + 90.0f);
}

}  // namespace mareldon
