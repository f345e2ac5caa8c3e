#include "game/objects/GunshipEnemies.h"

#include <cmath>

#include "game/objects/DeathReactions.h"
#include "game/objects/StageGuns.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

using Row = GunRow;
constexpr uint8_t kL = GunRow::kLow;
constexpr uint8_t kLN = GunRow::kLow | GunRow::kNear;

int32_t StageOf(const GameWorldScreen* world) {
    return world != nullptr ? world->GetPlayingStage() : 0;
}

int32_t LevelOf(const GameWorldScreen* world) {
    return world != nullptr ? world->GetDifficultyLevel() : 0;
}

Vec3 Moved(const Vec3& p, float dx, float dy, float dz) {
    return {p.x + dx, p.y + dy, p.z + dz};
}

// Volley starts, steps and after-shot hooks of these guns.

void AddSpeed001(TableGun& g) {
    g.storedSpeed += 0.01f;
}
void AddSpeed0012(TableGun& g) {
    g.storedSpeed += 0.012f;
}
void AddSpeed0005(TableGun& g) {
    g.storedSpeed += 0.005f;
}
void AddSpeed00008(TableGun& g) {
    g.storedSpeed += 0.0008f;
}
void AddSpeed00001(TableGun& g) {
    g.storedSpeed += 0.0001f;
}
void SpeedAndTurn(TableGun& g) {
    g.storedSpeed += 0.002f;
    g.storedAngle += g.row.turn;
}
void TurnAfterShot(TableGun& g) {
    g.storedAngle += g.row.turn;
}
void CountShot(TableGun& g) {
    g.counter += 1;
}

// The bosses' shared volley start; stands in until their code brings its own.
void BossStart(TableGun& g) {
    g.storedSpeed = 0.08f;
    g.AimFromParentToPlayer();
}

void HikouteiSetup(TableGun& g) {
    g.index = StageOf(g.world);
    g.shots = gunship::HikouteiShots(g.index, LevelOf(g.world));
}
void HikouteiStep(TableGun& g) {
    if (g.index == 3 && g.storedSpeed < 0.08f)
        g.storedSpeed += 0.002f;
}
void TankIsekiESetup(TableGun& g) {
    g.shots = gunship::TankIsekiEShots(LevelOf(g.world));
}
// The first ten active steps turn the ring a whole radian each.
void LensRingStep(TableGun& g) {
    if (g.counter < 10) {
        g.storedAngle += 1.0f;
        g.counter += 1;
    }
}
void PorvikRate(TableGun& g) {
    g.second = std::fmin(g.second + 0.003f, 0.1f);
}

// Shot patterns.

void RandomKinds(TableGun& g, const Vec3& p, float a, float s) {
    for (float offset : {-0.08726647f, 0.0f, 0.08726647f}) {
        const int32_t kind = int32_t(g.random.Next() % 10u);
        g.Shoot(p, AngleVelocity(a + offset, s), kind, 1.0f);
    }
}

void Hikoutei(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(Moved(p, 0.0f, 0.0f, -0.5f), AngleVelocity(a, s), 10, 1.0f);
    if (g.index != 3)
        return;
    g.Shoot(Moved(p, 0.0f, 0.0f, 0.5f), AngleVelocity(a, s * 2.0f), 11, 1.0f);
    g.Shoot(Moved(p, 0.0f, 0.0f, 0.5f), AngleVelocity(a, s * 3.0f), 11, 1.0f);
}

void KuziraFive(TableGun& g, const Vec3& p, float a, float s) {
    const Vec3 at = Moved(p, 0.0f, 0.0f, -0.8f);
    g.Shoot(at, AngleVelocity(a - 0.5235988f, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a + 0.5235988f, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a - 0.2617994f, s), 10, 1.0f);
    g.Shoot(at, AngleVelocity(a + 0.2617994f, s), 10, 1.0f);
}

