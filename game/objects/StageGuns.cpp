#include "game/objects/StageGuns.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "game/objects/Enemy.h"
#include "game/objects/GunVariants.h"
#include "game/objects/MidBoss03Guns.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

namespace {

using Kind = StageNodeRegistry::Kind;
using Row = GunRow;
constexpr uint8_t kL = GunRow::kLow;
constexpr uint8_t kLN = GunRow::kLow | GunRow::kNear;

// Shot patterns and hooks of single gun classes.

void OnionTriple(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 15, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.08726647f, s), 15, 1.0f);
    g.Shoot(p, AngleVelocity(a - 0.08726647f, s), 15, 1.0f);
}

void OnionParity(TableGun& g, const Vec3& p, float a, float s) {
    if ((g.counter & 1) != 0)
        g.Shoot(p, AngleVelocity(a, s), 22, 1.0f);
    else
        g.Shoot({p.x + 0.3f, p.y, p.z}, AngleVelocity(a, s), 16, 1.0f);
}

void EgSenyou(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 12, 1.0f);
    if ((g.counter & 8) == 0)
        g.Shoot(p, AngleVelocity(a, s * 2.0f), 12, 1.0f);
    g.counter += 1;
}

void PairAtFiveDegrees(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a - 0.08726647f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.08726647f, s), 10, 1.0f);
}

void Mg05Triple(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a - 0.05f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.05f, s), 10, 1.0f);
}

// row.turn: the turn per half shot.
void RotatingSpray(TableGun& g, const Vec3& p, float, float s) {
    for (int i = 0; i < 2; ++i) {
        g.counter += 1;
        g.storedAngle += g.row.turn;
        if ((g.counter & 12) == 8)
            g.Shoot(p, AngleVelocity(g.storedAngle, s), 10, 1.0f);
    }
}

void MidwingFan(TableGun& g, const Vec3& p, float a, float s) {
    for (int k = -4; k <= 4; ++k) {
        const Vec3 v = {std::cos(a + float(k) * 0.03f) * s, 0.0f, std::sin(a + float(k) * 0.04f) * s};
        g.Shoot(p, v, (k + 4) % 2 == 0 ? 1 : 0, 1.0f);
    }
}

void SpeedUp005(TableGun& g) {
    g.storedSpeed += 0.005f;
}

void TorisanBeam(TableGun& g, const Vec3& p, float a, float s) {
    if ((g.counter & 1) != 0) {
        // The cosine and sine offsets differ: that is the pattern's shape.
        g.Shoot(p, {std::cos(a - 0.56f) * s, 0.0f, std::sin(a - 0.36f) * s}, 10, 1.0f);
        g.Shoot(p, {std::cos(a) * s, 0.0f, std::sin(a) * s}, 10, 1.0f);
        g.Shoot(p, {std::cos(a + 0.56f) * s, 0.0f, std::sin(a + 0.36f) * s}, 10, 1.0f);
        return;
    }
    g.Shoot(p, AngleVelocity(a - 0.14f, s * 0.7f), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.14f, s * 0.7f), 10, 1.0f);
}

void TriplePair2Degrees(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a - 0.03490659f, s), g.row.kind, 1.0f);
    g.Shoot(p, AngleVelocity(a, s), g.row.kind, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.03490659f, s), g.row.kind, 1.0f);
}

void CountStep(TableGun& g) {
    g.counter += 1;
}

void KankyoVector(TableGun& g, const Vec3& p, float, float) {
    if ((g.counter & 96) == 0)
        g.Shoot(p, g.vector, 26, 1.0f);
}

void KankyoFive(TableGun& g, const Vec3& p, float a, float) {
    if ((g.counter & 96) == 0)
        return;
    static constexpr float kOffsets[5] = {-0.5235988f, 0.0f, 0.5235988f, -1.0471976f, 1.0471976f};
    for (float offset : kOffsets) {
        const float speed = 0.02f + g.random.Range(0.0f, 1.0f) * 0.06f;
        g.Shoot(p, AngleVelocity(a + offset, speed), 10, 1.0f);
    }
}

void HeavyCenter(TableGun& g, const Vec3& p, float a, float s) {
    static constexpr int32_t kCounts[10] = {6, 8, 10, 10, 8, 6, 4, 4, 4, 4};
    // The count is a float its volley start zeroes; read the table within bounds.
    const int32_t k = std::clamp(int32_t(std::clamp(g.second, 0.0f, 9.0f)), 0, 9);
    for (int32_t i = 0; i < kCounts[k]; ++i) {
        const float spread = (4.5f + 0.5f * float(i)) * kDegree;
        const float angle = a + g.random.Range(-spread, spread);
        const float speed = s + g.random.Range(0.0f, 0.05f);
        const float size = g.random.Range(0.8f, 1.2f);
        g.Shoot(p, AngleVelocity(angle, speed), 0, size);
    }
}

