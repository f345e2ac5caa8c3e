#include "game/bosses/Boss5Weapons.h"

#include <cmath>

#include "game/bosses/Boss5Muzzles.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

using R = Boss5Routine;

constexpr float kTwoPi = 6.2831855f;
constexpr float kDown = 4.712389f;

// medarion_5BOSS on the centre.
const Boss5PatternRow kMedarion[] = {
    {30, 0, 0, 16, R::kAlternatingRing24, 0.0f, 0.0f, 0, 0},
    {0, 1, 30, 1, R::kRandomQuad, 0.0f, 0.0f, 28, 427296771u},
    {20, 8, 1, 14, R::kAimedColumn2, 0.0f, 0.0f, 0, 427165699u},
    {0, 1, 240, 1, R::kRandomSpray, 0.0f, 0.0f, 28, 427296771u},
    {60, 0, 0, 6, R::kRosetteVolley, 1.5707964f, 0.0f, 40, 0},
    {60, 0, 0, 6, R::kRosetteVolley, 4.712389f, 0.0f, 39, 0},
    {0, 0, 0, 1, R::kRosetteDisc, 0.0f, 0.0f, 40, 0},
};

// The cyuou muzzles (U and R; L differs only in its drip routine's sprite, the same 33).
const Boss5PatternRow kCyuou[] = {
    {0, 3, 256, 1, R::kTwinSpiral, 0.0f, 0.12f, 24, 0},
    {0, 3, 10, 1, R::kAimedFan5, 0.0f, 0.45f, 16, 0},
    {0, 3, 10, 1, R::kAimedFan6, 0.0f, 0.45f, 16, 0},
    {0, 2, 320, 1, R::kForwardDrip, 0.0f, 0.1f, 33, 0},
};

const Boss5PatternRow kInazuma[] = {
    {0, 3, 256, 1, R::kTwinSpiral2, 0.0f, 0.12f, 24, 0},
    {0, 3, 10, 1, R::kAimedFan5, 0.0f, 0.45f, 16, 0},
    {0, 3, 10, 1, R::kAimedFan6, 0.0f, 0.45f, 16, 0},
    {0, 2, 320, 1, R::kForwardDrip, 0.0f, 0.1f, 32, 0},
};

const Boss5PatternRow kChusin1[] = {
    {0, 3, 128, 1, R::kTripleSpiral, 0.0f, 0.1f, 24, 0},
    {0, 3, 128, 1, R::kTripleSpiral2, 10313.24f, 0.1f, 24, 0},
    {30, 0, 0, 12, R::kRing96, 0.0f, 0.12f, 30, 0},
    {0, 1, 240, 1, R::kRandomSpray2, 0.0f, 0.0f, 28, 34752u},
    {10, 0, 0, 56, R::kTurningRing24, 0.0f, 0.12f, 26, 0},
    {10, 0, 0, 56, R::kTurningRing24b, 0.0f, 0.12f, 26, 0},
    {30, 4, 4, 8, R::kGrowingRing, kDown, 0.15f, 32, 0},
    {0, 4, 3, 1, R::kRing32, 0.0f, 0.06f, 12, 0},
    {0, 4, 3, 1, R::kRing32, 0.0f, 0.06f, 41, 0},
    {5, 0, 1, 11, R::kAimedColumn3, 0.0f, 0.0f, 10, 427165699u},
    {0, 2, 128, 1, R::kRandomWedge, 0.0f, 0.2f, 11, 2459867u},
    {10, 30, 1, 4, R::kPulsingRing32, 0.0f, 0.0f, 0, 0},
};

const char* const kMedarionLabels[] = {"medarion5.0", "medarion5.1", "medarion5.2", "medarion5.3",
                                       "medarion5.4", "medarion5.5", "medarion5.6"};
const char* const kChusinLabels[] = {"chusin1.0", "chusin1.1", "chusin1.2",  "chusin1.3",
                                     "chusin1.4", "chusin1.5", "chusin1.6",  "chusin1.7",
                                     "chusin1.8", "chusin1.9", "chusin1.10", "chusin1.11"};
const char* const kRingLabels[6][4] = {
    {"U_cyuou.0", "U_cyuou.1", "U_cyuou.2", "U_cyuou.3"},
    {"R_cyuou.0", "R_cyuou.1", "R_cyuou.2", "R_cyuou.3"},
    {"L_cyuou.0", "L_cyuou.1", "L_cyuou.2", "L_cyuou.3"},
    {"15_18_inazuma.0", "15_18_inazuma.1", "15_18_inazuma.2", "15_18_inazuma.3"},
    {"16_19_inazuma.0", "16_19_inazuma.1", "16_19_inazuma.2", "16_19_inazuma.3"},
    {"17_20_inazuma.0", "17_20_inazuma.1", "17_20_inazuma.2", "17_20_inazuma.3"},
};

}  // namespace