void LargeWingThree(TableGun& g, const Vec3& p, float a, float s) {
    const Vec3 at = Moved(p, 0.0f, 0.0f, -0.8f);
    g.Shoot(at, AngleVelocity(a, s), 10, 1.0f);
    g.Shoot(at, AngleVelocity(a - 0.04f, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a + 0.04f, s), 11, 1.0f);
}

void Bs4tSix(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a - 0.03f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.03f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a, 0.15f), 10, 1.0f);
}

// The spread offset the volley start drew turns the aim after every shot.
void StepSingle(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 11, 1.1f);
    g.storedAngle += g.second;
}

void StepTriple(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s * 1.0f), 10, 1.1f);
    g.Shoot(p, AngleVelocity(a, s * 0.9f), 10, 1.1f);
    g.Shoot(p, AngleVelocity(a, s * 0.8f), 10, 1.1f);
    g.storedAngle += g.second;
}

void NirenFan(TableGun& g, const Vec3& p, float a, float s) {
    const Vec3 at = Moved(p, 0.0f, 0.0f, -1.6f);
    g.Shoot(at, AngleVelocity(a - 0.34906587f, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a, s), 11, 1.0f);
    g.Shoot(at, AngleVelocity(a + 0.34906587f, s), 11, 1.0f);
}

void NirenLoose(TableGun& g, const Vec3& p, float a, float s) {
    const Vec3 at = Moved(p, 0.0f, 0.0f, -1.6f);
    for (int i = 0; i < 3; ++i) {
        const float offset = g.random.Range(-7.5f * kDegree, 7.5f * kDegree);
        g.Shoot(at, AngleVelocity(a + offset, s), 10, 1.0f);
    }
}

void TripleAt005(TableGun& g, const Vec3& p, float a, float s) {
    g.Shoot(p, AngleVelocity(a, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a - 0.05f, s), 10, 1.0f);
    g.Shoot(p, AngleVelocity(a + 0.05f, s), 10, 1.0f);
}

// spin: the spread, from 1 down to 0 by 0.01 a shot; second: the rate field.
void PorvikSpray(TableGun& g, const Vec3& p, float a, float s) {
    const int32_t kind = (g.random.Next() & 1u) != 0 ? 11 : 0;
    const float size = g.random.Range(0.8f, 1.2f);
    const float reach = g.spin * 0.06981318f;
    const float offset = g.random.Range(-reach, reach);
    g.Shoot(p, AngleVelocity(a + offset, s * (1.0f - g.spin / 2.0f)), kind, size);
    if (g.spin > 0.0f)
        g.spin -= 0.01f;
}

// row.turn: the turn per half shot.
void OugonSpray(TableGun& g, const Vec3& p, float, float s) {
    for (int i = 0; i < 2; ++i) {
        g.counter += 1;
        g.storedAngle += g.row.turn;
        if (g.counter % 10 < 5)
            g.Shoot(p, AngleVelocity(g.storedAngle, s), 10, 1.0f);
    }
}

void StageTenWave(TableGun& g, const Vec3& p, float a, float s) {
    const float angle = a + std::sin(float(g.counter) * 0.1f) * 0.5f;
    g.Shoot(p, AngleVelocity(angle, s + g.random.Range(0.0f, 0.015f)), 10, 1.0f);
}

// second: the shot count of the volley; spin: the turn of the two triads.
void StageTenTriads(TableGun& g, const Vec3& p, float a, float s) {
    g.second += 1.0f;
    const int32_t count = int32_t(g.second);
    if (count == 9 || count == 10 || count == 15 || count == 16)
        return;
    const Vec3 at = Moved(p, 0.0f, 8.0f, 0.0f);
    for (float sense : {1.0f, -1.0f}) {
        const float b = a + sense * std::sin(g.spin);
        for (float offset : {-2.0943952f, 0.0f, 2.0943952f})
            g.Shoot(at, AngleVelocity(b + offset, s), 0, g.random.Range(0.8f, 1.2f));
    }
}

