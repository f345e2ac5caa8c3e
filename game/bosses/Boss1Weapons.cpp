#include "game/bosses/Boss1Weapons.h"

#include <cmath>

#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kThirdTurn = 2.0943952f;
constexpr float kTwoThirdsTurn = 4.1887903f;
constexpr float kRingStep = 0.19634955f;

float Side(Boss1Wing wing) {
    return wing == Boss1Wing::kA ? 1.0f : -1.0f;
}

}  // namespace

Vec3 Boss1MountPoint(Boss1Wing wing, int32_t k) {
    static const Vec3 kMounts[4] = {
        {-0.667f, 0.6f, 0.53f}, {-0.267f, 0.582f, 0.655f}, {0.133f, 0.572f, 0.53f}, {0.533f, 0.582f, 0.655f}};
    const Vec3& m = kMounts[k & 3];
    return Vec3{m.x * Side(wing), m.y, m.z};
}

Vec3 Boss1FanMountPoint(Boss1Wing wing) {
    return Vec3{1.0f * Side(wing), 0.582f, 0.655f};
}

// ---- wing root -------------------------------------------------------------------------

Boss1WingSpray::Boss1WingSpray(TaskObject* p, GameWorldScreen* s, Boss1Wing w, const char* l)
    : BossPattern(p, s, l), wing(w) {}

void Boss1WingSpray::Configure() {
    SetBurstInterval(60);
    SetShotInterval(5);
    SetBurstShots(13 - 1);
    SetBurstCount(1);
}

void Boss1WingSpray::FireShot() {
    PlaceAt(Boss1MountPoint(wing, GetShotsLeft() % 4));
    const float u = NextUnit();
    const float bearing = wing == Boss1Wing::kA ? 60.0f + 140.0f * u : 300.0f - 140.0f * u;
    const Vec3 from = GetWorldPosition();
    for (float speed : {0.025f, 0.055f, 0.085f})
        FireBearing(from, bearing, speed, 12, 1.0f);
}

Boss1WingLine::Boss1WingLine(TaskObject* p, GameWorldScreen* s, Boss1Wing w, const char* l)
    : BossPattern(p, s, l), wing(w) {}

void Boss1WingLine::Configure() {
    SetBurstInterval(10);
    SetShotInterval(0);
    SetBurstShots(1 - 1);
    SetBurstCount(4);
}

void Boss1WingLine::OnBurstStart() {
    PlaceAt(Boss1MountPoint(wing, GetBurstsLeft() % 4));
    aim = AimAtPlayer();
    speed = 0.13f;
}

void Boss1WingLine::FireShot() {
    const Vec3 from = GetWorldPosition();
    for (int32_t i = 0; i < 12; ++i)
        FireBearing(from, aim, speed + 0.003f * float(i), 32, 1.0f);
}

Boss1WingFan::Boss1WingFan(TaskObject* p, GameWorldScreen* s, Boss1Wing w, const char* l)
    : BossPattern(p, s, l), wing(w) {}

void Boss1WingFan::Configure() {
    SetBurstInterval(20);
    SetShotInterval(3);
    SetBurstShots(9 - 1);
    SetBurstCount(2);
    aim = AimAtPlayer();
    speed = 0.2f;
}

void Boss1WingFan::OnBurstStart() {
    PlaceAt(Boss1FanMountPoint(wing));
    fourFan = fourFan != 0 ? 0 : 1;
}

void Boss1WingFan::FireShot() {
    static const float kFour[4] = {30.0f, 10.0f, -10.0f, -30.0f};
    static const float kFive[5] = {40.0f, 20.0f, 0.0f, -20.0f, -40.0f};
    const Vec3 from = GetWorldPosition();
    if (fourFan != 0) {
        for (float d : kFour)
            FireBearing(from, aim + d, speed, 2, 1.5f);
    } else {
        for (float d : kFive)
            FireBearing(from, aim + d, speed, 2, 1.5f);
    }
}

Boss1WingSpiral::Boss1WingSpiral(TaskObject* p, GameWorldScreen* s, Boss1Wing w, const char* l)
    : BossPattern(p, s, l), wing(w) {
    divisor = 5 + int32_t(6.0f * NextUnit());
}

void Boss1WingSpiral::Configure() {
    SetBurstInterval(0);
    SetShotInterval(3);
    SetBurstShots(51 - 1);
    SetBurstCount(1);
}

void Boss1WingSpiral::OnBurstStart() {
    speed = 0.05f;
    angle = kPi;
}

