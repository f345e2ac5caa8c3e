#include "game/bosses/Boss2Muzzles.h"

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "game/bosses/Boss2Body.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

using K = Boss2PatternKind;

constexpr float kRingStep = 0.049087387f;
constexpr float kRingSpeed = 0.04f;
constexpr float kUnitScale = 2.3283064e-10f;

// Shared rows. Runit1/Lunit1 differ only in pattern 5's turn, Runit2/Lunit2 in pattern 0's
// size, revolver1/5 in pattern 2's turn, revolver2/3 in pattern 1's angles.
constexpr Boss2PatternRow Scatter12(const char* name) {
    return {.name = name,
            .kind = K::kScatter,
            .burstInterval = 0,
            .shotInterval = 3,
            .shots = 13,
            .bursts = 1,
            .count = 12,
            .angle = 0.0f,
            .angleRange = 360.0f,
            .speed = 0.02f,
            .speedRange = 0.04f,
            .size = 0.8f,
            .sizeRange = 0.40000004f,
            .cellOdd = 41,
            .cellEven = 12};
}
constexpr Boss2PatternRow Ring(const char* name, int32_t shotInterval, int32_t shots, float turn) {
    return {.name = name,
            .kind = K::kRing,
            .burstInterval = 0,
            .shotInterval = shotInterval,
            .shots = shots,
            .bursts = 1,
            .speed = kRingSpeed,
            .size = 1.5f,
            .cellOdd = 39,
            .cellEven = 10,
            .turn = turn};
}
constexpr Boss2PatternRow Plume(const char* name, int32_t shotInterval, int32_t shots, int32_t count,
                                float speed, float speedRange) {
    return {.name = name,
            .kind = K::kScatter,
            .burstInterval = 0,
            .shotInterval = shotInterval,
            .shots = shots,
            .bursts = 1,
            .count = count,
            .angle = 168.0f,
            .angleRange = 24.0f,
            .speed = speed,
            .speedRange = speedRange,
            .size = 0.8f,
            .sizeRange = 0.99999994f,
            .cellOdd = 15,
            .cellEven = 15};
}
constexpr Boss2PatternRow AimedBurst(const char* name) {
    return {.name = name,
            .kind = K::kAimedBurst,
            .burstInterval = 30,
            .shotInterval = 0,
            .shots = 1,
            .bursts = 2,
            .count = 64,
            .speed = 0.08f,
            .size = 0.8f,
            .sizeRange = 0.19999999f,
            .cellOdd = 39,
            .cellEven = 1,
            .offsetCount = 2,
            .offsets = {0.5f, 0.6f}};
}
constexpr Boss2PatternRow FallingSpray(const char* name) {
    return {.name = name,
            .kind = K::kFallingSpray,
            .burstInterval = 0,
            .shotInterval = 4,
            .shots = 21,
            .bursts = 1,
            .count = 8,
            .angle = 180.0f,
            .speed = 0.04f,
            .speedRange = 0.09f,
            .size = 0.8f,
            .sizeRange = 0.40000004f,
            .cellOdd = 11,
            .cellEven = 0,
            .offsetCount = 2,
            .offsets = {0.0f, 0.4f}};
}
constexpr Boss2PatternRow QuadSpin(const char* name, float turn) {
    return {.name = name,
            .kind = K::kQuadSpin,
            .burstInterval = 0,
            .shotInterval = 3,
            .shots = 33,
            .bursts = 1,
            .speed = 0.04f,
            .size = 1.0f,
            .cellOdd = 26,
            .cellEven = 26,
            .turn = turn};
}
constexpr Boss2PatternRow Triple(const char* name, int32_t shotInterval, int32_t shots, float s1, float s2,
                                 float s3, int32_t cell, float size, float o1 = -1.0f, float o2 = 0.0f,
                                 float o3 = 1.0f) {
    return {.name = name,
            .kind = K::kAimedTriple,
            .burstInterval = 0,
            .shotInterval = shotInterval,
            .shots = shots,
            .bursts = 1,
            .size = size,
            .cellOdd = cell,
            .cellEven = cell,
            .offsetCount = 3,
            .offsets = {o1, o2, o3},
            .speeds = {s1, s2, s3}};
}
// θ = aim at every shot: θ (0.13), θ + 1 (0.15), θ - 1 (0.13).
constexpr Boss2PatternRow RevolverTriple(const char* name) {
    return Triple(name, 4, 5, 0.13f, 0.15f, 0.13f, 16, 1.0f, 0.0f, 1.0f, -1.0f);
}
constexpr Boss2PatternRow Star(const char* name, int32_t burstInterval, int32_t shots, int32_t bursts,
                               float speed, float speedStep, int32_t cell) {
    return {.name = name,
            .kind = K::kStar,
            .burstInterval = burstInterval,
            .shotInterval = 5,
            .shots = shots,
            .bursts = bursts,
            .speed = speed,
            .speedRange = speedStep,
            .size = 1.0f,
            .cellOdd = cell,
            .cellEven = cell,
            .turn = -3.0f};
}
constexpr Boss2PatternRow Sweep(const char* name, K kind, int32_t parity) {
    return {.name = name,
            .kind = kind,
            .burstInterval = 0,
            .shotInterval = 3,
            .shots = 17,
            .bursts = 2,
            .angle = 135.0f,
            .speed = 0.05f,
            .size = 1.0f,
            .cellOdd = 28,
            .cellEven = 28,
            .turn = 16.875f,
            .parity = parity};
}
constexpr Boss2PatternRow Fan(const char* name, int32_t burstInterval, int32_t bursts, float speed,
                              float size) {
    return {.name = name,
            .kind = K::kFan,
            .burstInterval = burstInterval,
            .shotInterval = 0,
            .shots = 1,
            .bursts = bursts,
            .count = 32,
            .speed = speed,
            .size = size,
            .cellOdd = 16,
            .cellEven = 16,
            .turn = 11.25f};
}
constexpr Boss2PatternRow TwinSpiral(const char* name, float turn) {
    return {.name = name,
            .kind = K::kTwinSpiral,
            .burstInterval = 0,
            .shotInterval = 3,
            .shots = 121,
            .bursts = 1,
            .speed = 0.035f,
            .speedRange = 0.0015f,
            .size = 1.0f,
            .cellOdd = 41,
            .cellEven = 12,
            .turn = turn};
}
constexpr Boss2PatternRow Spread5(const char* name) {
    return {.name = name,
            .kind = K::kSpread,
            .burstInterval = 0,
            .shotInterval = 4,
            .shots = 11,
            .bursts = 1,
            .speed = 0.12f,
            .size = 1.3f,
            .cellOdd = 16,
            .cellEven = 16,
            .offsetCount = 5,
            .offsets = {0.0f, -30.0f, -15.0f, 15.0f, 30.0f}};
}
constexpr Boss2PatternRow Spread6(const char* name) {
    return {.name = name,
            .kind = K::kSpread,
            .burstInterval = 0,
            .shotInterval = 4,
            .shots = 11,
            .bursts = 1,
            .speed = 0.12f,
            .size = 1.3f,
            .cellOdd = 16,
            .cellEven = 16,
            .offsetCount = 6,
            .offsets = {-7.5f, 7.5f, -38.0f, -22.5f, 22.5f, 38.0f}};
}
constexpr Boss2PatternRow Arc(const char* name, float turn) {
    return {.name = name,
            .kind = K::kArc,
            .burstInterval = 20,
            .shotInterval = 0,
            .shots = 1,
            .bursts = 12,
            .angle = 180.0f,
            .speed = 0.08f,
            .size = 1.0f,
            .cellOdd = 8,
            .cellEven = 8,
            .turn = turn};
}
constexpr Boss2PatternRow Fixed(const char* name, float a, float b) {
    return {.name = name,
            .kind = K::kFixed,
            .burstInterval = 0,
            .shotInterval = 3,
            .shots = 9,
            .bursts = 1,
            .speed = 0.15f,
            .size = 1.0f,
            .cellOdd = 18,
            .cellEven = 18,
            .offsetCount = 2,
            .offsets = {a, b}};
}