void StageTenSpin(TableGun& g) {
    g.spin += 0.03490659f;
}

void BackwardSprite1(TableGun& g, const Vec3& p, float a, float s) {
    g.FireBackward(p, a, s);
}

void BackwardSprite0(TableGun& g, const Vec3& p, float a, float s) {
    g.FireBackwardKind0(p, a, s);
}

void LensRing(TableGun& g, const Vec3& p, float a, float s) {
    for (int k = 0; k < 20; ++k)
        g.Shoot(p, AngleVelocity(a + float(k) * 18.0f * kDegree, s), 5, 1.0f);
}

// The classes.

constexpr Row kSmallCraft1First{
    .shots = 1, .gap = 6, .pause = 20, .suppress = kLN, .start = gun::AimSpeed, .kind = 10, .speed = 0.08f};
constexpr Row kSmallCraft1{.shots = 2,
                           .gap = 3,
                           .pause = 10,
                           .suppress = kLN,
                           .start = gun::ProjectedAimSpeed,
                           .kind = 10,
                           .speed = 0.08f};
constexpr Row kSmallCraft2First{.shots = 10,
                                .gap = 8,
                                .pause = 40,
                                .fire = RandomKinds,
                                .start = gun::AimRandomSpeed,
                                .a = 0.04f,
                                .b = 0.12f};
constexpr Row kSmallCraft2{.shots = 10,
                           .gap = 8,
                           .pause = 40,
                           .fire = RandomKinds,
                           .start = gun::AimRandomSpeed,
                           .a = 0.04f,
                           .b = 0.12f};
constexpr Row kHoudaiKari{
    .shots = 2, .gap = 5, .pause = 30, .suppress = kLN, .start = gun::AimSpeed, .kind = 11, .speed = 0.05f};
constexpr Row kHikoutei{.shots = 1,
                        .gap = 3,
                        .pause = 50,
                        .suppress = kL,
                        .fire = Hikoutei,
                        .start = gun::AimSpeed,
                        .step = HikouteiStep,
                        .setup = HikouteiSetup,
                        .speed = 0.03f};
constexpr Row kItemC1{
    .shots = 10, .gap = 2, .pause = 40, .delay = 10, .start = AddSpeed001, .step = gun::Aim, .kind = 10};
constexpr Row kItemC2{.shots = 20,
                      .gap = 2,
                      .pause = 20,
                      .start = gun::SpeedOnly,
                      .step = gun::Aim,
                      .kind = 11,
                      .speed = 0.04f};
// The three small craft with two aimed shots a volley; the delay is set per gun.
constexpr Row kFukuyou{.shots = 2,
                       .gap = 1,
                       .pause = 60,
                       .volleys = 2,
                       .suppress = kLN,
                       .start = gun::AimDifficultySpeed,
                       .afterShot = AddSpeed0012,
                       .a = 0.08f,
                       .b = 0.1f};
constexpr Row kPairedShots{.shots = 2,
                           .gap = 1,
                           .pause = 60,
                           .volleys = 2,
                           .start = gun::AimSpeed,
                           .afterShot = AddSpeed0012,
                           .speed = 0.05f};
constexpr Row kKuzira1{.shots = 10,
                       .gap = 20,
                       .pause = 10,
                       .volleys = 20,
                       .delay = 40,
                       .fire = KuziraFive,
                       .start = gun::DifficultySpeed,
                       .afterShot = SpeedAndTurn,
                       .a = 0.01f,
                       .b = 0.06f,
                       .turn = 1.308997f};
constexpr Row kKuzira2{.shots = 10,
                       .gap = 20,
                       .pause = 10,
                       .volleys = 20,
                       .delay = 40,
                       .fire = KuziraFive,
                       .start = gun::DifficultySpeed,
                       .afterShot = SpeedAndTurn,
                       .a = 0.01f,
                       .b = 0.06f,
                       .turn = -1.308997f};