void AddBoss5Patterns(Boss5Muzzle& muzzle, GameWorldScreen* world) {
    switch (muzzle.slot) {
        case Boss5Slot::kMedarion5Boss:
            for (int32_t i = 0; i < 7; ++i)
                muzzle.AddPattern(MakeBoss5Pattern(&muzzle, world, kMedarion[i], kMedarionLabels[i]));
            break;
        case Boss5Slot::kChusin1:
            for (int32_t i = 0; i < 12; ++i)
                muzzle.AddPattern(MakeBoss5Pattern(&muzzle, world, kChusin1[i], kChusinLabels[i]));
            break;
        case Boss5Slot::kCount:
            break;
        default: {
            const int32_t ring = int32_t(muzzle.slot) - int32_t(Boss5Slot::kUCyuou);
            const Boss5PatternRow* rows = ring < 3 ? kCyuou : kInazuma;
            for (int32_t i = 0; i < 4; ++i)
                muzzle.AddPattern(MakeBoss5Pattern(&muzzle, world, rows[i], kRingLabels[ring][i]));
            break;
        }
    }
}

BossPattern* MakeBoss5Pattern(TaskObject* parent, GameWorldScreen* screen, const Boss5PatternRow& row,
                              const char* label) {
    const BurstSettings settings{row.burstInterval, row.shotInterval, row.burstShots, row.burstCount};
    switch (row.routine) {
        case R::kRandomSpray:
            return new RandomSprayPattern(parent, screen, label, settings, row.seed, SprayKind::kSprite28);
        case R::kRandomSpray2:
            return new RandomSprayPattern(parent, screen, label, settings, row.seed, SprayKind::kFast28);
        case R::kAimedColumn2:
            return new AimedColumnPattern(parent, screen, label, settings, row.seed, kAimedColumn2);
        case R::kAimedColumn3:
            return new AimedColumnPattern(parent, screen, label, settings, row.seed, kAimedColumn3);
        case R::kPulsingRing32:
            return new PulsingRingPattern(parent, screen, label, settings);
        case R::kRing32: {
            const float turn = row.sprite == 12 ? 0.061086528f : -0.061086528f;
            return new TurningRingPattern(
                parent, screen, label, settings,
                TurningRingSpec{row.speed, 0.1963495f, turn, 0.006f, row.sprite, 1.2f});
        }
        default:
            return new Boss5Pattern(parent, screen, row, label);
    }
}

Boss5Pattern::Boss5Pattern(TaskObject* parentTask, GameWorldScreen* screen, const Boss5PatternRow& patternRow,
                           const char* patternLabel)
    : BossFirePattern(parentTask, screen, patternLabel,
                      BurstSettings{patternRow.burstInterval, patternRow.shotInterval, patternRow.burstShots,
                                    patternRow.burstCount},
                      patternRow.seed),
      row(patternRow) {}

void Boss5Pattern::OnConfigure() {
    angle = row.angle;
    speed = row.speed;
}

void Boss5Pattern::OnBurstStart() {
    switch (row.routine) {
        case R::kAimedFan5:
        case R::kAimedFan6:
            angle = AimAtPlayer();
            break;
        case R::kGrowingRing: {
            angle = kDown;
            static const float kCounts[9] = {0.0f, 5.0f, 13.0f, 21.0f, 29.0f, 29.0f, 21.0f, 13.0f, 5.0f};
            const int32_t left = GetBurstsLeft();
            count = left >= 1 && left <= 8 ? kCounts[left] : 0.0f;
            break;
        }
        case R::kRandomWedge:
            speed = 0.2f;
            break;
        default:
            break;
    }
}

namespace {

// The rosette discs, outermost first.
constexpr int32_t kDiscCounts[12] = {38, 35, 32, 29, 26, 23, 21, 18, 15, 12, 9, 6};
constexpr float kDiscRadii[12] = {5.0004f, 4.5837f, 4.167f,  3.7503f, 3.3336f, 2.9169f,
                                  2.5002f, 2.0835f, 1.6668f, 1.2501f, 0.8334f, 0.4167f};
constexpr float kThirdTurn = 2.0943952f;
constexpr float kTwentyDegrees = 0.34906587f;

}  // namespace