const Boss2PatternRow kRows[] = {
    Scatter12("Runit1_0"),
    Ring("Runit1_1", 0, 1, 0.0f),
    Plume("Runit1_2", 3, 17, 12, 0.03f, 0.07f),
    AimedBurst("Runit1_3"),
    FallingSpray("Runit1_4"),
    QuadSpin("Runit1_5", -19.0f),
    Scatter12("Lunit1_0"),
    Ring("Lunit1_1", 0, 1, 0.0f),
    Plume("Lunit1_2", 3, 17, 12, 0.03f, 0.07f),
    AimedBurst("Lunit1_3"),
    FallingSpray("Lunit1_4"),
    QuadSpin("Lunit1_5", 19.0f),
    Triple("Runit2_0", 3, 7, 0.15f, 0.17f, 0.15f, 18, 1.5f),
    Star("Runit2_1", 30, 6, 8, 0.02f, 0.002f, 10),
    Star("Runit2_2", 10, 7, 60, 0.03f, 0.003f, 18),
    Triple("Lunit2_0", 3, 7, 0.15f, 0.17f, 0.15f, 18, 1.0f),
    Star("Lunit2_1", 30, 6, 8, 0.02f, 0.002f, 10),
    Star("Lunit2_2", 10, 7, 60, 0.03f, 0.003f, 18),
    Plume("center0_0", 0, 1, 32, 0.02f, 0.08f),
    Plume("center0_1", 0, 1, 32, 0.02f, 0.08f),
    Sweep("center0_2", K::kSweep, 0),
    {.name = "center0_3",
     .kind = K::kTriSpiral,
     .burstInterval = 0,
     .shotInterval = 6,
     .shots = 13,
     .bursts = 4,
     .speed = 0.06f,
     .speedRange = 0.005f,
     .size = 1.0f,
     .cellOdd = 20,
     .cellEven = 20,
     .turn = 4.0f},
    Sweep("center0_4", K::kSweep, 1),
    Sweep("center0_5", K::kDoubleSweep, 0),
    // Speed (rand + 1) x 0.04: the sum is rounded before the scaling.
    {.name = "center0_6",
     .kind = K::kScatter,
     .burstInterval = 0,
     .shotInterval = 0,
     .shots = 1,
     .bursts = 1,
     .count = 96,
     .angle = 175.0f,
     .angleRange = 10.0f,
     .speed = 0.04f,
     .speedRange = -1.0f,
     .size = 1.0f,
     .cellOdd = 40,
     .cellEven = 0},
    // Turns 11.25 radians a ring, not degrees: the rings never line up.
    Ring("center0_7", 60, 4, 11.25f),
    Fan("center1_0", 0, 1, 0.07f, 1.5f),
    Fan("center1_1", 15, 20, 0.06f, 1.2f),
    {.name = "center1_2",
     .kind = K::kScatter,
     .burstInterval = 120,
     .shotInterval = 2,
     .shots = 5,
     .bursts = 5,
     .count = 4,
     .angle = -60.0f,
     .angleRange = 120.0f,
     .aimed = true,
     .speed = 0.02f,
     .speedRange = 0.04f,
     .size = 0.8f,
     .sizeRange = 0.40000004f,
     .cellOdd = 41,
     .cellEven = 12},
    TwinSpiral("center1_3", 8.0f),
    TwinSpiral("center1_4", -8.0f),
    Spread5("revolver0_0"),
    Spread6("revolver0_1"),
    RevolverTriple("revolver0_2"),
    Spread5("revolver1_0"),
    Spread6("revolver1_1"),
    Arc("revolver1_2", -60.0f),
    RevolverTriple("revolver1_3"),
    Triple("revolver2_0", 3, 5, 0.15f, 0.17f, 0.15f, 18, 1.0f),
    Fixed("revolver2_1", 176.0f, 184.0f),
    Triple("revolver3_0", 3, 5, 0.15f, 0.17f, 0.15f, 18, 1.0f),
    Fixed("revolver3_1", 172.0f, 188.0f),
    Spread5("revolver4_0"),
    Spread6("revolver4_1"),
    RevolverTriple("revolver4_2"),
    Spread5("revolver5_0"),
    Spread6("revolver5_1"),
    Arc("revolver5_2", 60.0f),
    RevolverTriple("revolver5_3"),
};