void Boss1WingSpiral::FireShot() {
    angle += wing == Boss1Wing::kA ? -0.08726647f : 0.08726647f;
    if (GetShotsLeft() % divisor == 0) {
        divisor = 5 + int32_t(4.0f * NextUnit());
        return;
    }
    const Vec3 from = GetWorldPosition();
    for (float arm : {0.0f, kThirdTurn, kTwoThirdsTurn}) {
        const float a = angle + arm;
        FireRadians(from, a, speed + 0.004f, 16, 1.3f);
        FireRadians(from, a + 0.021816617f, speed, 16, 1.0f);
        FireRadians(from, a - 0.021816617f, speed, 16, 1.0f);
    }
}

Boss1Ring::Boss1Ring(TaskObject* p, GameWorldScreen* s, int32_t interval, int32_t count, const char* l)
    : BossPattern(p, s, l), shotInterval(interval), shots(count) {}

void Boss1Ring::Configure() {
    SetBurstInterval(0);
    SetShotInterval(shotInterval);
    SetBurstShots(shots - 1);
    SetBurstCount(1);
}

void Boss1Ring::FireShot() {
    const bool odd = (GetShotsLeft() & 1) != 0;
    const float speed = odd ? 0.055f : 0.035f;
    const float size = odd ? 1.5f : 1.0f;
    // A bearing in degrees used as radians: only the ring's turn depends on it.
    const float first = AimAtPlayer();
    const Vec3 from = GetWorldPosition();
    for (int32_t i = 0; i < 32; ++i)
        FireRadians(from, first + float(i) * kRingStep, speed, 12, size);
}

Boss1WingVolley::Boss1WingVolley(TaskObject* p, GameWorldScreen* s, Boss1Wing w, const char* l)
    : BossPattern(p, s, l), wing(w) {}

void Boss1WingVolley::Configure() {
    SetBurstInterval(0);
    SetShotInterval(3);
    SetBurstShots(9 - 1);
    SetBurstCount(1);
}

void Boss1WingVolley::OnBurstStart() {
    speed = 0.08f;
}

void Boss1WingVolley::FireShot() {
    static const float kSizes[4] = {1.3f, 1.0f, 1.0f, 1.3f};
    PlaceAt(Boss1MountPoint(wing, 1));
    const float aim = AimAtPlayer();
    for (int32_t k = 0; k < 4; ++k) {
        PlaceAt(Boss1MountPoint(wing, k));
        FireBearing(GetWorldPosition(), aim, speed, 12, kSizes[k]);
    }
    speed += 0.01f;
}

// ---- twin cannon -----------------------------------------------------------------------

Boss1TwinCannonPattern::Boss1TwinCannonPattern(TaskObject* p, GameWorldScreen* s, const char* l)
    : BossPattern(p, s, l) {}

void Boss1TwinCannonPattern::Configure() {
    SetBurstInterval(20);
    SetShotInterval(3);
    SetBurstShots(17 - 1);
    SetBurstCount(1);
}

void Boss1TwinCannonPattern::OnBurstStart() {
    speed = 0.06f;
}

void Boss1TwinCannonPattern::FireShot() {
    const Vec3 pivot = GetWorldPosition();
    for (int32_t i = 0; i < 10; ++i) {
        const float dx = 0.2f * Jitter() - 0.1f;
        const float heading = 270.0f + float(int32_t(12.0f * Jitter() - 6.0f));
        const float extra = 0.07f * Jitter();
        FireBearing(Vec3{pivot.x + dx, pivot.y, pivot.z - 0.7f}, heading, speed + extra, 52, 1.0f);
    }
    speed += 0.01f;
}

// ---- kirai cover -----------------------------------------------------------------------

Boss1KiraiSpin::Boss1KiraiSpin(TaskObject* p, GameWorldScreen* s, bool rev, const char* l)
    : BossPattern(p, s, l), reverse(rev) {}

void Boss1KiraiSpin::Configure() {
    SetBurstInterval(0);
    SetShotInterval(4);
    SetBurstShots(61 - 1);
    SetBurstCount(1);
    if (reverse)
        angle = kPi;
}

void Boss1KiraiSpin::FireShot() {
    const Vec3 from = GetWorldPosition();
    for (float arm : {0.0f, kThirdTurn, kTwoThirdsTurn})
        FireRadians(from, angle + arm, 0.045f, 12, 1.0f);
    angle += reverse ? -0.13962634f : 0.13962634f;
}

// ---- houdai_B --------------------------------------------------------------------------

Boss1HoudaiBPattern::Boss1HoudaiBPattern(TaskObject* p, GameWorldScreen* s, int32_t k, const char* l)
    : BossPattern(p, s, l), kind(k) {
    PlaceAt(Vec3{0.0f, 0.0f, -0.7f});
}