void Boss5Pattern::FireShot() {
    const Vec3 at = Muzzle();
    switch (row.routine) {
        case R::kAlternatingRing24: {
            const bool odd = (GetBurstsLeft() & 1) != 0;
            FireRing(at, 24, angle, 0.2617994f, odd ? 0.08f : 0.05f, odd ? 12 : 41, 1.5f);
            angle += 0.1308997f;
            break;
        }
        case R::kRandomQuad:
            for (int32_t i = 0; i < 4; ++i) {
                const float a = Draw(0.0f, kTwoPi);
                const float s = Draw(0.1f, 0.3f);
                FireAgainst(at, a, s, 28, 1.0f);
            }
            break;
        case R::kRosetteVolley: {
            const RosetteSpec spec{12, 1.5f, 6, 0.75f, row.sprite, 1.5f};
            for (float group : {angle, angle + kThirdTurn, angle - kThirdTurn}) {
                FireRosettePair(at, group, 0.28f, spec);
                FireRosettePair(at, group + kTwentyDegrees, 0.18f, spec);
                FireRosettePair(at, group - kTwentyDegrees, 0.18f, spec);
            }
            break;
        }
        case R::kRosetteDisc: {
            const Vec3 velocity{std::cos(kDown) * 0.35f, 0.0f, std::sin(kDown) * 0.35f};
            for (int32_t i = 0; i < 12; ++i)
                FireRosette(at, kDiscCounts[i], kDiscRadii[i], velocity, 40, 1.3f);
            break;
        }
        case R::kTwinSpiral:
        case R::kTwinSpiral2: {
            // The second direction is the sine and cosine of a large sum, formed in float.
            const float second = angle + 10313.24f;
            FireAlong(at, angle, speed, 24, 1.0f);
            FireAlong(at, second, speed, 24, 1.0f);
            angle += row.routine == R::kTwinSpiral ? -0.1208305f : 0.1208305f;
            break;
        }
        case R::kAimedFan5:
            for (float offset : {-30.0f, -15.0f, 0.0f, 15.0f, 30.0f})
                FireBearing(at, angle + offset, 0.45f, 16, 1.0f);
            break;
        case R::kAimedFan6:
            for (float offset : {-38.0f, -22.5f, -7.5f, 7.5f, 22.5f, 38.0f})
                FireBearing(at, angle + offset, 0.45f, 16, 1.0f);
            break;
        case R::kForwardDrip: {
            if ((GetShotsLeft() & 4) == 0)
                break;
            const Vec3 f = Vec3Normalize(GetWorldForward());
            Fire(at, Vec3{-0.1f * f.x, -0.1f * f.y, -0.1f * f.z}, row.sprite, 1.5f);
            break;
        }
        case R::kTripleSpiral:
        case R::kTripleSpiral2: {
            const float a1 = angle + 6875.493f;
            const float a2 = angle + 13750.986f;
            const float a3 = angle + 20626.48f;
            FireAlong(at, a1, speed, 24, 1.0f);
            FireAlong(at, a2, speed, 24, 1.0f);
            FireAlong(at, a3, speed, 24, 1.0f);
            angle += row.routine == R::kTripleSpiral ? 0.09817477f : -0.09817477f;
            break;
        }
        case R::kRing96:
            FireRing(at, 96, 0.0f, 0.06544985f, 0.12f, 30, 1.0f);
            break;
        case R::kTurningRing24:
        case R::kTurningRing24b:
            FireRing(at, 24, angle, 0.2617994f, 0.12f, 26, 1.0f);
            angle += row.routine == R::kTurningRing24 ? 0.017453294f : -0.017453294f;
            break;
        case R::kGrowingRing: {
            const int32_t n = int32_t(count);
            for (int32_t i = 0; i < n; ++i) {
                FireAlong(at, angle, 0.15f, 32, 1.5f);
                angle += kTwoPi / count;
            }
            break;
        }
        case R::kRandomWedge: {
            const float b = Draw(0.0f, 360.0f);
            angle = b;
            static const float kP[6] = {9.0f, 6.0f, 3.0f, -3.0f, -6.0f, -9.0f};
            static const float kQ[6] = {12.0f, 8.0f, 2.0f, -2.0f, -8.0f, -12.0f};
            static const int32_t kSprites[6] = {11, 10, 11, 11, 10, 11};
            for (int32_t i = 0; i < 6; ++i) {
                const float v = (i == 2 || i == 3) ? speed + 0.05f : speed;
                const float x = std::cos((b + kP[i]) * kBossRadiansPerDegree) * v;
                const float z = std::sin((b + kQ[i]) * kBossRadiansPerDegree) * v;
                Fire(at, Vec3{x, 0.0f, z}, kSprites[i], 1.0f);
            }
            break;
        }
        default:
            // The shared routines are patterns of their own (MakeBoss5Pattern).
            break;
    }
}

}  // namespace mareldon