constexpr Row kKuziraStream{.shots = 16,
                            .gap = 20,
                            .pause = 40,
                            .volleys = 10,
                            .delay = 80,
                            .fire = gun::Stream,
                            .start = gun::DifficultySpeed,
                            .afterShot = AddSpeed001,
                            .a = 0.01f,
                            .b = 0.16f};
constexpr Row kLargeWing{.shots = 20,
                         .gap = 4,
                         .pause = 60,
                         .fire = LargeWingThree,
                         .start = gun::AimSpeed,
                         .step = AddSpeed00008,
                         .speed = 0.064f};
constexpr Row kEnbanFirst{.shots = 1,
                          .gap = 3,
                          .pause = 10,
                          .suppress = kL,
                          .start = gun::AimDifficultySpeed,
                          .kind = 26,
                          .a = 0.25f,
                          .b = 0.09f};
constexpr Row kEnban{.shots = 3,
                     .gap = 3,
                     .pause = 10,
                     .suppress = kL,
                     .start = gun::AimDifficultySpeed,
                     .kind = 26,
                     .a = 0.25f,
                     .b = 0.09f};
constexpr Row kBs4t6{.shots = 5,
                     .gap = 1,
                     .pause = 10,
                     .volleys = 10,
                     .delay = 10,
                     .fire = Bs4tSix,
                     .start = gun::AimSpeed,
                     .afterShot = AddSpeed0012,
                     .speed = 0.15f};
constexpr Row kBs4t14{.shots = 20,
                      .gap = 1,
                      .pause = 20,
                      .volleys = 5,
                      .delay = 20,
                      .start = gun::AimSpeed,
                      .afterShot = TurnAfterShot,
                      .kind = 11,
                      .size = 1.5f,
                      .speed = 0.2f,
                      .turn = 1.3962635f};
constexpr Row kBs4t5{.shots = 20,
                     .gap = 1,
                     .pause = 20,
                     .volleys = 5,
                     .delay = 20,
                     .start = gun::AimSpeed,
                     .afterShot = TurnAfterShot,
                     .kind = 10,
                     .speed = 0.05f,
                     .turn = 1.3962635f};
constexpr Row kTankIsekiE{.shots = 1,
                          .gap = 3,
                          .pause = 10,
                          .delay = 20,
                          .suppress = kLN,
                          .fire = StepSingle,
                          .start = gun::AimSpreadSpeed,
                          .setup = TankIsekiESetup,
                          .speed = 0.1f};
constexpr Row kTankIsekiC{.shots = 4,
                          .gap = 3,
                          .pause = 50,
                          .delay = 20,
                          .suppress = kL,
                          .fire = StepTriple,
                          .start = gun::AimSpreadSpeed,
                          .speed = 0.15f};
constexpr Row kNiren1{.shots = 16,
                      .gap = 8,
                      .pause = 20,
                      .volleys = 10,
                      .delay = 160,
                      .fire = NirenFan,
                      .start = gun::AimDifficultySpeed,
                      .afterShot = AddSpeed0005,
                      .a = 0.01f,
                      .b = 0.08f};
constexpr Row kNiren2{.shots = 16,
                      .gap = 2,
                      .pause = 20,
                      .delay = 160,
                      .fire = NirenLoose,
                      .start = gun::AimNearestSpeed,
                      .afterShot = AddSpeed0005,
                      .speed = 0.08f};
constexpr Row kTankABFirst{.shots = 2,
                           .gap = 5,
                           .pause = 100,
                           .suppress = kLN,
                           .fire = gun::Backward,
                           .start = gun::SpeedThenAimFromParent};
constexpr Row kTankAB{.shots = 1,
                      .gap = 2,
                      .pause = 80,
                      .suppress = kLN,
                      .fire = TripleAt005,
                      .start = gun::AimDifficultySpeed,
                      .a = 0.01f,
                      .b = 0.15f};