void HeavyCenterCount(TableGun& g) {
    g.second += 1.0f;
}

void HeavyCenterStep(TableGun& g) {
    g.storedSpeed = std::min(g.storedSpeed + 0.001f, 0.16f);
}

void HeavySide(TableGun& g, const Vec3& p, float, float s) {
    const Vec3 v = {g.vector.x * s, g.vector.y * s, g.vector.z * s};
    g.Shoot(p, v, 24, 1.0f);
    g.Shoot({p.x - 0.15f, p.y, p.z}, v, 24, 1.0f);
    g.Shoot({p.x + 0.15f, p.y, p.z}, v, 24, 1.0f);
}

void HeavySideStep(TableGun& g) {
    g.storedSpeed = std::min(g.storedSpeed + 0.001f, 0.15f);
    g.storedAngle += g.random.Range(-60.0f * kDegree, 60.0f * kDegree);
}

void EyeRing(TableGun& g, const Vec3& p, float a, float s) {
    const int32_t shot = g.counter;
    const int32_t kind = (shot == 0 || shot == 3 || shot == 5) ? 0 : 22;
    for (int j = 0; j < 6; ++j)
        g.Shoot(p, AngleVelocity(a + float(j) * 60.0f * kDegree, s), kind, 1.0f);
}

void EyeStart(TableGun& g) {
    g.storedSpeed = 0.15f;
    g.counter = 0;
}

// row.a: +1 or -1, the ring's turning sense.
void EyeStep(TableGun& g) {
    g.storedSpeed += 0.0008f;
    const bool firstStage = g.world != nullptr && g.world->GetPlayingStage() == 1;
    g.storedAngle += g.row.a * (firstStage ? 0.005235988f : 0.008726647f);
}

void HoverFront(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a - 0.5235988f, s), 11, 1.0f);
    g.Shoot(p, AngleVelocity(a, s), 30, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.5235988f, s), 11, 1.0f);
}

void SpeedUp014(TableGun& g) {
    g.storedSpeed += 0.14f;
}

void HikousenStartRight(TableGun& g) {
    g.storedAngle = -3.1415927f;
}

void HikousenStartLeft(TableGun& g) {
    g.storedAngle = 0.0f;
}

void HikousenStep(TableGun& g) {
    g.storedAngle = std::min(g.storedAngle + 0.03490659f, 1.5707964f);
}

void RandomDirection(TableGun& g, const Vec3& p, float, float s) {
    const float angle = g.random.Range(0.0f, 2.0f * kPi);
    g.Shoot(p, AngleVelocity(angle, s), g.row.kind, 1.0f);
}

void KuucyuuTriple(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a - 0.08f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.08f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a, s), 11, 1.0f);
}

// row.a: the speed added each step.
void SpeedUpStep(TableGun& g) {
    g.storedSpeed += g.row.a;
}

void TutuTriple(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 30, 1.0f);
    g.Shoot(p, AngleVelocity(a - 0.1f, s * 1.3f), 30, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.1f, s * 1.5f), 30, 1.0f);
}

void TutuPause(TableGun& g) {
    const int32_t level = g.world != nullptr ? g.world->GetDifficultyLevel() : 0;
    g.pause = (level == 4 || level == 5) ? 25 : (level == 6 || level == 7) ? 10 : 50;
}

// row.a: the spin per shot (0: none).
void InnerPair(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a + g.spin - 0.122173056f, s), g.row.kind, 1.0f);
    g.Shoot(p, AngleVelocity(a + g.spin + 0.122173056f, s), g.row.kind, 1.0f);
    const float scale = g.world != nullptr ? g.world->GetDifficultyScale() : 0.0f;
    g.storedSpeed = (scale + 0.25f) * 0.14f;
    g.spin += g.row.a;
}

void InnerSetup(TableGun& g) {
    g.storedSpeed = 0.08f;
}

void IslandFour(TableGun& g, const Vec3& p, float a, float s) {
    for (float offset : {-0.2f, -0.1f, 0.1f, 0.2f})
        g.Shoot(p, AngleVelocity(a + offset, s), 10, 1.0f);
}