const Boss2GunRow kGuns[kBoss2GunCount] = {
    {"Runit1", 5, 6},    {"Lunit1", 5, 6},    {"Runit2", 5, 3},    {"Lunit2", 5, 3},
    {"center0", 3, 8},   {"center1", 3, 5},   {"revolver0", 3, 3}, {"revolver1", 3, 4},
    {"revolver2", 3, 2}, {"revolver3", 3, 2}, {"revolver4", 3, 3}, {"revolver5", 3, 4},
};

}  // namespace

const Boss2PatternRow* FindBoss2PatternRow(const char* name) {
    for (const Boss2PatternRow& row : kRows) {
        if (std::strcmp(row.name, name) == 0)
            return &row;
    }
    return nullptr;
}

const Boss2GunRow& Boss2GunInfo(Boss2Gun gun) {
    return kGuns[gun >= 0 && gun < kBoss2GunCount ? gun : 0];
}

// ---- patterns --------------------------------------------------------------------------

Boss2ShotPattern::Boss2ShotPattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                   const Boss2PatternRow& patternRow)
    : BossPattern(parentTask, ownerScreen, patternRow.name), row(patternRow) {}

void Boss2ShotPattern::Configure() {
    SetBurstInterval(row.burstInterval);
    SetShotInterval(row.shotInterval);
    SetBurstShots(row.shots - 1);
    SetBurstCount(row.bursts);
    switch (row.kind) {
        case K::kRing:
            theta = 0.0f;
            break;
        case K::kStar:
            theta = 0.0f;
            break;
        case K::kSweep:
        case K::kDoubleSweep:
            speed = row.speed;
            break;
        case K::kArc:
            theta = row.angle;
            speed = row.speed;
            break;
        default:
            break;
    }
}

