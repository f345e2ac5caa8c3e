#include "game/bosses/MultiPartEnemy.h"

#include <cmath>
#include <string>

#include "game/bosses/BossParts.h"
#include "game/objects/LayerEnemy.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

const MultiPartEnemy::ScheduleEntry MultiPartEnemy::kSchedule[] = {
    {0, 1},    {74, 1},    {660, 1},   {174, 2},   {860, 2},   {1472, 3},  {1472, 4},  {1472, 5},
    {2072, 3}, {2072, 4},  {2072, 5},  {2800, 6},  {3174, 7},  {2900, 8},  {2900, 9},  {3000, 8},
    {3000, 9}, {3900, 10}, {3900, 11}, {4400, 11}, {4500, 11}, {4600, 12}, {4900, 13}, {4900, 14},
};
const int32_t MultiPartEnemy::kScheduleCount = int32_t(sizeof(kSchedule) / sizeof(kSchedule[0]));

MultiPartEnemy::MultiPartEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue)
    : Enemy(parentTask, info, durabilityValue) {}

MultiPartEnemy::MultiPartEnemy(TaskObject* parentTask) : Enemy(parentTask, kDurability) {}

bool MultiPartEnemy::IsAlive() {
    // The base test first: it keeps the window switches and the linger count.
    const bool alive = Enemy::IsAlive();
    return alive && gone == 0;
}

void MultiPartEnemy::OnUpdatePre() {
    const int32_t f = GetStepCount();
    if (deathRound != 0) {
        if (deathRound > 5)
            gone = 1;
        if ((f & 4) != 0) {
            ++deathRound;
            new ExplosionEmitter(this, world, 13.0f, 10, 2, 10, "EXPLOSION_ita_LA01", 360.0f, 360.0f, 0.1f,
                                 0.01f);
            new ExplosionEmitter(this, world, 13.0f, 10, 2, 2, "EXPLOSION_LG01", 360.0f, 360.0f, 0.1f, 0.01f);
        }
        return;
    }
    if (f > kHitFrom && f < kTimeUp) {
        RegisterHitSphere(GetWorldPosition(), kHitRadius);
    } else if (f >= kTimeUp && timeUp == 0) {
        timeUp = 1;
        OnDestroyed();
        return;
    }
    BuildGuns(f);
}

void MultiPartEnemy::BuildGuns(int32_t f) {
    const int32_t from = scheduleStarted != 0 ? scheduledUpTo : f - 1;
    scheduleStarted = 1;
    scheduledUpTo = f;
    if (f <= from)
        return;
    for (const ScheduleEntry& entry : kSchedule) {
        const int32_t at = entry.value - kHitFrom;
        if (at > from && at <= f) {
            if (WorldEventLog* log = BossLog(world))
                log->RecordFormat("BossGun", "%d %d", entry.gun, f);
            new MultiPartGun(this, world, entry.gun);
        }
    }
}

void MultiPartEnemy::OnDestroyed() {
    deathRound = 1;
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "stage6.destroyed %d", GetStepCount());
    if (world != nullptr) {
        world->PlayExplosionSe5();
        world->BeginStageClear();
    }
}

// ---- the guns --------------------------------------------------------------------------

namespace {

constexpr float kRightAngleDown = 4.712389f;
constexpr float kDegree = 0.017453294f;
constexpr float kTenDegrees = 0.17453294f;
constexpr float kTwoDegrees = 0.03490659f;

// Volley numbers per class: shots, between shots, pause, volleys, delay; -1 keeps the
// gun default.
struct GunNumbers {
    int32_t shots, between, pause, volleys, delay;
};

constexpr GunNumbers kNumbers[MultiPartGun::kClassCount + 1] = {
    {-1, -1, -1, -1, -1},                                                                  // unused
    {6, -1, 10, 10, -1},  {20, -1, 20, 5, -1}, {12, 1, 5, 14, -1},  {12, 1, 5, 14, -1},    // 1-4
    {6, -1, 10, 14, -1},  {8, 3, 50, 10, -1},  {5, 100, 10, 1, 10}, {100, 0, 60, 10, -1},  // 5-8
    {100, 0, 60, 10, -1}, {-1, 0, 100, 5, -1}, {30, 1, -1, 10, -1}, {10, -1, 0, 20, -1},   // 9-12
    {5, -1, 10, 18, 10},  {5, -1, 10, 18, 10},                                             // 13-14
};

int32_t Pick(int32_t value, int32_t fallback) {
    return value >= 0 ? value : fallback;
}

}  // namespace