void LensNormal(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a + float(g.counter) * 0.08726647f, s), 10, 1.0f);
    const float angle = g.random.Range(-45.0f * kDegree, 45.0f * kDegree);
    g.Shoot(p, AngleVelocity(angle, s), 11, 1.0f);
}

void Ukishima(TableGun& g, const Vec3& p, float a, float s) {
    const float r = g.random.Range(0.0f, 1.0f);
    const int32_t n = int32_t((r + 1.0f) * 5.0f);
    for (int32_t i = 0; i < n; ++i) {
        const float offset = g.random.Range(0.0f, 1.0f) * 1.0471976f;
        g.Shoot(p, AngleVelocity(a - 0.5235988f + offset, s), 6, 1.0f);
    }
}

void UkishimaSpeed(TableGun& g) {
    g.storedSpeed = 0.08f + g.random.Range(0.0f, 1.0f) * 0.02f;
}

void FuyuuCenter(TableGun& g, const Vec3& p, float a, float s) {
    if (g.world != nullptr && g.world->GetDifficultyLevel() >= 3)
        g.Shoot(p, AngleVelocity(a, s), 11, 1.0f);
}

void TurnAfterShot(TableGun& g) {
    g.storedAngle += g.row.turn;
}

void NamazuStart(TableGun& g) {
    g.storedSpeed = 0.1f;
    g.storedAngle = 0.0f;
}

void NamazuSweep(TableGun& g) {
    g.counter = g.counter + 2 > 15 ? 0 : g.counter + 2;
}

void OinuShot(TableGun& g, const Vec3& p, float a, float s) {
    if (g.counter < 64) {
        const float angle = g.random.Range(0.0f, 2.0f * kPi);
        g.Shoot(p, AngleVelocity(angle, s), 10, 1.0f);
    } else {
        const float angle = g.random.Range(0.0f, 2.0f * kPi);
        g.Shoot(p, AngleVelocity(angle, 0.06f), 1, 1.0f);
        g.Shoot(p, AngleVelocity(angle + kPi, 0.06f), 1, 1.0f);
        const float fast = s + g.random.Range(0.0f, 1.0f) * 0.05f;
        g.Shoot(p, AngleVelocity(a, fast), 0, 1.0f);
    }
    g.counter += 1;
}

void OinuTurn(TableGun& g) {
    g.storedAngle += 0.012f;
}

void Nozule(TableGun& g, const Vec3& p, float a, float s) {
    const float centre = a + std::sin(g.spin) * 0.3f;
    for (int fan = 0; fan < 2; ++fan) {
        const float width = fan == 0 ? 1.0471976f : 1.7453293f;
        const int32_t kind = fan == 0 ? 26 : 24;
        for (int i = 0; i < 10; ++i) {
            const float angle = centre - width * 0.5f + width * float(i) / 9.0f;
            g.Shoot(p, AngleVelocity(angle, s), kind, 1.0f);
        }
    }
}

void NozuleStart(TableGun& g) {
    g.storedSpeed = 0.15f;
    g.storedAngle = 4.712389f;
    g.spin = 0.0f;
}

void SpinAfterShot(TableGun& g) {
    g.spin += 0.03490659f;
}

void OnionStep(TableGun& g) {
    gun::OnionSide(g);
}

void CountShotModulo5(TableGun& g) {
    gun::CountModulo5(g);
}

// The classes. Where no hook sets the stored angle the gun re-aims from its parent
// every step.

constexpr Row kBattery{.shots = 1,
                       .gap = 50,
                       .pause = 50,
                       .start = gun::SpeedOnly,
                       .step = gun::TurnParentToPlayer,
                       .kind = 13,
                       .speed = 0.16f};
constexpr Row kOnionCenter{
    .shots = 10, .gap = 2, .pause = 10, .fire = gun::RandomSpray, .step = gun::CountModulo5};
constexpr Row kOnion1{.shots = 10,
                      .gap = 4,
                      .pause = 30,
                      .fire = OnionTriple,
                      .start = gun::SpeedOnly,
                      .step = OnionStep,
                      .afterShot = CountShotModulo5,
                      .speed = 0.48f};
constexpr Row kOnion2{.shots = 5,
                      .gap = 20,
                      .pause = 20,
                      .fire = OnionParity,
                      .start = gun::SpeedOnly,
                      .step = gun::Aim,
                      .speed = 0.16f};
constexpr Row kEgSenyou{.shots = 20,
                        .gap = 1,
                        .pause = 40,
                        .fire = EgSenyou,
                        .start = gun::SpeedOnly,
                        .step = gun::AimFromParent,
                        .speed = 0.08f};
