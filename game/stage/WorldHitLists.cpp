#include "game/stage/WorldHitLists.h"

#include "game/stage/ScreenMapping.h"

namespace mareldon {

void WorldHitLists::ClearHitLists() {
    targets.Clear();
    playerHitCircles.Clear();
    playerPickupCircles.Clear();
    enemyBullets.Clear();
}

bool WorldHitLists::RegisterTarget(AttackTarget* object, const Vec3& point, float radius) {
    if (!(radius > 0.0f))
        return true;
    Vec3 screen = mapping.ProjectToScreen(point);
    float r = mapping.ProjectRadius(point, radius);
    if (screen.x + r < 0.0f || screen.y + r < 0.0f || screen.x - r > mapping.GetWidth() ||
        screen.y - r > mapping.GetHeight())
        return false;
    targets.Add(object, screen.x, screen.y, r);
    return true;
}

void WorldHitLists::RegisterPlayerHitCircle(PlayerShip* ship, const Vec3& point, float radius) {
    Vec3 screen = mapping.ProjectToScreen(point);
    playerHitCircles.Add(ship, screen.x, screen.y, mapping.ProjectRadius(point, radius));
}

void WorldHitLists::RegisterPlayerPickupCircle(PlayerShip* ship, const Vec3& point, float radius) {
    Vec3 screen = mapping.ProjectToScreen(point);
    playerPickupCircles.Add(ship, screen.x, screen.y, mapping.ProjectRadius(point, radius));
}

void WorldHitLists::RemovePlayer(const PlayerShip* ship) {
    playerHitCircles.Remove(ship);
    playerPickupCircles.Remove(ship);
}

AttackTarget* WorldHitLists::FindEnemyTarget(const Vec3& point) const {
    Vec3 screen = mapping.ProjectToScreen(point);
    return targets.FindFirst(screen.x, screen.y);
}

PlayerShip* WorldHitLists::FindPickupPlayer(const Vec3& point) const {
    Vec3 screen = mapping.ProjectToScreen(point);
    return playerPickupCircles.FindFirst(screen.x, screen.y);
}

EnemyBulletRecord* WorldHitLists::FindEnemyBulletHit(const Vec3& point, float radius) const {
    Vec3 screen = mapping.ProjectToScreen(point);
    float r = mapping.ProjectRadius(point, radius);
    float r2 = r * r;
    for (const HitEntry<EnemyBulletRecord>& entry : enemyBullets.Entries()) {
        const Vec3& v = entry.object->velocity;
        if (v.x == 0.0f && v.y == 0.0f && v.z == 0.0f)
            continue;
        float dx = entry.x - screen.x;
        float dy = entry.y - screen.y;
        if (dx * dx + dy * dy < r2)
            return entry.object;
    }
    return nullptr;
}

}  // namespace mareldon
