#include "game/objects/DeathReactions.h"

#include <cmath>
#include <cstring>

#include "game/objects/GunshipEnemies.h"
#include "game/objects/LayerEnemies.h"
#include "game/objects/LensTurret.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/WreckModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr Vec3 kStill{0.0f, 0.0f, 0.0f};
constexpr const char* kScorchModel = "chijyou_bakha_ato4_0";

bool Named(const char* name) {
    return name != nullptr && std::strcmp(name, "NULL") != 0;
}

void NoteEmitter(GameWorldScreen& world, const char* kind, float radius, int32_t perVolley, int32_t interval,
                 int32_t volleys, const char* name) {
    if (WorldEventLog* log = world.GetEventLog())
        log->RecordFormat(kind, "%g %d %d %d %s", double(radius), perVolley, interval, volleys, name);
}

}  // namespace

namespace reaction {

void Drop(Enemy& enemy, const char* name) {
    if (enemy.world != nullptr && Named(name))
        enemy.world->SpawnItem(enemy.GetWorldPosition(), kStill, name);
}

void MultiDrop(Enemy& enemy, const char* name, const Vec3* points, int32_t count) {
    if (enemy.world == nullptr || !Named(name))
        return;
    for (int32_t i = 0; i < count; ++i) {
        Vec3 at;
        enemy.LocalToWorld(at, points[i]);
        enemy.world->SpawnItem(at, kStill, name);
    }
}

void Effect(Enemy& enemy, const char* name) {
    if (enemy.world != nullptr && Named(name))
        enemy.world->SpawnEffect(enemy.GetWorldPosition(), kStill, name, Vec3{1.0f, 1.0f, 1.0f});
}

void Scorch(Enemy& enemy, float scale, float drop) {
    if (enemy.world == nullptr)
        return;
    Vec3 at = enemy.GetWorldPosition();
    at.y -= drop;
    enemy.world->CreateUvScrollObject(at, kStill, kScorchModel, Vec3{scale, scale, scale}, 1);
}

void Emitter(Enemy& enemy, float radius, int32_t perVolley, int32_t interval, int32_t volleys,
             const char* name, float yaw, float yawSpread, float speed, float speedSpread) {
    if (enemy.world == nullptr)
        return;
    NoteEmitter(*enemy.world, "Emitter", radius, perVolley, interval, volleys, name);
    new ExplosionEmitter(&enemy, enemy.world, radius, perVolley, interval, volleys, name, yaw, yawSpread,
                         speed, speedSpread);
}

void NodeEmitter(Enemy& enemy, float radius, int32_t perVolley, int32_t interval, int32_t volleys,
                 const char* name, float yaw, float yawSpread, float speed, float speedSpread) {
    if (enemy.world == nullptr)
        return;
    NoteEmitter(*enemy.world, "NodeEmitter", radius, perVolley, interval, volleys, name);
    new NodeExplosionEmitter(&enemy, enemy.world, radius, perVolley, interval, volleys, name, yaw, yawSpread,
                             speed, speedSpread, Vec3{1.0f, 1.0f, 1.0f}, kStill);
}

void SoundRandom(Enemy& enemy) {
    if (enemy.world != nullptr)
        enemy.world->PlayExplosionSeRandom();
}

void Sound4(Enemy& enemy) {
    if (enemy.world != nullptr)
        enemy.world->PlayExplosionSe4();
}

void Cancel(Enemy& enemy) {
    if (enemy.world == nullptr)
        return;
    // Noted even when no bullet is out: the kill asked for it.
    if (WorldEventLog* log = enemy.world->GetEventLog())
        log->Record("CancelBullets");
    enemy.world->CancelAllEnemyBullets();
}

}  // namespace reaction