constexpr Row kMg01Stage1{.shots = 1,
                          .gap = 60,
                          .pause = 60,
                          .suppress = kLN,
                          .fire = gun::SingleForward,
                          .start = gun::SpeedOnly,
                          .kind = 10,
                          .speed = 0.08f};
constexpr Row kMg01{.shots = 1,
                    .gap = 30,
                    .pause = 30,
                    .suppress = kLN,
                    .fire = gun::TripleForward,
                    .start = gun::SpeedOnly,
                    .speed = 0.08f};
constexpr Row kMg01B{.shots = 10,
                     .gap = 1,
                     .pause = 30,
                     .suppress = kLN,
                     .fire = PairAtFiveDegrees,
                     .start = gun::SpeedOnly,
                     .step = gun::AimFromParent,
                     .speed = 0.08f};
constexpr Row kHenkeiStage1{.shots = 5,
                            .gap = 3,
                            .pause = 50,
                            .suppress = kL,
                            .fire = gun::SingleForward,
                            .start = gun::SpeedOnly,
                            .kind = 24,
                            .speed = 0.13f};
constexpr Row kHenkei{.shots = 20,
                      .gap = 3,
                      .pause = 50,
                      .suppress = kL,
                      .fire = gun::SingleForward,
                      .start = gun::SpeedOnly,
                      .kind = 24,
                      .speed = 0.13f};
constexpr Row kForwardTurret{.shots = 1,
                             .gap = 50,
                             .pause = 50,
                             .suppress = kLN,
                             .fire = gun::SingleForward,
                             .start = gun::SpeedOnly,
                             .kind = 10,
                             .speed = 0.08f};
constexpr Row kLargeBattery{.shots = 2,
                            .gap = 5,
                            .pause = 100,
                            .suppress = kLN,
                            .fire = gun::Backward,
                            .start = gun::SpeedThenAimFromParent};
constexpr Row kMg05{.shots = 1,
                    .gap = 2,
                    .pause = 80,
                    .suppress = kLN,
                    .fire = Mg05Triple,
                    .start = gun::AimDifficultySpeed,
                    .a = 0.01f,
                    .b = 0.15f};
constexpr Row kMidwingL2{.shots = 1000, .gap = 0, .pause = 60, .fire = RotatingSpray, .turn = 0.03490659f};
constexpr Row kMidwingR2{.shots = 1000, .gap = 0, .pause = 60, .fire = RotatingSpray, .turn = -0.03490659f};
constexpr Row kMidwingL3{.shots = 6, .gap = 2, .pause = 60, .delay = 160, .start = gun::AimSpeed, .kind = 30};
constexpr Row kMidwingR3{.shots = 6, .gap = 2, .pause = 60, .delay = 192, .start = gun::AimSpeed, .kind = 30};
constexpr Row kMidwing{.shots = 16,
                       .gap = 1,
                       .pause = 60,
                       .fire = MidwingFan,
                       .start = gun::AimSpeed,
                       .afterShot = SpeedUp005,
                       .speed = 0.064f};
constexpr Row kMidwingRear{
    .shots = 20, .gap = 1, .pause = 200, .fire = gun::JitteredBackward, .step = gun::CountModulo5};
constexpr Row kTorisan{.shots = 5,
                       .gap = 1,
                       .pause = 11,
                       .delay = 20,
                       .fire = gun::FivePiece,
                       .start = gun::AimSpeed,
                       .speed = 0.09f};
constexpr Row kTorisanBeam1{.shots = 7,
                            .gap = 1,
                            .pause = 3,
                            .volleys = 5,
                            .delay = 20,
                            .fire = TorisanBeam,
                            .start = gun::TorisanBeamStart};
constexpr Row kTorisanBeam2{.shots = 1,
                            .gap = 1,
                            .pause = 20,
                            .delay = 5,
                            .suppress = kLN,
                            .fire = TriplePair2Degrees,
                            .start = gun::AimDifficultySpeed,
                            .kind = 11,
                            .a = 0.05f,
                            .b = 0.16f};
constexpr Row kToriLaser{.shots = 10,
                         .gap = 1,
                         .pause = 10,
                         .delay = 20,
                         .fire = gun::SingleForward,
                         .start = gun::AimSpeed,
                         .kind = 26,
                         .speed = 0.11f};
constexpr Row kKankyo1{.shots = 5,
                       .gap = 2,
                       .pause = 16,
                       .delay = 20,
                       .fire = KankyoVector,
                       .start = gun::VectorToPlayer,
                       .step = CountStep};