void Boss2ShotPattern::OnBurstStart() {
    switch (row.kind) {
        case K::kQuadSpin:
            theta = 0.0f;
            break;
        case K::kStar:
        case K::kTriSpiral:
        case K::kTwinSpiral:
            speed = row.speed;
            if (row.kind != K::kStar)
                theta = 0.0f;
            break;
        case K::kSweep:
        case K::kDoubleSweep: {
            const float aim = AimAtPlayer();
            // Odd bursts left start on the aim's left side unless the row reverses it.
            const bool left = ((GetBurstsLeft() & 1) != 0) != (row.parity != 0);
            theta = left ? aim - row.angle : aim + row.angle;
            step = left ? row.turn : -row.turn;
            theta2 = left ? aim + row.angle : aim - row.angle;
            step2 = -step;
            if (row.kind == K::kDoubleSweep) {
                // The first sweep starts on the right for odd bursts left.
                std::swap(theta, theta2);
                std::swap(step, step2);
            }
            break;
        }
        case K::kSpread:
            theta = AimAtPlayer();
            break;
        case K::kArc:
            theta += row.turn;
            break;
        default:
            break;
    }
}

void Boss2ShotPattern::FireShot() {
    const Vec3 from = GetWorldPosition();
    switch (row.kind) {
        case K::kScatter:
            for (int32_t i = 0; i < row.count; ++i) {
                const float base = row.aimed ? AimAtPlayer() : row.angle;
                const float angle = row.aimed ? base + NextUnit() * row.angleRange + row.angle
                                              : base + NextUnit() * row.angleRange;
                const float v = row.speedRange < 0.0f ? (NextUnit() + 1.0f) * row.speed
                                                      : row.speed + NextUnit() * row.speedRange;
                const float size = row.sizeRange > 0.0f ? row.size + NextUnit() * row.sizeRange : row.size;
                Fire(from, angle, v, (i & 1) != 0 ? row.cellOdd : row.cellEven, size);
            }
            break;
        case K::kRing:
            FireRing(from, theta);
            theta += row.turn;
            break;
        case K::kAimedTriple: {
            const float aim = AimAtPlayer();
            for (int32_t i = 0; i < 3; ++i)
                Fire(from, aim + row.offsets[i], row.speeds[i], row.cellOdd, row.size);
            break;
        }
        case K::kAimedBurst:
            // The lead bullet is plain and larger.
            Fire(from, AimAtPlayer(), row.speed, 10, 1.2f);
            for (int32_t i = 0; i < row.count; ++i) {
                const float aim = AimAtPlayer();
                const Vec3 at = SprayFrom(from, row.offsets[0], row.offsets[1]);
                const int32_t cell = OddDraw() ? row.cellOdd : row.cellEven;
                const float size = row.size + NextUnit() * row.sizeRange;
                Fire(at, aim, row.speed, cell, size);
            }
            break;
        case K::kFallingSpray:
            for (int32_t i = 0; i < row.count; ++i) {
                const float v = row.speed + NextUnit() * row.speedRange;
                const Vec3 at = SprayFrom(from, row.offsets[0], row.offsets[1]);
                const int32_t cell = OddDraw() ? row.cellOdd : row.cellEven;
                const float size = row.size + NextUnit() * row.sizeRange;
                Fire(at, row.angle, v, cell, size);
            }
            break;
        case K::kQuadSpin:
            if ((GetShotsLeft() & 3) != 0) {
                for (float d : {1.0f, -1.0f, 181.0f, 179.0f})
                    Fire(from, theta + d, row.speed, row.cellOdd, row.size);
            }
            theta += row.turn;
            break;
        case K::kStar:
            for (float arm : {0.0f, 72.0f, 144.0f, 216.0f, 288.0f})
                FireDirection(from, ConvertAngleConvention(arm) + theta, speed, row.cellOdd, row.size);
            speed += row.speedRange;
            theta += row.turn;
            break;
        case K::kSweep:
        case K::kDoubleSweep:
            for (int32_t side = 0; side < (row.kind == K::kDoubleSweep ? 2 : 1); ++side) {
                const float a = side == 0 ? theta : theta2;
                Fire(from, a, speed + 0.04f, row.cellOdd, row.size);
                Fire(from, a - 1.0f, speed, row.cellOdd, row.size);
                Fire(from, a + 1.0f, speed, row.cellOdd, row.size);
            }
            theta += step;
            if (row.kind == K::kDoubleSweep)
                theta2 += step2;
            break;
        case K::kTriSpiral:
            for (float arm : {120.0f, 240.0f, 360.0f})
                Fire(from, theta + arm, speed, row.cellOdd, row.size);
            speed = (GetShotsLeft() & 8) != 0 ? speed - row.speedRange : speed + row.speedRange;
            theta += row.turn;
            break;
        case K::kFan: {
            const float aim = AimAtPlayer();
            for (int32_t i = 0; i < row.count; ++i)
                Fire(from, aim + float(i) * row.turn, row.speed, row.cellOdd, row.size);
            break;
        }
        case K::kTwinSpiral: {
            const int32_t cell = (GetShotsLeft() & 1) != 0 ? row.cellOdd : row.cellEven;
            Fire(from, theta, speed, cell, row.size);
            Fire(from, theta + 180.0f, speed, cell, row.size);
            speed = (GetShotsLeft() & 4) != 0 ? speed - row.speedRange : speed + row.speedRange;
            theta += row.turn;
            break;
        }
        case K::kSpread:
            for (int32_t i = 0; i < row.offsetCount; ++i)
                Fire(from, theta + row.offsets[i], row.speed, row.cellOdd, row.size);
            break;
        case K::kArc:
            for (int32_t i = 0; i < 44; ++i) {
                const int32_t group = i / 4;
                if (group == 1 || group == 3 || group == 5 || group == 7 || group == 9)
                    Fire(from, theta - 90.0f + float(i) * 4.090909f, speed, row.cellOdd, row.size);
            }
            break;
        case K::kFixed:
            for (int32_t i = 0; i < row.offsetCount; ++i)
                Fire(from, row.offsets[i], row.speed, row.cellOdd, row.size);
            break;
    }
}