namespace reactions {

using namespace reaction;

namespace {

constexpr Vec3 kWingLine[] = {{0.0f, 0.0f, 0.0f},  {-0.4f, 0.0f, 0.0f}, {0.4f, 0.0f, 0.0f},
                              {-0.8f, 0.0f, 0.0f}, {0.8f, 0.0f, 0.0f},  {-1.2f, 0.0f, 0.0f},
                              {1.2f, 0.0f, 0.0f},  {-1.6f, 0.0f, 0.0f}, {1.6f, 0.0f, 0.0f}};

// The centre, then +-0.8, +-1.6, +-2.4 along x on the centre line and at z = +-0.8.
constexpr Vec3 kAntiAir[] = {
    {0.0f, 0.0f, 0.0f},  {-0.8f, 0.0f, 0.0f},  {0.8f, 0.0f, 0.0f},  {-1.6f, 0.0f, 0.0f},
    {1.6f, 0.0f, 0.0f},  {-2.4f, 0.0f, 0.0f},  {2.4f, 0.0f, 0.0f},  {-0.8f, 0.0f, 0.8f},
    {0.8f, 0.0f, 0.8f},  {-1.6f, 0.0f, 0.8f},  {1.6f, 0.0f, 0.8f},  {-2.4f, 0.0f, 0.8f},
    {2.4f, 0.0f, 0.8f},  {-0.8f, 0.0f, -0.8f}, {0.8f, 0.0f, -0.8f}, {-1.6f, 0.0f, -0.8f},
    {1.6f, 0.0f, -0.8f}, {-2.4f, 0.0f, -0.8f}, {2.4f, 0.0f, -0.8f}};

}  // namespace

void DropStandard(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    SoundRandom(e);
}

void TankLayer(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    if (e.world != nullptr)
        e.world->CreateUvScrollObject(e.GetWorldPosition(), kStill, kScorchModel, e.scorchScale, 1);
    SoundRandom(e);
}

void ScorchDrop(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    Scorch(e, 1.0f);
    SoundRandom(e);
}

void LargeScorchDrop(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    Scorch(e, 1.5f);
    SoundRandom(e);
}

void WingLine(LayerFormEnemy& e) {
    MultiDrop(e, "BONUS_M", kWingLine, 9);
    Effect(e, "EXPLOSION_ita_MA01");
    Sound4(e);
}

void EmitterDrop(LayerFormEnemy& e) {
    Emitter(e, 1.5f, 5, 2, 10, "EXPLOSION_ita_SA01");
    Drop(e, e.bonus.Text());
    SoundRandom(e);
}

void EmitterDropCancel(LayerFormEnemy& e) {
    EmitterDrop(e);
    Cancel(e);
}

void SmallEmitterDrop(LayerFormEnemy& e) {
    Emitter(e, 1.4f, 3, 2, 10, "EXPLOSION_ita_SA01");
    Drop(e, e.bonus.Text());
    SoundRandom(e);
}

void EmitterDropEffect(LayerFormEnemy& e) {
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_SA01");
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    SoundRandom(e);
}

void EmitterDropEffectCancel(LayerFormEnemy& e) {
    EmitterDropEffect(e);
    Cancel(e);
}

void MainBase(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
    SoundRandom(e);
    Cancel(e);
}

void AntiAirShip(LayerFormEnemy& e) {
    Emitter(e, 4.0f, 15, 2, 10, "EXPLOSION_ita_SA01");
    MultiDrop(e, "BONUS_M", kAntiAir, 19);
    SoundRandom(e);
}

void TubeShip(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    NodeEmitter(e, 3.0f, 15, 2, 10, "EXPLOSION_ita_SA01", -90.0f, 10.0f, 0.1f, 0.3f);
    SoundRandom(e);
}

namespace {

void HoverDrops(Enemy& e) {
    for (int i = 0; i < 3; ++i)
        Drop(e, "BONUS_M");
    Drop(e, "BONUS_L");
}

}  // namespace

void Hover(Enemy& e) {
    HoverDrops(e);
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_MA01");
    Scorch(e, 3.0f);
    Sound4(e);
    Cancel(e);
}

void Hover2(Enemy& e) {
    HoverDrops(e);
    Scorch(e, 3.0f);
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_MA01");
    Sound4(e);
    Cancel(e);
}

void Hover3(Enemy& e) {
    HoverDrops(e);
    Scorch(e, 3.0f, 0.5f);
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_MA01");
    Sound4(e);
    Cancel(e);
}

void HeavyTank(Enemy& e) {
    Emitter(e, 3.5f, 15, 2, 15, "EXPLOSION_ita_SA01", 360.0f, 360.0f, 0.1f, 0.025f);
    Drop(e, "BONUS_M");
    Effect(e, "EXPLOSION_ita_MA01");
    Sound4(e);
    Cancel(e);
}

void Tower(LayerFormEnemy& e) {
    Emitter(e, 7.0f, 1, 2, 10, "EXPLOSION_SG01");
    Drop(e, e.bonus.Text());
    SoundRandom(e);
}

void Battery(LayerFormEnemy& e) {
    if (e.world != nullptr) {
        NoteEmitter(*e.world, "NodeEmitter", 1.0f, 1, 2, 10, "EXPLOSION_SG01");
        new NodeExplosionEmitter(&e, e.world, 1.0f, 1, 2, 10, "EXPLOSION_SG01", 0.0f, 0.0f, 0.0f, 0.0f,
                                 Vec3{1.0f, 1.0f, 1.0f}, Vec3{0.0f, 7.0f, 0.0f});
    }
    Drop(e, e.bonus.Text());
}

void BigTurret(LayerFormEnemy& e) {
    Drop(e, "BONUS_L");
    Effect(e, "EXPLOSION_LG01");
    Scorch(e, 1.0f);
    SoundRandom(e);
}

namespace {

void LeaveWreck(LayerFormEnemy& e, const char* bonus) {
    if (auto* wrecked = dynamic_cast<WreckFormEnemy*>(&e))
        WreckModel::CreateFor(e, wrecked->wreckModel);
    Drop(e, bonus);
    Emitter(e, 6.0f, 20, 2, 10, "EXPLOSION_ita_SA01");
    SoundRandom(e);
}

// The centre, four steps each way along x and z, and two pairs above.
constexpr Vec3 kTransformed[] = {
    {0.0f, 0.0f, 0.0f},  {-0.4f, 0.0f, 0.0f}, {0.4f, 0.0f, 0.0f},  {-0.8f, 0.0f, 0.0f}, {0.8f, 0.0f, 0.0f},
    {-1.2f, 0.0f, 0.0f}, {1.2f, 0.0f, 0.0f},  {-1.6f, 0.0f, 0.0f}, {1.6f, 0.0f, 0.0f},  {0.0f, 0.0f, -0.4f},
    {0.0f, 0.0f, 0.4f},  {0.0f, 0.0f, -0.8f}, {0.0f, 0.0f, 0.8f},  {0.0f, 0.0f, -1.2f}, {0.0f, 0.0f, 1.2f},
    {0.0f, 0.0f, -1.6f}, {0.0f, 0.0f, 1.6f},  {-0.4f, 0.4f, 0.0f}, {0.4f, 0.4f, 0.0f},  {-0.4f, 0.8f, 0.0f},
    {0.4f, 0.8f, 0.0f}};

}  // namespace

void WreckDrop(LayerFormEnemy& e) {
    LeaveWreck(e, "BONUS_BOMB");
    Cancel(e);
}

void WreckDropNoCancel(LayerFormEnemy& e) {
    LeaveWreck(e, "BONUS_L");
}

void TransformingShip(LayerFormEnemy& e) {
    if (e.thirdControlFlag != 0)
        MultiDrop(e, "BONUS_M", kTransformed, 21);
    else
        Drop(e, "BONUS_L");
    Effect(e, "EXPLOSION_ita_MA01");
    Sound4(e);
}

namespace {

constexpr Vec3 kScatter[] = {{0.0f, 0.0f, 0.0f}, {-0.1f, 0.0f, 0.0f}, {0.1f, 0.0f, 0.0f}, {-0.2f, 0.0f, 0.0f},
                             {0.2f, 0.0f, 0.0f}, {-0.3f, 0.0f, 0.0f}, {0.3f, 0.0f, 0.0f}};

void DropAndEffect(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Effect(e, e.explosion.Text());
}

}  // namespace

void SmallCraft(LayerFormEnemy& e) {
    auto* craft = dynamic_cast<GunshipEnemy*>(&e);
    if (craft != nullptr && craft->scorchFlag != 0)
        Scorch(e, 1.0f);
    DropAndEffect(e);
    SoundRandom(e);
}

void TurretDrop(LayerFormEnemy& e) {
    Drop(e, "BONUS_S");
    Effect(e, "EXPLOSION_ita_SA01");
    Scorch(e, 1.0f);
    SoundRandom(e);
}

void TankDrop(LayerFormEnemy& e) {
    DropAndEffect(e);
    // On the transport the scorch waits for the control node's third flag.
    const Object3D* holder = e.ParentNode();
    const bool onTransport = holder != nullptr && holder->name.Equals("NULL_YUSOUKAN");
    if (!onTransport || e.thirdControlFlag != 0)
        Scorch(e, 1.0f);
    SoundRandom(e);
}

void LargeWingDrop(LayerFormEnemy& e) {
    Drop(e, "BONUS_M");
    Effect(e, "EXPLOSION_ita_MA01");
    Sound4(e);
}

void FixedDrop(LayerFormEnemy& e) {
    Drop(e, "BONUS_M");
    Effect(e, "EXPLOSION_ita_SA01");
    Sound4(e);
}

void ScatterDrop(LayerFormEnemy& e) {
    MultiDrop(e, "BONUS_M", kScatter, 7);
    Effect(e, e.explosion.Text());
    SoundRandom(e);
}

void EmitterScorchDrop(LayerFormEnemy& e) {
    Emitter(e, 1.5f, 5, 2, 10, "EXPLOSION_ita_SA01");
    Drop(e, e.bonus.Text());
    Scorch(e, 2.0f);
    SoundRandom(e);
}

void ShortEmitterDropEffect(LayerFormEnemy& e) {
    Emitter(e, 1.5f, 3, 2, 10, "EXPLOSION_ita_SA01");
    DropAndEffect(e);
    SoundRandom(e);
}

void DropThenEmitter(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_SA01");
    SoundRandom(e);
}

void NearestPlayerDrop(LayerFormEnemy& e) {
    // Looked up and left unused, as the reaction always did; it draws nothing.
    if (e.world != nullptr)
        (void)e.world->GetNearestPlayer(e.GetWorldPosition());
    DropStandard(e);
}

float PartingShotSpeed(int32_t level) {
    if (level >= 6 && level <= 7)
        return 0.1f;
    if (level >= 0 && level <= 2)
        return 0.06f;
    return 0.08f;
}

void PartingShot(LayerFormEnemy& e) {
    GameWorldScreen* world = e.world;
    auto* owner = dynamic_cast<GunshipEnemy*>(&e);
    if (world != nullptr && owner != nullptr) {
        const Vec3 pivot = e.GetWorldPosition();
        PlayerShip* nearest = world->GetNearestPlayer(pivot);
        bool far = nearest == nullptr;
        if (nearest != nullptr) {
            const Vec3 q = nearest->GetWorldPosition();
            far = Vec3Length(Vec3{q.x - pivot.x, q.y - pivot.y, q.z - pivot.z}) > 2.0f;
        }
        PlayerShip* target = far ? world->GetPlayer(3) : nullptr;
        if (target != nullptr) {
            const Vec3 p = target->GetWorldPosition();
            const float aim = std::atan2(p.z - pivot.z, p.x - pivot.x);
            const float base = PartingShotSpeed(world->GetDifficultyLevel());
            for (int i = 0; i < 10; ++i) {
                const float angle = aim + owner->random.Range(-10.0f * 0.017453292f, 10.0f * 0.017453292f);
                const float speed = base + owner->random.Range(0.0f, 0.05f);
                world->FireEnemyBullet(pivot, Vec3{std::cos(angle) * speed, 0.0f, std::sin(angle) * speed},
                                       41, 1.0f);
            }
        }
    }
    DropAndEffect(e);
    SoundRandom(e);
}

void LensTurret(LayerFormEnemy& e) {
    DropAndEffect(e);
    auto* turret = dynamic_cast<LensHoudaiEnemy*>(&e);
    const float scale = turret != nullptr && turret->kind == 0 ? 0.7f : 1.0f;
    if (e.world != nullptr && e.parent != nullptr)
        e.world->CreateUvScrollObjectUnder(static_cast<TaskObject*>(e.parent), e.GetPosition(), kStill,
                                           kScorchModel, Vec3{scale, scale, scale}, 1);
    SoundRandom(e);
    if (turret != nullptr)
        turret->intact = 0;
}

void LensBase(LayerFormEnemy& e) {
    Drop(e, e.bonus.Text());
    SoundRandom(e);
}

void LensCore(LayerFormEnemy& e) {
    Emitter(e, 4.0f, 10, 2, 10, "EXPLOSION_ita_SA01");
    Drop(e, "BONUS_L");
    // Only a core standing on a lens base has one to tell.
    if (auto* base = dynamic_cast<LensBaseEnemy*>(static_cast<TaskObject*>(e.parent))) {
        base->coreDestroyed = 1;
        if (base->TurretsLeft(LensBaseEnemy::kTurrets) == 0)
            Emitter(*base, 5.0f, 10, 2, 10, "EXPLOSION_ita_SA01");
    }
    SoundRandom(e);
}

}  // namespace reactions

}  // namespace mareldon