constexpr Row kKankyo2{.shots = 1,
                       .gap = 5,
                       .pause = 10,
                       .delay = 40,
                       .fire = KankyoFive,
                       .start = gun::AimSpeed,
                       .step = CountStep};
constexpr Row kHeavyCenter{.shots = 10,
                           .gap = 1,
                           .pause = 100,
                           .fire = HeavyCenter,
                           .start = gun::ForwardAngle,
                           .step = HeavyCenterStep,
                           .afterShot = HeavyCenterCount};
constexpr Row kHeavySide{
    .shots = 5, .gap = 2, .pause = 50, .fire = HeavySide, .start = gun::ForwardVector, .step = HeavySideStep};
constexpr Row kHeavyCircle{.shots = 3, .gap = 5, .pause = 30, .aimAtPlayer = true};
constexpr Row kEyeTurning{.shots = 6,
                          .gap = 3,
                          .pause = 5,
                          .delay = 30,
                          .suppress = kL,
                          .fire = EyeRing,
                          .start = EyeStart,
                          .step = EyeStep,
                          .afterShot = CountStep,
                          .a = 1.0f};
constexpr Row kEyeCounter{.shots = 6,
                          .gap = 3,
                          .pause = 5,
                          .delay = 30,
                          .suppress = kL,
                          .fire = EyeRing,
                          .start = EyeStart,
                          .step = EyeStep,
                          .afterShot = CountStep,
                          .a = -1.0f};
constexpr Row kHover{
    .shots = 6, .gap = 2, .pause = 60, .volleys = 3, .delay = 160, .fire = gun::ThreeWayQuaternion};
constexpr Row kHoverFront{
    .shots = 6, .gap = 2, .pause = 60, .delay = 160, .fire = HoverFront, .start = gun::AimNearestSpeed};
constexpr Row kHover2{.shots = 20, .gap = 0, .pause = 60, .delay = 5, .fire = gun::TurnedNothing};
constexpr Row kHoverFront2{
    .shots = 100, .gap = 0, .pause = 0, .delay = 20, .fire = gun::TurnedNothing, .afterShot = SpeedUp014};
constexpr Row kHover3{.shots = 20,
                      .gap = 3,
                      .pause = 40,
                      .delay = 30,
                      .suppress = kL,
                      .fire = gun::WideThreeWay,
                      .start = gun::SpeedOnly,
                      .step = gun::SpeedUpAimNearest,
                      .speed = 0.15f};
constexpr Row kHoverFront3{.shots = 30,
                           .gap = 3,
                           .pause = 20,
                           .delay = 30,
                           .suppress = kL,
                           .fire = gun::ForwardOwnSpeed,
                           .start = gun::SpeedOnly,
                           .kind = 16,
                           .speed = 0.15f};
constexpr Row kHikousenCenter{
    .shots = 10, .gap = 2, .pause = 50, .fire = gun::SingleForward, .step = gun::CountModulo5, .kind = 22};
constexpr Row kHikousenR{
    .shots = 15, .gap = 1, .pause = 50, .start = HikousenStartRight, .step = HikousenStep, .kind = 22};
constexpr Row kHikousenL{
    .shots = 15, .gap = 1, .pause = 50, .start = HikousenStartLeft, .step = HikousenStep, .kind = 22};
constexpr Row kCover1{
    .shots = 2, .gap = 4, .pause = 40, .suppress = kL, .start = gun::AimSpeed, .kind = 10, .speed = 0.04f};
constexpr Row kCover2{.shots = 10,
                      .gap = 4,
                      .pause = 40,
                      .suppress = kL,
                      .fire = RandomDirection,
                      .start = gun::AimSpeed,
                      .kind = 11,
                      .speed = 0.01f};
constexpr Row kKuucyuu1{.shots = 3,
                        .gap = 70,
                        .pause = 70,
                        .fire = KuucyuuTriple,
                        .start = gun::AimSpeed,
                        .step = SpeedUpStep,
                        .speed = 0.024f,
                        .a = 0.0002f};
constexpr Row kKuucyuu2{.shots = 12,
                        .gap = 4,
                        .pause = 60,
                        .start = gun::AimSpeed,
                        .step = SpeedUpStep,
                        .kind = 13,
                        .speed = 0.096f,
                        .a = 0.0008f};
constexpr Row kTutu{.shots = 2,
                    .gap = 5,
                    .pause = 50,
                    .fire = TutuTriple,
                    .start = gun::SpeedOnly,
                    .step = gun::Aim,
                    .setup = TutuPause,
                    .speed = 0.08f};