constexpr Row kPorvik1{.shots = 10,
                       .gap = 3,
                       .pause = 60,
                       .delay = 100,
                       .suppress = kLN,
                       .afterShot = TurnAfterShot,
                       .kind = 10,
                       .turn = -0.64577186f};
constexpr Row kPorvik2{.shots = 10,
                       .gap = 3,
                       .pause = 60,
                       .delay = 100,
                       .suppress = kLN,
                       .afterShot = TurnAfterShot,
                       .kind = 10,
                       .turn = 0.64577186f};
constexpr Row kPorvik3{.shots = 2000,
                       .gap = 1,
                       .pause = 30,
                       .delay = 30,
                       .suppress = kLN,
                       .fire = PorvikSpray,
                       .start = gun::ProjectedAimSpeed,
                       .afterShot = PorvikRate,
                       .speed = 0.22f};
constexpr Row kOugon1{.shots = 1000, .gap = 0, .pause = 20, .fire = OugonSpray, .turn = 0.03490659f};
constexpr Row kOugon2{.shots = 1000, .gap = 0, .pause = 20, .fire = OugonSpray, .turn = -0.03490659f};
constexpr Row kOugon3{.shots = 3, .gap = 2, .pause = 2, .delay = 20, .start = gun::AimSpeed, .kind = 20};
constexpr Row kStageTen17{.shots = 100,
                          .gap = 1,
                          .pause = 100,
                          .delay = 50,
                          .suppress = kL,
                          .fire = StageTenWave,
                          .start = gun::AimNearestSpeed,
                          .afterShot = CountShot};
constexpr Row kStageTen4{.shots = 30,
                         .gap = 3,
                         .pause = 20,
                         .delay = 120,
                         .suppress = kL,
                         .fire = StageTenTriads,
                         .start = gun::ProjectedAimFromAbove,
                         .afterShot = StageTenSpin};

}  // namespace

namespace gunship {

int32_t HikouteiShots(int32_t stage, int32_t level) {
    if (stage == 1)
        return 1;
    static constexpr int32_t kShots[8] = {4, 4, 6, 6, 8, 10, 10, 12};
    return level >= 0 && level < 8 ? kShots[level] : 8;
}

int32_t TankIsekiEShots(int32_t level) {
    static constexpr int32_t kShots[8] = {1, 1, 2, 2, 3, 3, 4, 5};
    return level >= 0 && level < 8 ? kShots[level] : 3;
}

// The lens turret's guns by kind; kind 2 is the floating island's gun.
const GunRow kLensRing{.shots = 3,
                       .gap = 10,
                       .pause = 100,
                       .suppress = kL,
                       .fire = LensRing,
                       .start = gun::SpeedOnly,
                       .step = LensRingStep,
                       .speed = 0.04f};
const GunRow kLensBack{
    .shots = 2, .gap = 5, .pause = 100, .suppress = kL, .fire = BackwardSprite1, .start = BossStart};
const GunRow kLensStream{.shots = 10,
                         .gap = 2,
                         .pause = 5,
                         .suppress = kL,
                         .fire = BackwardSprite0,
                         .start = BossStart,
                         .step = AddSpeed00001};

const GunRow* LensGun(int32_t kind) {
    switch (kind) {
        case 0:
            return &kLensBack;
        case 1:
            return &kLensRing;
        case 2:
            return &UkishimaGunRow();
        case 3:
            return &kLensStream;
        default:
            return nullptr;
    }
}

}  // namespace gunship

// ---------------------------------------------------------------------------------------

BuiltInGun::BuiltInGun(Enemy* owner, GameWorldScreen* screen, const GunRow& gunRow, BuiltInGun** holder)
    : TableGun(owner, screen, gunRow), slot(holder) {
    // Its shots are noted under the enemy's layer name.
    if (owner != nullptr)
        name = owner->name;
}