void Boss1HoudaiBPattern::Configure() {
    // (between bursts, between shots, shots, bursts)
    static const int32_t kTimers[5][4] = {
        {30, 0, 1, 9999}, {60, 2, 16, 9999}, {10, 4, 6, 4}, {10, 4, 6, 4}, {0, 1, 121, 1}};
    const int32_t* t = kTimers[kind];
    SetBurstInterval(t[0]);
    SetShotInterval(t[1]);
    SetBurstShots(t[2] - 1);
    SetBurstCount(t[3]);
}

void Boss1HoudaiBPattern::OnBurstStart() {
    const bool odd = (GetBurstsLeft() & 1) != 0;
    switch (kind) {
        case 1:
            speed = 0.05f;
            break;
        case 2:
            angle = odd ? 4.712389f : 1.5707964f;
            break;
        case 3:
            angle = odd ? 1.5707964f : 4.712389f;
            break;
        case 4:
            speed = 0.05f;
            spread = 60.0f;
            break;
        default:
            break;
    }
}

void Boss1HoudaiBPattern::FireShot() {
    const float f = ForwardAngle();
    const Vec3 from = GetWorldPosition();
    switch (kind) {
        case 0: {
            const bool odd = (GetBurstsLeft() & 1) != 0;
            const int32_t rows = odd ? 19 : 13;
            const float rowSpeed = odd ? 0.08f : 0.05f;
            const float start = f - float(rows) * 0.5f * 0.2617994f;
            for (int32_t i = 0; i < rows; i += 2) {
                const float row = start + float(i) * 0.2617994f;
                for (int32_t j = -2; j <= 2; ++j)
                    FireRadians(from, row + float(j) * 0.05235988f, rowSpeed, 8, 1.0f);
            }
            break;
        }
        case 1: {
            const int32_t shots = GetBurstShots();
            const float d =
                float(GetShotsLeft()) * 90.0f / float(shots > 0 ? shots : 1) * kBossRadiansPerDegree;
            FireRadians(from, f + d, speed, 8, 1.0f);
            FireRadians(from, f - d, speed, 8, 1.0f);
            speed += 0.002f * float(shots - GetShotsLeft() + 1);
            break;
        }
        case 2:
            for (float arm : {0.0f, kThirdTurn, kTwoThirdsTurn}) {
                FireRadians(from, angle + arm + 0.17453294f, 0.05f, 8, 1.0f);
                FireRadians(from, angle + arm - 0.17453294f, 0.05f, 8, 1.0f);
            }
            break;
        case 3:
            for (float arm : {0.0f, kThirdTurn, kTwoThirdsTurn}) {
                FireRadians(from, angle + arm - 0.034906585f, 0.14f, 8, 1.0f);
                FireRadians(from, angle + arm, 0.16f, 8, 1.0f);
                FireRadians(from, angle + arm + 0.034906585f, 0.14f, 8, 1.0f);
            }
            break;
        default:
            // Four shots on, four off; three groups of three around the forward angle,
            // closing in as the spread parameter falls.
            if ((GetShotsLeft() & 4) == 0) {
                static const int32_t kSprites[3] = {52, 54, 52};
                static const float kSizes[3] = {0.8f, 0.6f, 0.8f};
                for (int32_t g = -1; g <= 1; ++g) {
                    for (int32_t m = 0; m < 3; ++m) {
                        const float degrees = float(g) * spread * 0.5f + float(m - 1) * 4.0f;
                        FireRadians(from, f + degrees * kBossRadiansPerDegree, speed, kSprites[m], kSizes[m]);
                    }
                }
            }
            speed += 0.0005f;
            spread -= 1.0f;
            break;
    }
}

// ---- houdai_S --------------------------------------------------------------------------

Boss1HoudaiSPattern::Boss1HoudaiSPattern(TaskObject* p, GameWorldScreen* s, int32_t k, bool five,
                                         const char* l)
    : BossPattern(p, s, l), kind(k), layerFive(five) {
    PlaceAt(Vec3{0.0f, 0.0f, -0.7f});
}

void Boss1HoudaiSPattern::Configure() {
    switch (kind) {
        case 0:
            SetBurstInterval(0);
            SetShotInterval(2);
            SetBurstShots(9 - 1);
            SetBurstCount(1);
            spread = 20.0f;
            speed = 0.1f;
            break;
        case 1:
            SetBurstInterval(layerFive ? 0 : 20);
            SetShotInterval(2);
            SetBurstShots(7 - 1);
            SetBurstCount(layerFive ? 1 : 3);
            speed = 0.2f;
            break;
        default:
            SetBurstInterval(0);
            SetShotInterval(1);
            SetBurstShots(121 - 1);
            SetBurstCount(1);
            break;
    }
}

