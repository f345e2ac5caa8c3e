#include "game/objects/DebrisShooter.h"

#include <cmath>

#include "game/objects/DeathReactions.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr uint32_t kSpline = 0;
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;

}  // namespace

DebrisShooter::DebrisShooter(TaskObject* parentTask, GameWorldScreen* world, const Vec3& position,
                             uint32_t seed)
    : StaticModelPart(parentTask), random(seed) {
    screen = world;
    SetPosition(position);
    for (KeyTrack& track : path)
        track.SetKey(0.0f, 0.0f, kSpline);
    // Wider each quarter second, x before z, then one long throw forward.
    for (int32_t i = 1; i <= 10; ++i) {
        const float t = 0.25f * float(i);
        path[0].SetKey(t, random.Range(-t, t), kSpline);
        path[1].SetKey(t, 0.0f, kSpline);
        path[2].SetKey(t, random.Range(-1.5f * t, 1.5f * t), kSpline);
    }
    const float t = 2.75f;
    path[0].SetKey(t, random.Range(-6.0f * t, 6.0f * t), kSpline);
    path[1].SetKey(t, 0.0f, kSpline);
    path[2].SetKey(t, random.Range(0.0f, 6.0f * t), kSpline);
    if (world != nullptr) {
        if (WorldEventLog* log = world->GetEventLog())
            log->RecordFormat("DebrisShooter", "%u %g %g", seed, double(position.x), double(position.z));
    }
}

Vec3 DebrisShooter::PathAt(float time) {
    const float z = path[2].Evaluate(time);
    const float y = path[1].Evaluate(time);
    const float x = path[0].Evaluate(time);
    return {x, y, z};
}

void DebrisShooter::OnUpdatePre() {
    if (screen == nullptr)
        return;
    Vec3 at;
    LocalToWorld(at, PathAt(GetMotionTime()));
    const float sparkAngle = random.Range(0.0f, kTwoPi);
    const float sparkSpeed = random.Range(0.08f, 0.12f);
    screen->SpawnSpark(at, {std::cos(sparkAngle) * sparkSpeed, 0.0f, std::sin(sparkAngle) * sparkSpeed},
                       6.0f);
    PlayerShip* player = screen->GetPlayer(3);
    if (player == nullptr)
        return;
    const Vec3 p = player->GetWorldPosition();
    const float toward = std::atan2(p.z - at.z, p.x - at.x);
    float angle = toward;
    float speed = kBulletSpeed;
    switch ((GetStepCount() >> 3) & 3) {
        case 0:
            break;
        case 1:
            angle = toward + kPi;
            break;
        case 2:
            speed = kBulletSpeed * 0.3f;
            break;
        default:
            return;
    }
    screen->FireEnemyBullet(at, {std::cos(angle) * speed, 0.0f, std::sin(angle) * speed}, kBulletSprite,
                            1.0f);
}

bool DebrisShooter::IsAlive() {
    const KeyTrack& first = path[0];
    return first.keyCount == 0 || GetMotionTime() <= first.keys[first.keyCount - 1].time;
}

DebrisFighterEnemy::DebrisFighterEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                       float hitRadius, const char* bonusName, const char* explosionName,
                                       int32_t linger)
    : EmitterFormEnemy(parentTask, info, durabilityValue, hitRadius, bonusName, explosionName, linger,
                       HitRule::kNoseAndBody, reactions::EmitterDrop) {}

void DebrisFighterEnemy::OnUpdatePre() {
    if (IsInActiveWindow()) {
        ++counter;
        Object3D* parentNode = ParentNode();
        const float time = GetMotionTime();
        if (counter == kThrowStep && time > kThrowAfter && parentNode != nullptr)
            new DebrisShooter(parentNode, world, GetPosition(), uint32_t(int32_t(time)));
    }
    LayerFormEnemy::OnUpdatePre();
}

}  // namespace mareldon