BuiltInGun::~BuiltInGun() {
    if (slot != nullptr && *slot == this)
        *slot = nullptr;
}

GunshipEnemy::GunshipEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args,
                           GunshipHit hitRule, DeathReaction deathReaction)
    : LayerFormEnemy(parentTask, info, args.durability, args.radius, args.linger, args.bonus, args.explosion,
                     HitRule::kAlways, deathReaction),
      hit(hitRule),
      stage(StageOf(info.owner)),
      scorchFlag(args.flag) {
    // Named now (the binding names it again later): the guns take the name.
    name = info.name;
}

GunshipEnemy::~GunshipEnemy() {
    // The guns empty their slots here as they go.
    DeleteChildren();
}

int32_t GunshipEnemy::GunCount() const {
    int32_t count = 0;
    for (const BuiltInGun* gun : guns)
        count += gun != nullptr ? 1 : 0;
    return count;
}

BuiltInGun* GunshipEnemy::AddGun(const GunRow& gunRow) {
    for (BuiltInGun*& slotRef : guns) {
        if (slotRef == nullptr) {
            slotRef = new BuiltInGun(this, world, gunRow, &slotRef);
            return slotRef;
        }
    }
    return nullptr;
}

BuiltInGun* GunshipEnemy::AddGun(const GunRow& gunRow, float speed, float angle) {
    BuiltInGun* gun = AddGun(gunRow);
    if (gun != nullptr) {
        gun->storedSpeed = speed;
        gun->storedAngle = angle;
    }
    return gun;
}

void GunshipEnemy::MoveToPivot(BuiltInGun* gun) {
    if (gun != nullptr)
        gun->SetPosition(GetPivot());
}

int32_t GunshipEnemy::RandomDelay() {
    return world != nullptr ? int32_t(world->GetRandom().Next() & 0xFFu) : 0;
}

void GunshipEnemy::OnUpdatePre() {
    switch (hit) {
        case GunshipHit::kAlways:
            RegisterHitSphere(GetWorldPosition(), radius);
            break;
        case GunshipHit::kWhenActive:
            if (IsInActiveWindow())
                RegisterHitSphere(GetWorldPosition(), radius);
            break;
        case GunshipHit::kSurfaced: {
            Vec3 up;
            LocalToWorld(up, Vec3{0.0f, 1.0f, 0.0f});
            if (up.y > 0.0f)
                RegisterHitSphere(GetWorldPosition(), 1.0f);
            break;
        }
        case GunshipHit::kDrawnOrigin:
            if (nodeDrawSelf != 0) {
                Vec3 origin;
                LocalToWorld(origin, Vec3{0.0f, 0.0f, 0.0f});
                RegisterHitSphere(origin, 1.0f);
            }
            break;
        case GunshipHit::kLargeWing: {
            // Without its gun it still offers itself; it just never fires.
            BuiltInGun* gun = guns[0];
            if (gun != nullptr)
                gun->enabled = 0;
            if (nodeDrawSelf == 0)
                break;
            bool taken = false;
            for (float x : {-1.5f, 0.0f, 1.5f}) {
                Vec3 centre;
                LocalToWorld(centre, Vec3{x, 0.0f, 0.0f});
                taken = RegisterHitSphere(centre, 1.0f) || taken;
            }
            if (taken && gun != nullptr)
                gun->enabled = 1;
            break;
        }
        case GunshipHit::kRaised:
            if (IsInActiveWindow())
                RegisterHitSphere(Moved(GetWorldPosition(), 0.0f, 7.0f, 0.0f), radius);
            break;
    }
}

// ---------------------------------------------------------------------------------------

SmallCraftEnemy::SmallCraftEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::SmallCraft) {
    const bool first = stage == 1;
    if (args.kind == 1)
        AddGun(first ? kSmallCraft1First : kSmallCraft1);
    else if (args.kind == 2)
        AddGun(first ? kSmallCraft2First : kSmallCraft2);
}