void Boss1HoudaiSPattern::OnBurstStart() {
    if (kind == 1) {
        speed += 0.03f;
    } else if (kind == 2) {
        speed = 0.06f;
        angle = 160.0f;
    }
}

void Boss1HoudaiSPattern::FireShot() {
    const float f = ForwardAngle();
    const Vec3 from = GetWorldPosition();
    if (kind == 0) {
        const int32_t pairs = (GetShotsLeft() & 1) != 0 ? 12 : 2;
        const float d = spread * kBossRadiansPerDegree;
        for (int32_t i = 0; i < pairs; ++i) {
            FireRadians(from, f + d, speed + 0.015f * float(i), 0, 1.0f);
            FireRadians(from, f - d, speed + 0.015f * float(i), 0, 1.0f);
        }
        spread += 14.0f;
        speed += 0.005f;
        return;
    }
    if (kind == 1) {
        // Reversed velocities: the angle plus half a turn.
        for (int32_t i = -1; i <= 1; ++i) {
            const float a = f + float(i) * kBossRadiansPerDegree + kPi;
            FireRadians(from, a, i == 0 ? speed + 0.02f : speed, 0, 1.0f);
        }
        return;
    }
    if ((GetShotsLeft() & 4) != 0) {
        angle += 7.0f;
        return;
    }
    static const int32_t kSprites[3] = {10, 11, 10};
    for (float sign : {1.0f, -1.0f}) {
        const float a = f + sign * angle * kBossRadiansPerDegree;
        for (int32_t i = 0; i < 3; ++i)
            FireRadians(from, a, speed + 0.008f * float(i), kSprites[i], 1.0f);
    }
    angle += 3.0f;
}

// ---- holders ---------------------------------------------------------------------------

Boss1KiraiCover::Boss1KiraiCover(TaskObject* p, GameWorldScreen* s)
    : BossWeaponModel(p, s, "ba_01zenyoku_kirai_cover", Vec3{0.0f, 0.5f, -2.0f}, false) {
    AddPattern(new Boss1KiraiSpin(this, s, false, "kirai.0"));
    AddPattern(new Boss1KiraiSpin(this, s, true, "kirai.1"));
    AddPattern(new Boss1Ring(this, s, 30, 3, "kirai.2"));
}

void Boss1KiraiCover::OnUpdatePre() {
    if (opening != 0) {
        offset.z = slide.Step(-3.0f, offset.z);
        if (offset.z == -3.0f)
            opening = 0;
    }
    BossWeaponModel::OnUpdatePre();
}

Boss1HoudaiB::Boss1HoudaiB(TaskObject* p, GameWorldScreen* s)
    : BossWeaponModel(p, s, "ba_01zenyoku_houdai_B", Vec3{0.0f, 1.2f, 0.8f}, true) {
    static const char* const kLabels[5] = {"houdaiB.0", "houdaiB.1", "houdaiB.2", "houdaiB.3", "houdaiB.4"};
    for (int32_t i = 0; i < 5; ++i)
        AddPattern(new Boss1HoudaiBPattern(this, s, i, kLabels[i]));
}

Boss1HoudaiS::Boss1HoudaiS(TaskObject* p, GameWorldScreen* s, bool layerFive)
    : BossWeaponModel(p, s, "ba_01zenyoku_houdai_S", Vec3{0.0f, 0.0f, 0.0f}, true) {
    static const char* const kSix[3] = {"houdaiS6.0", "houdaiS6.1", "houdaiS6.2"};
    static const char* const kFive[3] = {"houdaiS5.0", "houdaiS5.1", "houdaiS5.2"};
    for (int32_t i = 0; i < 3; ++i)
        AddPattern(new Boss1HoudaiSPattern(this, s, i, layerFive, layerFive ? kFive[i] : kSix[i]));
}

Boss1TwinCannon::Boss1TwinCannon(TaskObject* p, GameWorldScreen* s, Boss1Wing wing)
    : BossWeaponModel(p, s, "ba_01zenyoku_2renhou", Vec3{0.0f, 0.0f, 0.0f}, false) {
    AddPattern(new Boss1TwinCannonPattern(this, s, wing == Boss1Wing::kA ? "cannonA" : "cannonB"));
}

void Boss1TwinCannon::SwitchPattern(int32_t k) {
    BossPattern* pattern = patterns[0];
    if (pattern == nullptr)
        return;
    if (k == 0) {
        pattern->Restart();
    } else if (k == 1) {
        // Starts a firing only when none runs: the stop the schedule asks for is a start.
        if (pattern->GetBurstsLeft() == 0) {
            if (WorldEventLog* log = BossLog(pattern->OwnerScreen()))
                log->Record("BossPatternStart", pattern->label);
        }
        pattern->SetFiring(true);
    }
}

}  // namespace mareldon