MultiPartGun::MultiPartGun(Enemy* boss, GameWorldScreen* screen, int32_t cls)
    : GunPart(boss, screen), gunClass(cls < 1 || cls > kClassCount ? 1 : cls) {
    name = String(("MultiPartGun" + std::to_string(gunClass)).c_str());
    switch (gunClass) {
        case 2:
            storedAngle = 0.0f;
            counter = 0;
            second = kTwoDegrees;
            break;
        case 3:
        case 4:
            storedSpeed = 0.15f;
            break;
        case 5:
            storedSpeed = 0.15f;
            storedAngle = 0.0f;
            break;
        case 7:
        case 13:
        case 14:
            storedAngle = kRightAngleDown;
            counter = 0;
            break;
        case 8:
        case 9:
            storedSpeed = 0.1f;
            storedAngle = kRightAngleDown;
            counter = 0;
            break;
        case 10:
            storedSpeed = 0.02f;
            storedAngle = kRightAngleDown;
            counter = 0;
            break;
        default:
            break;
    }
}

int32_t MultiPartGun::ShotsPerVolley() {
    return Pick(kNumbers[gunClass].shots, GunPart::ShotsPerVolley());
}
int32_t MultiPartGun::FramesBetweenShots() {
    return Pick(kNumbers[gunClass].between, GunPart::FramesBetweenShots());
}
int32_t MultiPartGun::PauseBetweenVolleys() {
    return Pick(kNumbers[gunClass].pause, GunPart::PauseBetweenVolleys());
}
int32_t MultiPartGun::VolleyCount() {
    return Pick(kNumbers[gunClass].volleys, GunPart::VolleyCount());
}
int32_t MultiPartGun::InitialDelay() {
    return Pick(kNumbers[gunClass].delay, GunPart::InitialDelay());
}

float MultiPartGun::AimAtPlayer() {
    PlayerShip* ship = world != nullptr ? world->GetPlayer(3) : nullptr;
    if (ship == nullptr)
        return storedAngle;
    const Vec3 p = ship->GetWorldPosition();
    const Vec3 own = GetWorldPosition();
    return std::atan2(p.z - own.z, p.x - own.x);
}

float MultiPartGun::AimAtNearest() {
    const Vec3 own = GetWorldPosition();
    PlayerShip* ship = world != nullptr ? world->GetNearestPlayer(own) : nullptr;
    if (ship == nullptr)
        return storedAngle;
    const Vec3 p = ship->GetWorldPosition();
    return std::atan2(p.z - own.z, p.x - own.x);
}

void MultiPartGun::Bullet(const Vec3& position, float angle, float speed, int32_t cell) {
    Shoot(position, {std::cos(angle) * speed, 0.0f, std::sin(angle) * speed}, cell, 1.0f);
}

void MultiPartGun::OnVolleyStart() {
    switch (gunClass) {
        case 1:
            storedSpeed = 0.064f;
            storedAngle = AimAtPlayer();
            second = 0.08726647f;
            break;
        case 2: {
            const float m = float(GetStepCount() & 63);
            const float d = m - 31.5f;
            SetPosition(Vec3{-(d * d) * 0.00048828125f, 0.0f, 0.0f});
            storedSpeed = 0.09f;
            break;
        }
        case 3:
        case 4:
        case 5:
            storedAngle = AimAtNearest();
            second = storedAngle + 1.0471976f;
            third = storedAngle - 1.0471976f;
            counter = 0;
            break;
        case 6:
            storedSpeed = 0.03f;
            storedAngle = AimAtPlayer();
            break;
        case 7:
            storedSpeed = 0.02f;
            break;
        case 11:
        case 13:
        case 14:
            storedSpeed = 0.08f;
            break;
        case 12:
            halfWidth = 0;
            storedSpeed = 0.1f;
            third = AimAtPlayer();
            break;
        default:
            break;
    }
}

void MultiPartGun::OnShotFired() {
    if (gunClass == 1) {
        storedSpeed += 0.005f;
        second += 0.008726647f;
    }
}

void MultiPartGun::OnActiveStep() {
    switch (gunClass) {
        case 2:
            if ((GetStepCount() & 8) != 0)
                second = second >= kTwoDegrees ? -kTwoDegrees : kTwoDegrees;
            else
                storedAngle += second;
            break;
        case 3:
        case 4: {
            ++counter;
            const bool rising = (counter < 50) == (gunClass == 3);
            const float turn = rising ? kDegree : -kDegree;
            storedAngle += turn;
            second += turn;
            third += turn;
            break;
        }
        case 6:
            if (storedSpeed < 0.08f)
                storedSpeed += 0.002f;
            break;
        case 7:
            storedAngle += kTenDegrees;
            break;
        case 10:
            ++counter;
            if (counter > 80)
                storedSpeed = 0.08f;
            break;
        case 11:
            if (PlayerShip* ship = world != nullptr ? world->GetPlayer(3) : nullptr) {
                const Vec3 p = ship->GetWorldPosition();
                storedAngle = std::atan2(p.z, p.x);
            }
            ++counter;
            break;
        case 12:
            if (swingDown == 0) {
                halfWidth += 2;
                if (halfWidth >= 30)
                    swingDown = 1;
            } else {
                halfWidth -= 2;
                if (halfWidth < 0)
                    swingDown = 0;
            }
            break;
        case 13:
        case 14:
            storedAngle += kDegree;
            break;
        default:
            break;
    }
}

