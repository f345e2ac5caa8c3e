#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/objects/Enemy.h"
#include "game/objects/GunPart.h"

namespace mareldon {

class StageNodeRegistry;

// The stage-6 boss on "ba_06medarion_gear:Layer0": one enemy that builds its guns as
// children on a schedule of stage frames, can be hit only inside a window of the stage
// clock, ends itself when the window closes and then throws large explosions until it
// is gone. Every destruction starts the stage clear.
class MultiPartEnemy : public Enemy {
  public:
    static constexpr float kDurability = 7000.0f;
    static constexpr int32_t kHitFrom = 274;  // hittable after this frame
    static constexpr int32_t kTimeUp = 5420;  // hittable before it, ends itself at it
    static constexpr float kHitRadius = 1.5f;

    MultiPartEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability = kDurability);
    // Placed by code, without a model node.
    explicit MultiPartEnemy(TaskObject* parent);

    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDestroyed() override;

    // The classes built at stage frame f (the schedule's frame plus 274), in order.
    struct ScheduleEntry {
        int32_t value;
        int32_t gun;
    };
    static const ScheduleEntry kSchedule[];
    static const int32_t kScheduleCount;

    uint8_t timeUp = 0;
    uint8_t gone = 0;
    int32_t deathRound = 0;

  private:
    void BuildGuns(int32_t frame);

    // The frame the schedule last looked at: each entry is built when the clock first
    // passes its frame, once, whatever steps the clock takes.
    int32_t scheduledUpTo = 0;
    uint8_t scheduleStarted = 0;
};

// A gun of the stage-6 boss: class 1 to 14, each with its own volley numbers, hooks and
// bullet figure. Angles are radians; the gun reports its stored angle and speed.
class MultiPartGun : public GunPart {
  public:
    static constexpr int32_t kClassCount = 14;

    MultiPartGun(Enemy* boss, GameWorldScreen* world, int32_t gunClass);

    void FireBullet(const Vec3& position, float angle, float speed) override;
    float AngleToPlayer() override { return gunClass == 12 ? third : storedAngle; }
    float BulletSpeed() override { return storedSpeed; }
    int32_t ShotsPerVolley() override;
    int32_t FramesBetweenShots() override;
    int32_t PauseBetweenVolleys() override;
    int32_t VolleyCount() override;
    int32_t InitialDelay() override;
    void OnVolleyStart() override;
    void OnShotFired() override;
    void OnActiveStep() override;

    int32_t GunClass() const { return gunClass; }

    // The fields the classes share: a spread, counter, second angle or turn rate; a third
    // angle; the half-width and its swing flag of class 12; the generator of class 11.
    float second = 0.0f;
    float third = 0.0f;
    int32_t counter = 0;
    int32_t halfWidth = 0;
    uint8_t swingDown = 0;
    Random random;

  private:
    float AimAtPlayer();
    float AimAtNearest();
    void Bullet(const Vec3& position, float angle, float speed, int32_t cell);

    int32_t gunClass;
};

// The stage-6 boss over its stand-in, with its passive layers 1-5.
void RegisterBoss6(StageNodeRegistry& registry);

}  // namespace mareldon