void Boss2ShotPattern::Fire(const Vec3& from, float bearing, float v, int32_t cell, float size) {
    FireBearing(from, bearing, v, cell, size);
}

void Boss2ShotPattern::FireDirection(const Vec3& from, float direction, float v, int32_t cell, float size) {
    if (OwnerScreen() == nullptr)
        return;
    Vec3 velocity;
    AngleToDirection(velocity, direction, v);
    OwnerScreen()->FireEnemyBullet(from, velocity, cell, size);
}

void Boss2ShotPattern::FireRing(const Vec3& from, float a0) {
    if (OwnerScreen() == nullptr)
        return;
    for (int32_t i = 0; i < 128; ++i) {
        if ((i & 4) != 0)
            continue;
        const float a = a0 + float(i) * kRingStep;
        const Vec3 velocity{std::cos(a) * row.speed, 0.0f, std::sin(a) * row.speed};
        OwnerScreen()->FireEnemyBullet(from, velocity, (i & 1) != 0 ? row.cellOdd : row.cellEven, row.size);
    }
}

Vec3 Boss2ShotPattern::SprayFrom(const Vec3& from, float r0, float r1) {
    const float d = r0 + NextUnit() * (r1 - r0);
    const float a = NextUnit() * 360.0f * kBossRadiansPerDegree;
    return Vec3{from.x + std::cos(a) * d, from.y, from.z + std::sin(a) * d};
}

