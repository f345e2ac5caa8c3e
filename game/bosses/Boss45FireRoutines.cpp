#include "game/bosses/Boss45FireRoutines.h"

#include <cmath>

#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

const ColumnSpec kAimedColumn = {6.0f,
                                 {0.25f, 0.27f, 0.29f, 0.31f, 0.33f, 0.35f, 0.37f},
                                 {12, 41, 41, 41, 41, 41, 12},
                                 {1.6f, 1.2f, 0.8f, 0.4f, 0.8f, 1.2f, 1.6f}};

const ColumnSpec kAimedColumn2 = {4.0f,
                                  {0.2f, 0.22f, 0.24f, 0.26f, 0.28f, 0.3f, 0.32f},
                                  {12, 41, 41, 41, 41, 41, 12},
                                  {1.6f, 1.4f, 1.2f, 1.0f, 1.2f, 1.4f, 1.6f}};

const ColumnSpec kAimedColumn3 = {6.0f,
                                  {0.2f, 0.22f, 0.24f, 0.26f, 0.28f, 0.3f, 0.32f},
                                  {10, 39, 39, 39, 39, 39, 10},
                                  {1.6f, 1.3f, 1.0f, 0.7f, 1.0f, 1.3f, 1.6f}};

BossFirePattern::BossFirePattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                 const char* patternLabel, const BurstSettings& burstSettings, uint32_t seed)
    : BossPattern(parentTask, ownerScreen, patternLabel), settings(burstSettings), second(seed) {}

void BossFirePattern::Configure() {
    SetBurstInterval(settings.burstInterval);
    SetShotInterval(settings.shotInterval);
    SetBurstShots(settings.shotCount);
    SetBurstCount(settings.burstCount);
    OnConfigure();
}

void BossFirePattern::Fire(const Vec3& from, const Vec3& velocity, int32_t sprite, float size) {
    if (GameWorldScreen* world = OwnerScreen())
        world->FireEnemyBullet(from, velocity, sprite, size);
}

void BossFirePattern::FireAlong(const Vec3& from, float radians, float bulletSpeed, int32_t sprite,
                                float size) {
    Fire(from, Vec3{std::cos(radians) * bulletSpeed, 0.0f, std::sin(radians) * bulletSpeed}, sprite, size);
}

void BossFirePattern::FireAgainst(const Vec3& from, float radians, float bulletSpeed, int32_t sprite,
                                  float size) {
    Fire(from, Vec3{-std::cos(radians) * bulletSpeed, 0.0f, -std::sin(radians) * bulletSpeed}, sprite, size);
}

void BossFirePattern::FireRing(const Vec3& from, int32_t count, float first, float step, float bulletSpeed,
                               int32_t sprite, float size) {
    float a = first;
    for (int32_t i = 0; i < count; ++i) {
        FireAlong(from, a, bulletSpeed, sprite, size);
        a += step;
    }
}

void BossFirePattern::FireRosette(const Vec3& centre, int32_t count, float radius, const Vec3& velocity,
                                  int32_t sprite, float size) {
    if (count <= 0)
        return;
    const float stepDegrees = 360.0f / float(count);
    for (int32_t i = 0; i < count; ++i) {
        const float t = float(i) * stepDegrees * kBossRadiansPerDegree;
        const Vec3 at{centre.x + std::cos(t) * radius, centre.y, centre.z + std::sin(t) * radius};
        Fire(at, velocity, sprite, size);
    }
}

void BossFirePattern::FireRosettePair(const Vec3& centre, float radians, float bulletSpeed,
                                      const RosetteSpec& spec) {
    const Vec3 velocity{std::cos(radians) * bulletSpeed, 0.0f, std::sin(radians) * bulletSpeed};
    FireRosette(centre, spec.outerCount, spec.outerRadius, velocity, spec.sprite, spec.size);
    FireRosette(centre, spec.innerCount, spec.innerRadius, velocity, spec.sprite, spec.size);
}

void BossFirePattern::FireColumn(const Vec3& from, float radians, const ColumnSpec& spec) {
    for (int32_t i = 0; i < 7; ++i)
        FireAlong(from, radians, spec.speeds[i], spec.sprites[i], spec.sizes[i]);
}

float BossFirePattern::CameraAim() {
    GameWorldScreen* world = OwnerScreen();
    if (world == nullptr)
        return 0.0f;
    const Vec3 at = Muzzle();
    PlayerShip* ship = world->GetNearestPlayer(at);
    if (ship == nullptr)
        return 0.0f;
    return world->ProjectedAimAngle(at, ship->GetWorldPosition());
}

// ---------------------------------------------------------------------------------------

void PulsingRingPattern::FireShot() {
    const bool odd = (GetShotsLeft() & 1) != 0;
    const float ringSpeed = odd ? 0.055f : 0.035f;
    const float size = odd ? 1.5f : 1.0f;
    const Vec3 from = Muzzle();
    float a = AimAtPlayer();
    for (int32_t i = 0; i < 32; ++i) {
        FireAgainst(from, a, ringSpeed, 12, size);
        a += 0.1963495f;
    }
}

AimedColumnPattern::AimedColumnPattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                       const char* patternLabel, const BurstSettings& burstSettings,
                                       uint32_t seed, const ColumnSpec& columnSpec)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, burstSettings, seed), spec(columnSpec) {}

void AimedColumnPattern::FireShot() {
    const float aim = CameraAim();
    const float spread = Draw(-spec.spreadDegrees, spec.spreadDegrees);
    FireColumn(Muzzle(), aim + spread * kBossRadiansPerDegree, spec);
}

RandomSprayPattern::RandomSprayPattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                       const char* patternLabel, const BurstSettings& burstSettings,
                                       uint32_t seed, SprayKind sprayKind)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, burstSettings, seed), kind(sprayKind) {}

void RandomSprayPattern::FireShot() {
    static const int32_t kSprites[4] = {24, 26, 28, 30};
    const float a = Draw(0.0f, 6.2831855f);
    const float spraySpeed =
        kind == SprayKind::kFast28 ? Draw(0.15f, 0.2f) : (Draw(0.0f, 1.0f) + 1.0f) * 0.05f;
    const int32_t sprite = kind == SprayKind::kFourSprites ? kSprites[DrawRaw() % 4u] : 28;
    FireAgainst(Muzzle(), a, spraySpeed, sprite, 1.0f);
}

TurningRingPattern::TurningRingPattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                       const char* patternLabel, const BurstSettings& burstSettings,
                                       const TurningRingSpec& ringSpec)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, burstSettings), spec(ringSpec) {}

void TurningRingPattern::OnConfigure() {
    angle = 0.0f;
    speed = spec.startSpeed;
}

void TurningRingPattern::FireShot() {
    FireRing(Muzzle(), 32, angle, spec.step, speed, spec.sprite, spec.size);
    angle += spec.turn;
    speed += spec.speedStep;
}

}  // namespace mareldon
