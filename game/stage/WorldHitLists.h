#pragma once

#include "engine/core/Math.h"
#include "game/stage/AttackVector.h"
#include "game/stage/EnemyBulletRecord.h"
#include "game/stage/HitList.h"

namespace mareldon {

class PlayerShip;
class ScreenMapping;

// The four collision lists of a stage, rebuilt every update. All tests are made in
// viewport pixels through the world screen's current screen mapping.
class WorldHitLists {
  public:
    explicit WorldHitLists(const ScreenMapping& mapping) : mapping(mapping) {}

    void ClearHitLists();

    // A radius of 0 or less registers nothing and answers true; a circle wholly
    // outside the viewport is not registered and answers false.
    bool RegisterTarget(AttackTarget* object, const Vec3& point, float radius);
    void RegisterPlayerHitCircle(PlayerShip* ship, const Vec3& point, float radius);
    void RegisterPlayerPickupCircle(PlayerShip* ship, const Vec3& point, float radius);
    // A dead ship's circles go at once.
    void RemovePlayer(const PlayerShip* ship);

    AttackTarget* FindEnemyTarget(const Vec3& point) const;
    PlayerShip* FindPickupPlayer(const Vec3& point) const;
    // The first moving bullet whose centre lies strictly within `radius` of the point.
    EnemyBulletRecord* FindEnemyBulletHit(const Vec3& point, float radius) const;

    HitList<AttackTarget> targets;
    HitList<PlayerShip> playerHitCircles;
    HitList<PlayerShip> playerPickupCircles;
    // Radius 0: the query supplies the radius.
    HitList<EnemyBulletRecord> enemyBullets;

  private:
    const ScreenMapping& mapping;
};

}  // namespace mareldon