// ---- muzzles ---------------------------------------------------------------------------

Boss2Muzzle::Boss2Muzzle(TaskObject* parentTask, NodeSpawnInfo& info, Boss2Gun which)
    : NullNodeObject(parentTask, info), gun(which) {
    const Boss2GunRow& gunRow = Boss2GunInfo(gun);
    body = FindAncestor<Boss2Body>(this, gunRow.depth, info.name);
    if (body != nullptr)
        body->RegisterMuzzle(gun, this);
    for (int32_t k = 0; k < gunRow.patterns && k < kMaxPatterns; ++k) {
        const std::string name = std::string(gunRow.node) + "_" + std::to_string(k);
        const Boss2PatternRow* patternRow = FindBoss2PatternRow(name.c_str());
        patterns[k] = patternRow != nullptr ? new Boss2ShotPattern(this, world, *patternRow) : nullptr;
        ++patternCount;
    }
    // Their pattern 1 fires once of itself as soon as the node runs.
    if (gun == kBoss2Revolver2 || gun == kBoss2Revolver3) {
        if (patterns[1] != nullptr)
            patterns[1]->SetFiring(true);
    }
}

Boss2Muzzle::~Boss2Muzzle() {
    DeleteChildren();
    if (body != nullptr)
        body->RegisterMuzzle(gun, nullptr);
}

}  // namespace mareldon