HoudaiKariEnemy::HoudaiKariEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kSurfaced, reactions::TurretDrop) {
    AddGun(kHoudaiKari);
}

HikouteiAoEnemy::HikouteiAoEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::DropStandard) {
    AddGun(kHikoutei);
}

ItemCEnemy::ItemCEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    AddGun(kItemC1, 0.05f, 0.0f);
    if (stage != 1)
        AddGun(kItemC2);
}

FukuyouEnemy::FukuyouEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    if (BuiltInGun* gun = AddGun(kFukuyou))
        gun->delay = RandomDelay();
}

KuziraYusoukiEnemy::KuziraYusoukiEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::DropStandard) {
    if (BuiltInGun* gun = AddGun(kKuzira1))
        gun->storedAngle = -40.0f * kDegree;
    if (BuiltInGun* gun = AddGun(kKuzira2))
        gun->storedAngle = 40.0f * kDegree;
    AddGun(kKuziraStream);
}

LargeWingEnemy::LargeWingEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kLargeWing, reactions::LargeWingDrop) {
    AddGun(kLargeWing);
}

EnbanEnemy::EnbanEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    AddGun(stage == 1 ? kEnbanFirst : kEnban);
}

Bs4tLayer6Enemy::Bs4tLayer6Enemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    AddGun(kBs4t6);
}

Bs4tLayer14Enemy::Bs4tLayer14Enemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    MoveToPivot(AddGun(kBs4t14));
}

Bs4tLayer5Enemy::Bs4tLayer5Enemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    MoveToPivot(AddGun(kBs4t5));
}

TankIsekiEEnemy::TankIsekiEEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::ScorchDrop) {
    AddGun(kTankIsekiE);
}

TankIsekiCEnemy::TankIsekiCEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::EmitterScorchDrop) {
    AddGun(kTankIsekiC);
}

NirenEnemy::NirenEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::ScatterDrop) {
    const int32_t shots = stage == 1 ? 8 : 16;
    for (const GunRow* gunRow : {&kNiren1, &kNiren2}) {
        if (BuiltInGun* gun = AddGun(*gunRow))
            gun->shots = shots;
    }
}

TankABEnemy::TankABEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kAlways, reactions::TankDrop) {
    AddGun(stage == 1 ? kTankABFirst : kTankAB);
}

SinkuukanEnemy::SinkuukanEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {
    if (BuiltInGun* gun = AddGun(kPairedShots))
        gun->delay = RandomDelay();
}

PorvikTankEnemy::PorvikTankEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kDrawnOrigin, reactions::FixedDrop) {
    AddGun(kPorvik1, 0.07f, 0.0f);
    AddGun(kPorvik2, 0.07f, 0.0f);
    // The spray starts at its widest and slowest and narrows shot by shot.
    if (BuiltInGun* gun = AddGun(kPorvik3))
        gun->spin = 1.0f;
}

OugonJetEnemy::OugonJetEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::NearestPlayerDrop) {
    AddGun(kOugon1, 0.08f, 90.0f * kDegree);
    AddGun(kOugon2, 0.06f, 90.0f * kDegree);
    AddGun(kOugon3, 0.14f, 0.0f);
}

GomaEnemy::GomaEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::PartingShot) {
    if (BuiltInGun* gun = AddGun(kPairedShots))
        gun->delay = RandomDelay();
}

StageTenLayer17Enemy::StageTenLayer17Enemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::ShortEmitterDropEffect) {
    AddGun(kStageTen17, 0.02f, 0.0f);
}

StageTenLayer4Enemy::StageTenLayer4Enemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kRaised, reactions::DropThenEmitter) {
    AddGun(kStageTen4);
}

BigFighterEnemy::BigFighterEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : GunshipEnemy(parentTask, info, args, GunshipHit::kWhenActive, reactions::DropStandard) {}

}  // namespace mareldon
