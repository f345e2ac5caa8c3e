#include "game/stage/PlayerGun.h"

#include <cmath>

#include "game/stage/EffectModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/HomingShot.h"
#include "game/stage/PodShot.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"

namespace mareldon {

namespace {

constexpr float kRadiansPerDegree = 0.017453294f;
constexpr float kPodScatter = 20.0f;
constexpr float kShip2SubLead = 0.1f;
constexpr int32_t kLevels = 4;
constexpr int32_t kKinds = 14;

// Damage per shot falls as the level raises the rate and the limit.
constexpr GunSpec kGuns[kKinds] = {
    {0,
     {4, 5, 6, 7},
     {0.34f, 0.36f, 0.38f, 0.40f},
     90.0f,
     {5, 4, 3, 2},
     {4, 5, 6, 7},
     0,
     {2.0f, 1.666f, 1.333f, 1.0f},
     "PSHOT_MUZZLE00"},
    {1,
     {3, 4, 5, 6},
     {0.28f, 0.30f, 0.32f, 0.34f},
     63.0f,
     {5, 4, 3, 2},
     {3, 4, 5, 6},
     1,
     {2.0f, 1.666f, 1.333f, 1.0f},
     "PSHOT_MUZZLE00"},
    {2,
     {3, 4, 5, 6},
     {0.28f, 0.30f, 0.32f, 0.34f},
     79.0f,
     {5, 4, 3, 2},
     {3, 4, 5, 6},
     1,
     {2.0f, 1.666f, 1.333f, 1.0f},
     "PSHOT_MUZZLE00"},
    {3,
     {3, 4, 5, 6},
     {0.28f, 0.30f, 0.32f, 0.34f},
     101.0f,
     {5, 4, 3, 2},
     {3, 4, 5, 6},
     1,
     {2.0f, 1.666f, 1.333f, 1.0f},
     "PSHOT_MUZZLE00"},
    {4,
     {3, 4, 5, 6},
     {0.28f, 0.30f, 0.32f, 0.34f},
     117.0f,
     {5, 4, 3, 2},
     {3, 4, 5, 6},
     1,
     {2.0f, 1.666f, 1.333f, 1.0f},
     "PSHOT_MUZZLE00"},
    {0,
     {4, 5, 6, 7},
     {0.34f, 0.36f, 0.38f, 0.40f},
     90.0f,
     {5, 4, 3, 2},
     {4, 5, 6, 7},
     0,
     {3.0f, 2.5f, 2.0f, 1.5f},
     "PSHOT_MUZZLE01"},
    {1,
     {6, 8, 10, 12},
     {0.36f, 0.38f, 0.40f, 0.42f},
     90.0f,
     {5, 4, 3, 2},
     {6, 8, 10, 12},
     7,
     {3.0f, 2.5f, 2.0f, 1.5f},
     "PSHOT_MUZZLE01"},
    {2,
     {6, 8, 10, 12},
     {0.36f, 0.38f, 0.40f, 0.42f},
     90.0f,
     {5, 4, 3, 2},
     {6, 8, 10, 12},
     7,
     {3.0f, 2.5f, 2.0f, 1.5f},
     "PSHOT_MUZZLE01"},
    {0,
     {3, 4, 5, 6},
     {0.4f, 0.4f, 0.4f, 0.4f},
     90.0f,
     {3, 4, 3, 2},
     {1, 4, 5, 6},
     0,
     {1.0f, 1.0f, 1.0f, 1.0f},
     "PSHOT_MUZZLE02"},
    {1,
     {5, 6, 7, 8},
     {0.4f, 0.4f, 0.4f, 0.4f},
     90.0f,
     {2, 2, 2, 2},
     {1, 1, 1, 1},
     13,
     {2.0f, 2.0f, 2.0f, 2.0f},
     "PSHOT_MUZZLE02_2"},
    {2,
     {5, 6, 7, 8},
     {0.4f, 0.4f, 0.4f, 0.4f},
     90.0f,
     {2, 2, 2, 2},
     {1, 1, 1, 1},
     13,
     {2.0f, 2.0f, 2.0f, 2.0f},
     "PSHOT_MUZZLE02_2"},
    {0,
     {3, 4, 5, 6},
     {0.4f, 0.4f, 0.4f, 0.4f},
     90.0f,
     {3, 4, 3, 2},
     {1, 4, 5, 6},
     0,
     {1.0f, 1.0f, 1.0f, 1.0f},
     "PSHOT_MUZZLE03"},
    {1,
     {6, 9, 12, 15},
     {0.15f, 0.15f, 0.15f, 0.15f},
     -1.0f,
     {1, 1, 1, 1},
     {1, 1, 1, 1},
     19,
     {0.2f, 0.1555f, 0.1222f, 0.1f},
     nullptr},
    {2,
     {6, 9, 12, 15},
     {0.15f, 0.15f, 0.15f, 0.15f},
     -1.0f,
     {1, 1, 1, 1},
     {1, 1, 1, 1},
     19,
     {0.2f, 0.1555f, 0.1222f, 0.1f},
     nullptr},
};

struct AttackTable {
    AttackVector vectors[kKinds][kLevels];
    AttackTable() {
        for (int32_t kind = 0; kind < kKinds; ++kind) {
            for (int32_t level = 0; level < kLevels; ++level)
                vectors[kind][level].values[size_t(kGuns[kind].attackComponent)] =
                    kGuns[kind].attackValue[level];
        }
    }
};

const AttackTable& Attacks() {
    static const AttackTable table;
    return table;
}

// The straight shot each gun fires (the homing and pod guns fire their own kinds).
StraightShotKind ShotOf(GunKind kind) {
    switch (kind) {
        case GunKind::Ship0Main:
            return StraightShotKind::Ship0Main;
        case GunKind::Ship0Sub1:
        case GunKind::Ship0Sub2:
        case GunKind::Ship0Sub3:
        case GunKind::Ship0Sub4:
            return StraightShotKind::Ship0Sub;
        case GunKind::Ship1Main:
            return StraightShotKind::Ship1Main;
        case GunKind::Ship1Sub1:
        case GunKind::Ship1Sub2:
            return StraightShotKind::Ship1Sub;
        case GunKind::Ship2Main:
            return StraightShotKind::Ship2Main;
        default:
            return StraightShotKind::Ship3Main;
    }
}

bool IsPodGun(GunKind kind) {
    return kind == GunKind::Ship3Pod1 || kind == GunKind::Ship3Pod2;
}

bool IsHomingGun(GunKind kind) {
    return kind == GunKind::Ship2Sub1 || kind == GunKind::Ship2Sub2;
}

}  // namespace

PlayerGunBase::PlayerGunBase(TaskObject* parentTask, GameWorldScreen* ownerScreen, int32_t number)
    : ShooterObject(parentTask, ownerScreen), playerNumber(number) {}

TaskObject* PlayerGunBase::GetBulletParent() const {
    return OwnerScreen() != nullptr ? OwnerScreen()->playerShotParent : nullptr;
}

Vec3 PlayerGunBase::GetMuzzlePosition() {
    return OwnerScreen()->ToStageCameraSpace(GetWorldPosition());
}

bool PlayerGunBase::BelowLimit() const {
    GameWorldScreen* screen = OwnerScreen();
    if (screen == nullptr || slotIndex < 0 || slotIndex >= GameWorldScreen::kPlayerSlotWords)
        return false;
    return screen->GetPlayerSlot(playerNumber)[slotIndex] < bulletLimit;
}

PlayerGun::PlayerGun(TaskObject* parentTask, GameWorldScreen* ownerScreen, int32_t number, GunKind gunKind)
    : PlayerGunBase(parentTask, ownerScreen, number), kind(gunKind) {
    SetSlotIndex(SpecOf(kind).slot);
}

const GunSpec& PlayerGun::SpecOf(GunKind kind) {
    return kGuns[int32_t(kind)];
}

const AttackVector& PlayerGun::AttackOf(GunKind kind, int32_t level) {
    return Attacks().vectors[int32_t(kind)][level];
}

int32_t PlayerGun::KindsOfShip(int32_t shipType, GunKind out[5]) {
    static constexpr int32_t kFirst[4] = {0, 5, 8, 11};
    static constexpr int32_t kCount[4] = {5, 3, 3, 3};
    if (shipType < 0 || shipType > 3)
        return 0;
    for (int32_t i = 0; i < kCount[shipType]; ++i)
        out[i] = GunKind(kFirst[shipType] + i);
    return kCount[shipType];
}

void PlayerGun::Configure() {
    const int32_t level = GetPowerLevel();
    if (level < 0 || level >= kLevels)
        return;
    const GunSpec& spec = SpecOf(kind);
    SetShotLevel(level);
    SetBulletLimit(spec.limit[level]);
    SetShotSpeed(spec.speed[level]);
    if (!IsPodGun(kind))
        SetShotAngle(spec.angle);
    SetAttack(AttackOf(kind, level));
    SetBurstInterval(0);
    SetShotInterval(spec.shotInterval[level]);
    SetBurstShots(spec.burstShots[level]);
    SetBurstCount(1);
}

void PlayerGun::FireShot() {
    TaskObject* parentNode = GetBulletParent();
    if (parentNode == nullptr || !BelowLimit())
        return;
    GameWorldScreen* screen = OwnerScreen();
    Vec3 at = GetMuzzlePosition();
    if (IsPodGun(kind)) {
        // Backward along the pod's axis, scattered by up to 20 degrees either way.
        const Vec3 f = GetWorldForward();
        const float r = screen->GetRandom().Range(-kPodScatter, kPodScatter);
        const float a = std::atan2(-f.z, -f.x) + r * kRadiansPerDegree;
        new Ship3PodBullet(parentNode, at, Vec3{std::cos(a), 0.0f, std::sin(a)}, GetShotSpeed(), screen,
                           GetPlayerNumber(), GetSlotIndex(), GetShotLevel(), GetAttack());
        screen->PlayShotSe();
        return;
    }
    Vec3 velocity;
    AngleToDirection(velocity, GetShotAngle(), GetShotSpeed());
    if (IsHomingGun(kind)) {
        at.z += kShip2SubLead;
        new Ship2SubBullet(parentNode, at, velocity, screen, GetPlayerNumber(), GetSlotIndex(),
                           GetShotLevel(), GetAttack(), GetShotSpeed());
    } else {
        new StraightShot(ShotOf(kind), parentNode, at, velocity, screen, GetPlayerNumber(), GetSlotIndex(),
                         GetShotLevel(), GetAttack());
    }
    RestartFlash();
    screen->PlayShotSe();
}

void PlayerGun::RestartFlash() {
    const char* flash = SpecOf(kind).flash;
    if (flash == nullptr)
        return;
    if (muzzleFlash != nullptr) {
        muzzleFlash->SetMotionTime(0.0f);
        return;
    }
    const float a = GetShotAngle() * kRadiansPerDegree;
    muzzleFlash =
        new EffectObject(this, OwnerScreen(), Vec3{0.0f, 0.0f, 0.0f}, Vec3{std::cos(a), 0.0f, std::sin(a)},
                         0.0f, Vec3{1.0f, 1.0f, 1.0f}, 1, flash);
}

}  // namespace mareldon