void MultiPartGun::FireBullet(const Vec3& position, float angle, float speed) {
    const float a = storedAngle;
    const float s = speed;
    switch (gunClass) {
        case 1:
            Bullet(position, a, s, 39);
            Bullet(position, a + second, s, 39);
            Bullet(position, a - second, s, 39);
            break;
        case 2:
            ++counter;
            for (int32_t k = 0; k < 12; ++k)
                Bullet(position, a + float(k * 30) * kDegree, s, 24);
            break;
        case 3:
        case 4:
            ++counter;
            if ((counter & 12) == 8)
                break;
            [[fallthrough]];
        case 5: {
            const int32_t cell = gunClass == 5 ? 54 : 16;
            Bullet(position, a, s, cell);
            Bullet(position, second, s, cell);
            Bullet(position, third, s, cell);
            break;
        }
        case 6:
            Bullet(position, a, s, 39);
            Bullet(position, a, s * 2.0f, 40);
            Bullet(position, a, s * 3.0f, 40);
            break;
        case 7:
            for (int32_t k = 2; k <= 37; ++k) {
                const float b = a + float(k) * kTenDegrees;
                Bullet(position, b, s, 10);
                Shoot(position, {std::cos(b) * s, s * 0.5235988f, std::sin(b) * s}, 11, 1.0f);
            }
            break;
        case 8:
        case 9: {
            const float turn = gunClass == 8 ? kTwoDegrees : -kTwoDegrees;
            ++counter;
            storedAngle += turn;
            if ((counter & 12) == 8)
                Bullet(position, storedAngle, s, 39);
            ++counter;
            storedAngle += turn;
            if ((counter & 12) == 4)
                Bullet(position, storedAngle, s, 39);
            break;
        }
        case 10:
            // The x and z of the second and third bullets come from different angles.
            for (int32_t k = 1; k <= 72; ++k) {
                const float d = kTenDegrees * float(k + 1);
                Bullet(position, a + d, s, 10);
                Shoot(position, {std::cos(a + d + 2.0f) * s, 0.0f, std::sin(a + d) * s}, 10, 1.0f);
                Shoot(position, {std::cos(a + d + 4.0f) * s, 0.0f, std::sin(a + d) * s}, 10, 1.0f);
            }
            break;
        case 11: {
            Bullet(position, a + float(counter) * 0.08726647f, s, 39);
            const float u = float(random.Next()) * 2.3283064e-10f;
            const float w = float(random.Next()) * 2.3283064e-10f;
            // Degree-sized values straight into sine and cosine: the spray's figure.
            Shoot(position, {std::cos(u * 90.0f - 45.0f) * s, 0.0f, std::sin(w * 90.0f - 45.0f) * s}, 40,
                  1.0f);
            break;
        }
        case 12:
            // The aim is radians read as degrees: the fan's figure.
            for (int32_t d = 270 - halfWidth; d < 270 + halfWidth; d += 5)
                Bullet(position, float(d) * kDegree + angle * kDegree, s, 13);
            break;
        case 13: {
            float e = kTenDegrees;
            for (int32_t i = 0; i <= 333; i += 37) {
                e += float(i) * kDegree;
                Bullet(position, a + e, s, 38);
            }
            break;
        }
        case 14: {
            float e = kTenDegrees;
            for (int32_t i = 0; i < 5; ++i) {
                e += kTenDegrees;
                const Vec3 from = position;
                Bullet(from, a + e, s, 38);
            }
            break;
        }
        default:
            break;
    }
}

// ---- registration ----------------------------------------------------------------------

namespace {

Object3D* BuildBoss6(Object3D* parent, NodeSpawnInfo& info) {
    return new MultiPartEnemy(parent, info);
}

Object3D* BuildPassive(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1.0f, 0.0f, String("NULL"));
}

}  // namespace

void RegisterBoss6(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    registry.Replace(Kind::kLayer, "ba_06medarion_gear:Layer0", BuildBoss6);
    for (int32_t n = 1; n <= 5; ++n)
        registry.Replace(Kind::kLayer, "ba_06medarion_gear:Layer" + std::to_string(n), BuildPassive);
}

}  // namespace mareldon
