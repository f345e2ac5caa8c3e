#include "game/bosses/Boss3Muzzles.h"

#include <cmath>
#include <string>
#include <vector>

#include "game/bosses/Boss3Body.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

namespace {

constexpr float kDegree = kBossRadiansPerDegree;
constexpr float kTwoPi = 6.2831855f;

using S = Boss3Shot;

// ---- the pattern classes ---------------------------------------------------------------

const Boss3PatternRow kKasaAimed = {"Boss3ShotPatternKasa_0", S::kKasaAimed, 0, 3, 3, 1, 1.0f, 0.0f, 0};

// Pattern 1 by side and index n: the sweep starts at -30 (n - 1) on the left and
// +30 (n - 1) on the right and turns away from the middle.
const Boss3PatternRow kKasaSweep[24] = {
    {"Boss3ShotPatternKasaR1_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaR2_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 30.0f, 0},
    {"Boss3ShotPatternKasaR3_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 60.0f, 0},
    {"Boss3ShotPatternKasaR4_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 90.0f, 0},
    {"Boss3ShotPatternKasaR5_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 120.0f, 0},
    {"Boss3ShotPatternKasaR6_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 150.0f, 0},
    {"Boss3ShotPatternKasaR7_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 180.0f, 0},
    {"Boss3ShotPatternKasaR8_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 210.0f, 0},
    {"Boss3ShotPatternKasaR9_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 240.0f, 0},
    {"Boss3ShotPatternKasaR10_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 270.0f, 0},
    {"Boss3ShotPatternKasaR11_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 300.0f, 0},
    {"Boss3ShotPatternKasaR12_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, -1.0f, 330.0f, 0},
    {"Boss3ShotPatternKasaL1_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaL2_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -30.0f, 0},
    {"Boss3ShotPatternKasaL3_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -60.0f, 0},
    {"Boss3ShotPatternKasaL4_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -90.0f, 0},
    {"Boss3ShotPatternKasaL5_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -120.0f, 0},
    {"Boss3ShotPatternKasaL6_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -150.0f, 0},
    {"Boss3ShotPatternKasaL7_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -180.0f, 0},
    {"Boss3ShotPatternKasaL8_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -210.0f, 0},
    {"Boss3ShotPatternKasaL9_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -240.0f, 0},
    {"Boss3ShotPatternKasaL10_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -270.0f, 0},
    {"Boss3ShotPatternKasaL11_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -300.0f, 0},
    {"Boss3ShotPatternKasaL12_1", Boss3Shot::kKasaSweep, 0, 1, 8, 1, 1.0f, -330.0f, 0},
};

const Boss3PatternRow kKasaSlowing[2] = {
    {"Boss3ShotPatternKasaR_2", S::kKasaSlowing, 0, 50, 8, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaL_2", S::kKasaSlowing, 0, 50, 8, 1, 1.0f, 0.0f, 0},
};

const Boss3PatternRow kMeC = {"Boss3ShotPatternMeC_0", S::kMeBack, 0, 3, 6, 1, 1.0f, 0.0f, 0};
const Boss3PatternRow kMeR = {"Boss3ShotPatternMeR_0", S::kMeTurn, 10, 2, 4, 28, -1.0f, 0.0f, 0};
const Boss3PatternRow kMeL = {"Boss3ShotPatternMeL_0", S::kMeTurn, 10, 2, 4, 28, 1.0f, 0.0f, 0};

const Boss3PatternRow kSideR[2] = {
    {"Boss3ShotPatternSideUnitR_0", S::kSideSwing, 0, 4, 150, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternSideUnitR_1", S::kSideClose, 0, 4, 30, 1, -1.0f, 0.0f, 0},
};
const Boss3PatternRow kSideL[2] = {
    {"Boss3ShotPatternSideUnitL_0", S::kSideSwing, 0, 4, 150, 1, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternSideUnitL_1", S::kSideClose, 0, 4, 30, 1, 1.0f, 0.0f, 0},
};

const Boss3PatternRow kCentreR[9] = {
    {"Boss3ShotPatternKasaRcenter_0", S::kCentreFour, 10, 0, 0, 99999, -1.0f, 0.0f, 19760729},
    {"Boss3ShotPatternKasaRcenter_1", S::kCentreNine, 14, 0, 0, 99999, -1.0f, 0.0f, 427165481},
    {"Boss3ShotPatternKasaRcenter_2", S::kCentreFan, 0, 2, 36, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaRcenter_3", S::kCentreWheel, 30, 6, 2, 7, -1.0f, 0.0f, 929068320},
    {"Boss3ShotPatternKasaRcenter_4", S::kCentreSpray, 0, 6, 60, 1, -1.0f, 0.0f, 427165481},
    {"Boss3ShotPatternKasaRcenter_5", S::kCentreBurst, 10, 3, 8, 2, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaRcenter_6", S::kCentreCross, 0, 12, 12, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaRcenter_7", S::kCentreRing, 0, 0, 0, 1, -1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaRcenter_8", S::kCentreSpray, 0, 6, 60, 1, -1.0f, 0.0f, 425985541},
};
const Boss3PatternRow kCentreL[9] = {
    {"Boss3ShotPatternKasaLcenter_0", S::kCentreFour, 10, 0, 0, 99999, 1.0f, 0.0f, 19760729},
    {"Boss3ShotPatternKasaLcenter_1", S::kCentreNine, 14, 0, 0, 99999, 1.0f, 0.0f, 427165481},
    {"Boss3ShotPatternKasaLcenter_2", S::kCentreFan, 0, 2, 36, 1, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaLcenter_3", S::kCentreWheel, 30, 6, 2, 7, 1.0f, 0.0f, 929068320},
    {"Boss3ShotPatternKasaLcenter_4", S::kCentreSpray, 0, 6, 60, 1, 1.0f, 0.0f, 427165481},
    {"Boss3ShotPatternKasaLcenter_5", S::kCentreBurst, 10, 3, 8, 2, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaLcenter_6", S::kCentreCross, 0, 12, 12, 1, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaLcenter_7", S::kCentreRing, 0, 0, 0, 1, 1.0f, 0.0f, 0},
    {"Boss3ShotPatternKasaLcenter_8", S::kCentreSpray, 0, 6, 60, 1, 1.0f, 0.0f, 427037209},
};

// ---- the muzzles -----------------------------------------------------------------------

const char* const kKasaNodes[2][12] = {
    {"Null_JYUUKOU_kasaR1", "Null_JYUUKOU_kasaR2", "Null_JYUUKOU_kasaR3", "Null_JYUUKOU_kasaR4",
     "Null_JYUUKOU_kasaR5", "Null_JYUUKOU_kasaR6", "Null_JYUUKOU_kasaR7", "Null_JYUUKOU_kasaR8",
     "Null_JYUUKOU_kasaR9", "Null_JYUUKOU_kasaR10", "Null_JYUUKOU_kasaR11", "Null_JYUUKOU_kasaR12"},
    {"Null_JYUUKOU_kasaL1", "Null_JYUUKOU_kasaL2", "Null_JYUUKOU_kasaL3", "Null_JYUUKOU_kasaL4",
     "Null_JYUUKOU_kasaL5", "Null_JYUUKOU_kasaL6", "Null_JYUUKOU_kasaL7", "Null_JYUUKOU_kasaL8",
     "Null_JYUUKOU_kasaL9", "Null_JYUUKOU_kasaL10", "Null_JYUUKOU_kasaL11", "Null_JYUUKOU_kasaL12"},
};

Boss3MuzzleRow CentreRow(const char* node, const Boss3PatternRow (&rows)[9]) {
    Boss3MuzzleRow row{node, 2, 9, {}};
    for (int32_t i = 0; i < 9; ++i)
        row.patterns[i] = &rows[i];
    return row;
}

std::vector<Boss3MuzzleRow> MakeMuzzleTable() {
    std::vector<Boss3MuzzleRow> table(kBoss3MuzzleCount);
    for (int32_t side = 0; side < 2; ++side) {
        const int32_t first = side == 0 ? kBoss3KasaR1 : kBoss3KasaL1;
        for (int32_t n = 0; n < 12; ++n)
            table[size_t(first + n)] = Boss3MuzzleRow{
                kKasaNodes[side][n], 4, 3, {&kKasaAimed, &kKasaSweep[side * 12 + n], &kKasaSlowing[side]}};
    }
    table[kBoss3KasaRcenter] = CentreRow("Null_JYUUKOU_kasaRcenter", kCentreR);
    table[kBoss3KasaLcenter] = CentreRow("Null_JYUUKOU_kasaLcenter", kCentreL);
    table[kBoss3MeC] = Boss3MuzzleRow{"Null_JYUUKOU_meC", 4, 1, {&kMeC}};
    table[kBoss3MeR] = Boss3MuzzleRow{"Null_JYUUKOU_meR", 4, 1, {&kMeR}};
    table[kBoss3MeL] = Boss3MuzzleRow{"Null_JYUUKOU_meL", 4, 1, {&kMeL}};
    table[kBoss3SideUnitR] = Boss3MuzzleRow{"Null_JYUUKOU_side_unitR", 3, 2, {&kSideR[0], &kSideR[1]}};
    table[kBoss3SideUnitL] = Boss3MuzzleRow{"Null_JYUUKOU_side_unitL", 3, 2, {&kSideL[0], &kSideL[1]}};
    return table;
}

const std::vector<Boss3MuzzleRow>& MuzzleTable() {
    static const std::vector<Boss3MuzzleRow> table = MakeMuzzleTable();
    return table;
}

// "kasaR3.1": the muzzle's name without the prefix, then the pattern; made once.
const char* PatternLabel(int32_t slot, int32_t k) {
    static const std::vector<std::string> labels = [] {
        std::vector<std::string> out;
        for (int32_t s = 0; s < kBoss3MuzzleCount; ++s) {
            const std::string node = MuzzleTable()[size_t(s)].node;
            for (int32_t i = 0; i < 9; ++i)
                out.push_back(node.substr(13) + "." + std::to_string(i));
        }
        return out;
    }();
    return labels[size_t(slot * 9 + k)].c_str();
}

}  // namespace

const Boss3MuzzleRow& Boss3MuzzleTable(int32_t slot) {
    return MuzzleTable()[size_t(slot >= 0 && slot < kBoss3MuzzleCount ? slot : 0)];
}

// ---- patterns --------------------------------------------------------------------------

Boss3Pattern::Boss3Pattern(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                           const Boss3PatternRow& patternRow, const char* patternLabel)
    : BossPattern(parentTask, ownerScreen, patternLabel), row(patternRow), own(patternRow.seed) {}

void Boss3Pattern::FireHeading(const Vec3& from, float heading, float bulletSpeed, int32_t sprite,
                               float size) {
    if (OwnerScreen() == nullptr)
        return;
    const Vec3 velocity{std::cos(heading) * bulletSpeed, 0.0f, std::sin(heading) * bulletSpeed};
    OwnerScreen()->FireEnemyBullet(from, velocity, sprite, size);
}

void Boss3Pattern::FireDirection(const Vec3& from, float degrees, float bulletSpeed, int32_t sprite,
                                 float size) {
    if (OwnerScreen() == nullptr)
        return;
    Vec3 velocity;
    AngleToDirection(velocity, degrees, bulletSpeed);
    OwnerScreen()->FireEnemyBullet(from, velocity, sprite, size);
}

float Boss3Pattern::BackwardAngle() {
    const Vec3 forward = GetWorldForward();
    return std::atan2(-forward.z, -forward.x);
}

void Boss3Pattern::Configure() {
    SetBurstInterval(row.burstInterval);
    SetShotInterval(row.shotInterval);
    SetBurstShots(row.burstShots);
    SetBurstCount(row.bursts);
    switch (row.shot) {
        case S::kKasaSlowing:
            speed = 0.15f;
            break;
        case S::kMeTurn:
            turn = 0.0f;
            break;
        case S::kCentreBurst:
            angle = ConvertAngleConvention(AimAtPlayer());
            toggle = 0;
            break;
        default:
            break;
    }
}

void Boss3Pattern::OnBurstStart() {
    switch (row.shot) {
        case S::kKasaAimed:
            speed = 0.1f;
            break;
        case S::kKasaSweep:
            angle = row.start;
            speed = 0.02f;
            break;
        case S::kMeBack:
            speed = 0.07f;
            angle = BackwardAngle();
            break;
        case S::kMeTurn:
            speed = 0.06f;
            turn += 0.5585054f;
            break;
        case S::kSideSwing:
            speed = 0.1f;
            sweep = 0.0f;
            break;
        case S::kSideClose:
            speed = 0.1f;
            sweep = 50.0f;
            break;
        case S::kCentreFan:
            sweep = 2.792527f;
            break;
        case S::kCentreWheel: {
            speed = 0.045f;
            const float t = NextDraw() >= 0.5f ? -1.0f : 1.0f;
            turn = t * row.side;
            angle = ForwardAngle() - (-60.0f + 120.0f * NextDraw()) * kDegree;
            break;
        }
        case S::kCentreSpray:
            SetShotInterval(6);
            upper = row.side > 0.0f ? 40.0f : 10.0f;
            lower = row.side > 0.0f ? -10.0f : -40.0f;
            break;
        case S::kCentreBurst:
            toggle = (toggle - 1) & 1;
            speed = 0.1f;
            break;
        case S::kCentreCross:
            sweep = 0.0f;
            break;
        default:
            break;
    }
}

void Boss3Pattern::FireMe(float heading) {
    const Vec3 from = GetWorldPosition();
    FireHeading(from, heading - 3.0f * kDegree, speed, 11, 1.0f);
    if (GetShotsLeft() % 2 == 0)
        FireHeading(from, heading, row.shot == S::kMeBack ? speed + 0.01f : speed, 10, 1.0f);
    FireHeading(from, heading + 3.0f * kDegree, speed, 11, 1.0f);
}

void Boss3Pattern::FireSide(bool closing) {
    const Vec3 from = GetWorldPosition();
    const float base = BackwardAngle() + row.side * 30.0f * kDegree;
    const int32_t sprite = (GetShotsLeft() & 1) != 0 ? 39 : 10;
    static const float kArms[4] = {-60.0f, -35.0f, 35.0f, 60.0f};
    for (float arm : kArms) {
        const float a = closing ? arm + (arm < 0.0f ? -sweep : sweep) : arm + sweep;
        FireHeading(from, base + a * kDegree, 0.1f, sprite, 1.0f);
    }
}

void Boss3Pattern::FireShot() {
    const Vec3 from = GetWorldPosition();
    switch (row.shot) {
        case S::kKasaAimed:
            FireBearing(from, AimAtPlayer(), speed, 20, 1.0f);
            speed += 0.02f;
            break;
        case S::kKasaSweep: {
            const int32_t k = GetBurstShots() - GetShotsLeft();
            FireBearing(from, angle - row.side * 3.0f * float(k), 0.02f + 0.009f * float(k), 20, 1.0f);
            break;
        }
        case S::kKasaSlowing:
            FireBearing(from, AimAtPlayer(), speed, 33, 1.5f);
            speed += 0.008f;
            SetShotInterval(GetShotInterval() - 1);
            break;
        case S::kMeBack:
            FireMe(angle);
            speed += 0.008f;
            break;
        case S::kMeTurn:
            FireMe(ForwardAngle() - row.side * turn);
            turn += 0.0349066f;
            speed += 0.007f;
            break;
        case S::kSideSwing:
            FireSide(false);
            // Bit 3 of the shots left swings the fan back every eight shots.
            if ((GetShotsLeft() & 8) != 0)
                sweep -= row.side * 2.0f;
            else
                sweep += row.side * 2.0f;
            break;
        case S::kSideClose:
            FireSide(true);
            sweep -= 2.0f;
            if (sweep <= 0.0f)
                sweep = 0.0f;
            break;
        case S::kCentreFour: {
            const float r = -70.0f + 140.0f * NextDraw();
            const float base = ForwardAngle() + (r + row.side * 45.0f) * kDegree;
            for (float d : {-7.0f, -5.0f, 5.0f, 7.0f})
                FireHeading(from, base + d * kDegree, 0.08f, 12, 1.0f);
            break;
        }
        case S::kCentreNine: {
            const float r = -50.0f + 100.0f * NextDraw();
            const float base = ForwardAngle() + (r + row.side * 45.0f) * kDegree;
            for (float d : {0.0f, 2.0f, -2.0f, 8.0f, -8.0f, 10.0f, -10.0f, 12.0f, -12.0f})
                FireHeading(from, base + d * kDegree, 0.1f, 11, 1.0f);
            break;
        }
        case S::kCentreFan: {
            const float forward = ForwardAngle();
            for (int32_t i = 0; i < 6; ++i)
                FireHeading(from, forward + sweep - row.side * 4.0f * kDegree * float(i),
                            0.04f + 0.01f * float(i), 52, 1.0f);
            sweep -= row.side * 16.0f * kDegree;
            break;
        }
        case S::kCentreWheel: {
            struct Wheel {
                int32_t count;
                float radius;
                int32_t sprite;
                float size;
            };
            static const Wheel kWheels[2] = {{3, 1.7f, 12, 1.5f}, {5, 0.3f, 11, 0.8f}};
            const Vec3 velocity{std::cos(angle) * speed, 0.0f, std::sin(angle) * speed};
            for (const Wheel& wheel : kWheels) {
                const float step = kTwoPi / float(wheel.count);
                // The left wheel's first angle is 60 degrees scaled the wrong way, as
                // the pattern has always placed it.
                float c = row.side > 0.0f ? 3437.7466f : 0.0f;
                for (int32_t i = 0; i < wheel.count; ++i) {
                    const Vec3 at{from.x + std::cos(c) * wheel.radius, from.y,
                                  from.z + std::sin(c) * wheel.radius};
                    if (OwnerScreen() != nullptr)
                        OwnerScreen()->FireEnemyBullet(at, velocity, wheel.sprite, wheel.size);
                    c -= row.side * step;
                }
            }
            speed += 0.02f;
            angle += turn * 10.0f * kDegree;
            break;
        }
        case S::kCentreSpray: {
            if (GetShotsLeft() % 10 == 0) {
                SetShotInterval(GetShotInterval() - 1);
                upper += 15.0f;
                lower -= 20.0f;
            }
            const float forward = ForwardAngle();
            for (int32_t i = 0; i < 2; ++i) {
                const float a = lower + (upper - lower) * NextDraw();
                const float bulletSpeed = 0.03f + 0.09f * NextDraw();
                const float size = 0.8f + 0.7f * NextDraw();
                FireHeading(from, forward + a * kDegree, bulletSpeed, 12, size);
            }
            break;
        }
        case S::kCentreBurst: {
            static const float kSeven[7] = {45.0f, 30.0f, 15.0f, 0.0f, -15.0f, -30.0f, -45.0f};
            static const float kFour[4] = {25.0f, 10.0f, -10.0f, -25.0f};
            if (toggle == 0) {
                for (float d : kSeven)
                    FireDirection(from, angle + d, speed, 33, 1.5f);
            } else {
                for (float d : kFour)
                    FireDirection(from, angle + d, speed, 33, 1.5f);
            }
            speed += 0.02f;
            break;
        }
        case S::kCentreCross:
            for (float d : {0.0f, 90.0f, 180.0f, 270.0f})
                FireHeading(from, (sweep + d) * kDegree, 0.1f, 11, 1.5f);
            sweep += row.side * 15.0f;
            break;
        case S::kCentreRing:
            for (int32_t i = 0; i < 64; ++i)
                FireHeading(from, float(i) * 0.09817477f, 0.05f, 10, 1.5f);
            break;
    }
}

// ---- muzzles ---------------------------------------------------------------------------

Boss3Muzzle::Boss3Muzzle(TaskObject* parentTask, NodeSpawnInfo& info, Boss3MuzzleSlot muzzleSlot)
    : NullNodeObject(parentTask, info), slot(muzzleSlot) {
    const Boss3MuzzleRow& table = Boss3MuzzleTable(slot);
    owner = FindAncestor<Boss3Body>(this, table.depth, info.name);
    if (owner != nullptr)
        owner->RegisterMuzzle(slot, this);
    for (int32_t k = 0; k < table.patternCount; ++k)
        patterns[patternCount++] = new Boss3Pattern(this, world, *table.patterns[k], PatternLabel(slot, k));
}

Boss3Muzzle::~Boss3Muzzle() {
    if (owner != nullptr)
        owner->RegisterMuzzle(slot, nullptr);
    DeleteChildren();
}

namespace {

template <Boss3MuzzleSlot Slot>
Object3D* BuildMuzzle(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss3MuzzleOf<Slot>(parent, info);
}

template <int32_t... Slots>
void RegisterAll(StageNodeRegistry& registry, std::integer_sequence<int32_t, Slots...>) {
    (registry.Replace(StageNodeRegistry::Kind::kFrame, Boss3MuzzleTable(Slots).node,
                      BuildMuzzle<Boss3MuzzleSlot(Slots)>),
     ...);
}

}  // namespace

void RegisterBoss3Muzzles(StageNodeRegistry& registry) {
    RegisterAll(registry, std::make_integer_sequence<int32_t, kBoss3MuzzleCount>());
}

}  // namespace mareldon
