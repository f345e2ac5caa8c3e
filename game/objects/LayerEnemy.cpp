#include "game/objects/LayerEnemy.h"

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

LayerEnemy::LayerEnemy(TaskObject* parentTask, NodeSpawnInfo& info, float durability, float hitRadius,
                       const String& name, AttachKind kind)
    : Enemy(parentTask, info, durability, kind), radius(hitRadius), itemName(name) {}

void LayerEnemy::OnUpdatePre() {
    RegisterHitSphere(GetWorldPosition(), radius);
}

void LayerEnemy::OnDestroyed() {
    if (world == nullptr)
        return;
    const Vec3 pivot = GetWorldPosition();
    if (!itemName.Equals("NULL"))
        world->SpawnItem(pivot, Vec3{0.0f, 0.0f, 0.0f}, itemName.Text());
    world->SpawnEffect(pivot, Vec3{0.0f, 0.0f, 0.0f}, kExplosion, Vec3{1.0f, 1.0f, 1.0f});
}

}  // namespace mareldon
