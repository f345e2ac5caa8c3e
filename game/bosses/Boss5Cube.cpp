#include "game/bosses/Boss5Cube.h"

#include "game/stage/GameWorldScreen.h"
#include "game/stage/LineEffects.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

bool Names(const String& name) {
    return !(name == "NULL");
}

}  // namespace

Boss5CubeLayerPart0::Boss5CubeLayerPart0(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue,
                                         float radius, const String& bonusName, const String& explosionName)
    : Enemy(parentTask, info, durabilityValue),
      hitRadius(radius),
      bonus(bonusName),
      explosion(explosionName) {}

void Boss5CubeLayerPart0::OnUpdatePre() {
    if (!IsInActiveWindow())
        return;
    const Vec3 at = GetWorldPosition();
    RegisterHitSphere(at, hitRadius);
    const int32_t frame = GetStepCount();
    if (world == nullptr || GetMotionTime() <= kLineEffectsAfter || (frame & 127) != 0)
        return;
    const bool first = (frame & 128) != 0;
    if (WorldEventLog* log = world->GetEventLog())
        log->RecordFormat("CubeLineEffect", "%c %d", first ? 'A' : 'B', frame);
    if (first)
        new LineEffectA(world->GetWorldRoot(), world, at);
    else
        new LineEffectB(world->GetWorldRoot(), world, at);
}

void Boss5CubeLayerPart0::OnDestroyed() {
    if (world == nullptr)
        return;
    const Vec3 at = GetWorldPosition();
    if (Names(bonus))
        world->SpawnItem(at, Vec3{0.0f, 0.0f, 0.0f}, bonus.Text());
    if (Names(explosion))
        world->SpawnEffect(at, Vec3{0.0f, 0.0f, 0.0f}, explosion.Text(), Vec3{1.0f, 1.0f, 1.0f});
    world->PlayExplosionSeRandom();
}

}  // namespace mareldon