constexpr Row kMacC{.shots = 30, .gap = 0, .pause = 50, .fire = gun::LooseForward, .kind = 22};
constexpr Row kMacOuter{.shots = 5, .gap = 12, .pause = 20, .fire = gun::ThreeWayAtPlayer, .kind = 0};
constexpr Row kMacInner{.shots = 15,
                        .gap = 1,
                        .pause = 50,
                        .delay = 80,
                        .fire = InnerPair,
                        .start = gun::AimSpeed,
                        .setup = InnerSetup,
                        .kind = 22,
                        .a = 0.017453294f};
constexpr Row kIsland{.shots = 5,
                      .gap = 3,
                      .pause = 70,
                      .suppress = kL,
                      .fire = IslandFour,
                      .start = gun::SpeedOnly,
                      .step = gun::Aim,
                      .speed = 0.08f};
constexpr Row kLens{.shots = 20,
                    .gap = 1,
                    .pause = 70,
                    .suppress = kL,
                    .fire = LensNormal,
                    .start = gun::SpeedOnly,
                    .step = gun::Aim,
                    .afterShot = CountStep,
                    .speed = 0.08f};
constexpr Row kUkishima{.shots = 30,
                        .gap = 2,
                        .pause = 50,
                        .suppress = kL,
                        .fire = Ukishima,
                        .step = gun::AimFromParent,
                        .afterShot = UkishimaSpeed};
constexpr Row kFuyuu{.shots = 16,
                     .gap = 0,
                     .pause = 30,
                     .delay = 50,
                     .suppress = kLN,
                     .fire = gun::LobOrSpray,
                     .start = gun::ProjectedAimSpeed};
constexpr Row kFuyuuCenter{.shots = 1,
                           .gap = 0,
                           .pause = 10,
                           .delay = 200,
                           .suppress = kLN,
                           .fire = FuyuuCenter,
                           .start = gun::AimSpeed,
                           .speed = 0.14f};
constexpr Row kNamazu1{.shots = 20,
                       .gap = 0,
                       .pause = 60,
                       .delay = 100,
                       .suppress = kL,
                       .afterShot = TurnAfterShot,
                       .kind = 10,
                       .turn = -0.64577186f};
constexpr Row kNamazu2{.shots = 20,
                       .gap = 0,
                       .pause = 60,
                       .delay = 100,
                       .suppress = kL,
                       .afterShot = TurnAfterShot,
                       .kind = 10,
                       .turn = 0.64577186f};
constexpr Row kNamazu3{.shots = 30,
                       .gap = 2,
                       .pause = 50,
                       .suppress = kL,
                       .fire = gun::FanAndAimed,
                       .start = NamazuStart,
                       .step = NamazuSweep};
constexpr Row kOinu{.shots = 1,
                    .gap = 1,
                    .pause = 20,
                    .fire = OinuShot,
                    .start = gun::AimSpeed,
                    .afterShot = OinuTurn,
                    .speed = 0.05f};
constexpr Row kNozule{.shots = 30,
                      .gap = 3,
                      .pause = 20,
                      .delay = 30,
                      .suppress = kL,
                      .fire = Nozule,
                      .start = NozuleStart,
                      .afterShot = SpinAfterShot};
constexpr Row kNekoC{.shots = 40, .gap = 0, .pause = 50, .fire = gun::LooseForward, .kind = 16};
constexpr Row kNekoOuter{.shots = 5, .gap = 10, .pause = 20, .fire = gun::ThreeWayAtPlayer, .kind = 10};
constexpr Row kNekoInner{.shots = 20,
                         .gap = 1,
                         .pause = 50,
                         .delay = 80,
                         .fire = InnerPair,
                         .start = gun::AimSpeed,
                         .setup = InnerSetup,
                         .kind = 26};

bool WarnIfLoose(Object3D* parent, const NodeSpawnInfo& info) {
    if (dynamic_cast<Enemy*>(parent) != nullptr)
        return false;
    LOG_WARN("stage", "gun node \"%s\" is not under an enemy: it never fires", info.name.Text());
    return true;
}

int32_t PlayingStage(const NodeSpawnInfo& info) {
    return info.owner != nullptr ? info.owner->GetPlayingStage() : 0;
}

// One class, or two or three built under the same parent: the last is the node's.
template <const Row&... Rows>
Object3D* BuildRows(Object3D* parent, NodeSpawnInfo& info) {
    WarnIfLoose(parent, info);
    Object3D* built = nullptr;
    ((built = new TableGun(parent, info, Rows)), ...);
    return built;
}

template <const Row& Stage1, const Row& Other>
Object3D* BuildByFirstStage(Object3D* parent, NodeSpawnInfo& info) {
    const int32_t stage = PlayingStage(info);
    WarnIfLoose(parent, info);
    return new TableGun(parent, info, stage == 1 ? Stage1 : Other);
}

template <const Row& R>
Object3D* BuildOnSecondStage(Object3D* parent, NodeSpawnInfo& info) {
    if (PlayingStage(info) != 2)
        return nullptr;
    return BuildRows<R>(parent, info);
}

Object3D* BuildMidwing(Object3D* parent, NodeSpawnInfo& info) {
    if (PlayingStage(info) == 4)
        return nullptr;
    return BuildRows<kMidwing>(parent, info);
}

// row.index: 1 to 4 for "R0" to "R3", 5 to 8 for "L0" to "L3"; it is the shots per volley.
template <int32_t Index>
Object3D* BuildOinu(Object3D* parent, NodeSpawnInfo& info) {
    WarnIfLoose(parent, info);
    auto* gun = new TableGun(parent, info, kOinu);
    gun->index = Index;
    gun->shots = Index;
    return gun;
}

Object3D* BuildMidBossSide(Object3D* parent, NodeSpawnInfo& info) {
    WarnIfLoose(parent, info);
    return new MidBoss03SideGun(parent, info);
}

Object3D* BuildMidBossCenter(Object3D* parent, NodeSpawnInfo& info) {
    WarnIfLoose(parent, info);
    new MidBoss03CenterGunC(parent, info);
    new MidBoss03CenterGunA(parent, info);
    return new MidBoss03CenterGunB(parent, info);
}

struct Entry {
    const char* name;
    StageNodeRegistry::Builder builder;
};

const Entry kGuns[] = {
    {"BS_t_battery", BuildRows<kBattery>},
    {"BS_ONION_CENTER", BuildRows<kOnionCenter>},
    {"BS_ONION1", BuildRows<kOnion1>},
    {"BS_ONION_1", BuildRows<kOnion1>},
    {"BS_ONION2", BuildRows<kOnion2>},
    {"BS_ONION_2", BuildRows<kOnion2>},
    {"BS_EG_SENYOU", BuildRows<kEgSenyou>},
    {"BS_MG01TANK_L", BuildByFirstStage<kMg01Stage1, kMg01>},
    {"BS_MG01TANK_R", BuildByFirstStage<kMg01Stage1, kMg01>},
    {"BS_MG01TANKB", BuildRows<kMg01B>},
    {"BS_HENKEIHOU_DOWN_L", BuildByFirstStage<kHenkeiStage1, kHenkei>},
    {"BS_HENKEIHOU_DOWN_R", BuildByFirstStage<kHenkeiStage1, kHenkei>},
    {"BS_YOKONAGA", BuildRows<kForwardTurret>},
    {"BS_BIGTANK_R", BuildRows<kForwardTurret>},
    {"BS_BIGTANK_L", BuildRows<kForwardTurret>},
    {"BS_TANK_KAITEN_CENTER", BuildRows<kForwardTurret>},
    {"BS_LARGEWING_L", BuildRows<kForwardTurret>},
    {"BS_LARGEWING_R", BuildRows<kForwardTurret>},
    {"BS_LARGEWING_CENTER", BuildRows<kForwardTurret>},
    {"BS_TULIP", BuildRows<kForwardTurret>},
    {"BS_LARGEBATTERY", BuildRows<kLargeBattery>},
    {"BS_MG05TANK_A", BuildRows<kMg05>},
    {"BS_MG05TANK_B_R", BuildRows<kMg05>},
    {"BS_MG05TANK_B_L", BuildRows<kMg05>},
    {"BS_MIDWING_L2", BuildRows<kMidwingL2>},
    {"BS_MIDWING_R2", BuildRows<kMidwingR2>},
    {"BS_MIDWING_L3", BuildOnSecondStage<kMidwingL3>},
    {"BS_MIDWING_R3", BuildOnSecondStage<kMidwingR3>},
    {"BS_MIDWING_R", BuildMidwing},
    {"BS_MIDWING_L", BuildMidwing},
    {"BS_MIDWING_REAR", BuildRows<kMidwingRear>},
    {"BS_TORISAN", BuildRows<kTorisan>},
    {"BS_TORISANBEAM", BuildRows<kTorisanBeam1, kTorisanBeam2>},
    {"BS_TORILASER", BuildRows<kToriLaser>},
    {"BS_KANKYO_LU", BuildRows<kKankyo1, kKankyo2>},
    {"BS_KANKYO_LD", BuildRows<kKankyo1, kKankyo2>},
    {"BS_KANKYO_RU", BuildRows<kKankyo1, kKankyo2>},
    {"BS_KANKYO_RD", BuildRows<kKankyo1, kKankyo2>},
    {"BS_HEAVYTANK_CENTER", BuildRows<kHeavyCenter>},
    {"BS_HEAVYTANK_R", BuildRows<kHeavySide>},
    {"BS_HEAVYTANK_L", BuildRows<kHeavySide>},
    {"BS_HEAVYTANK_CIRCLE", BuildRows<kHeavyCircle>},
    {"BS_MAINBASE_EYE", BuildRows<kEyeTurning, kEyeCounter>},
    {"BS_HOVER_R", BuildRows<kHover>},
    {"BS_HOVER_L", BuildRows<kHover>},
    {"BS_HOVER_FRONT", BuildRows<kHoverFront>},
    {"BS_HOVER_R2", BuildRows<kHover2>},
    {"BS_HOVER_L2", BuildRows<kHover2>},
    {"BS_HOVER_FRONT2", BuildRows<kHoverFront2>},
    {"BS_HOVER_R3", BuildRows<kHover3>},
    {"BS_HOVER_L3", BuildRows<kHover3>},
    {"BS_HOVER_FRONT3", BuildRows<kHoverFront3>},
    {"BS_HIKOUSEN_CENTER", BuildRows<kHikousenCenter>},
    {"BS_HIKOUSEN_R", BuildRows<kHikousenR>},
    {"BS_HIKOUSEN_L", BuildRows<kHikousenL>},
    {"BS_COVER_R", BuildRows<kCover1, kCover2>},
    {"BS_COVER_L", BuildRows<kCover1, kCover2>},
    {"BS_KUUCYUUHOU", BuildRows<kKuucyuu1, kKuucyuu2>},
    {"BS_TUTU_R", BuildRows<kTutu>},
    {"BS_TUTU_L", BuildRows<kTutu>},
    {"BS_MAC_C", BuildRows<kMacC>},
    {"BS_MAC_RO", BuildRows<kMacOuter>},
    {"BS_MAC_LO", BuildRows<kMacOuter>},
    {"BS_MAC_RI", BuildRows<kMacInner>},
    {"BS_MAC_LI", BuildRows<kMacInner>},
    {"BS_ISLAND_C", BuildRows<kIsland>},
    {"BS_LENSHOUDAI_NORMAL", BuildRows<kLens>},
    {"BS_UKISHIMA_C", BuildRows<kUkishima>},
    {"BS_FUYUUHOU_0", BuildRows<kFuyuu>},
    {"BS_FUYUUHOU_1", BuildRows<kFuyuu>},
    {"BS_FUYUUHOU_2", BuildRows<kFuyuu>},
    {"BS_FUYUUHOU_3", BuildRows<kFuyuu>},
    {"BS_FUYUUHOU_CENTER", BuildRows<kFuyuuCenter>},
    {"BS_NAMAZU", BuildRows<kNamazu1, kNamazu2, kNamazu3>},
    {"BS_OINU_R0", BuildOinu<1>},
    {"BS_OINU_R1", BuildOinu<2>},
    {"BS_OINU_R2", BuildOinu<3>},
    {"BS_OINU_R3", BuildOinu<4>},
    {"BS_OINU_L0", BuildOinu<5>},
    {"BS_OINU_L1", BuildOinu<6>},
    {"BS_OINU_L2", BuildOinu<7>},
    {"BS_OINU_L3", BuildOinu<8>},
    {"BS_NOZULE", BuildRows<kNozule>},
    {"BS_NEKO_C", BuildRows<kNekoC>},
    {"BS_NEKO_RO", BuildRows<kNekoOuter>},
    {"BS_NEKO_LO", BuildRows<kNekoOuter>},
    {"BS_NEKO_RI", BuildRows<kNekoInner>},
    {"BS_NEKO_LI", BuildRows<kNekoInner>},
    {"BS_MIDBOSS03_R", BuildMidBossSide},
    {"BS_MIDBOSS03_L", BuildMidBossSide},
    {"BS_MIDBOSS03_CENTER", BuildMidBossCenter},
};

}  // namespace

const GunRow& UkishimaGunRow() {
    return kUkishima;
}

void RegisterStageGuns(StageNodeRegistry& registry) {
    for (const Entry& entry : kGuns)
        registry.Add(Kind::kFrame, entry.name, entry.builder);
}

}  // namespace mareldon
