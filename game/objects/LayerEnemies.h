#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "game/objects/Enemy.h"
#include "game/objects/LayerEnemy.h"

namespace mareldon {

class LayerFormEnemy;

// What a kill of a layer enemy shows and drops; one entry per table row.
using DeathReaction = void (*)(LayerFormEnemy& enemy);

// Where a layer enemy offers itself as a target each step.
enum class HitRule : uint8_t {
    kAlways,       // the pivot with the hit radius, every step
    kWhenActive,   // the same, only inside the activity window
    kNoseAndBody,  // when active: 0.75 r at local (0, 0, -1.5), then the pivot
    kThreePoint,   // when active: r 1.5 at (+-2.2, 0, -2.8) around the pivot
    kWing,         // when drawn: 0.7, 0.8, 0.7 at local x -1, 0, 1
    // The pivot while it is its parent's only child or its third control flag is on.
    kLoneOrControlled,
};

// The shared body of the single-layer enemies: hit radius, the item and effect names
// of the kill ("NULL" = none), the scorch scale of the tank form, the hit rule and
// the death reaction of its table row.
class LayerFormEnemy : public Enemy {
  public:
    LayerFormEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, int32_t linger,
                   const char* bonus, const char* explosion, HitRule rule, DeathReaction reaction);

    ~LayerFormEnemy() override;

    void OnUpdatePre() override;
    void OnDestroyed() override;

    // The slot of a carrying enemy that points here; emptied when this goes.
    Enemy** slot = nullptr;
    float radius;
    String bonus;
    String explosion;
    Vec3 scorchScale{1.0f, 1.0f, 1.0f};
    HitRule rule;
    DeathReaction reaction;
};

// Drop form: (durability, radius, linger, bonus, explosion).
class DropFormEnemy : public LayerFormEnemy {
  public:
    DropFormEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, int32_t linger,
                  const char* bonus, const char* explosion, DeathReaction reaction,
                  HitRule rule = HitRule::kAlways);
};

// Tank form: the drop form with the scale of its scorch mark.
class LayerTankEnemy : public LayerFormEnemy {
  public:
    LayerTankEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, int32_t linger,
                   const char* bonus, const char* explosion, const Vec3& scale);
};

// Emitter form: (durability, radius, bonus, explosion), linger 5 or 20.
class EmitterFormEnemy : public LayerFormEnemy {
  public:
    EmitterFormEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius,
                     const char* bonus, const char* explosion, int32_t linger, HitRule rule,
                     DeathReaction reaction);

    int32_t counter = 0;
};

// Durability only: the wing enemies.
class DurabilityFormEnemy : public LayerFormEnemy {
  public:
    DurabilityFormEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, DeathReaction reaction);
};

// Turret form: turns toward the nearest player about its y axis. Its first text is the
// item its kill drops (a number the table prints, kept as it always was), its second
// the explosion.
class LayerTankTurret : public LayerFormEnemy {
  public:
    enum class Turn : uint8_t {
        kTank,    // +speed for 10 < b < 170, -speed for -170 < b < -10
        kSecond,  // -speed for 10 <= b < 170, +speed for 190 < b < 350
    };
    static constexpr float kTurnSpeed = 3.0f;
    static constexpr float kSecondTurnSpeed = 24.0f;

    LayerTankTurret(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, const char* text,
                    const char* name, float angleOffset, Turn turn = Turn::kTank);

    void OnUpdatePre() override;
    // The bearing of a target at `local` (turret space), degrees, offset in radians, not wrapped.
    static float Bearing(const Vec3& local, float angleOffset);
    // The turn for a bearing, degrees (0: none).
    static float TurnFor(Turn turn, float bearing, float speed);

    float angleOffset;
    float turnSpeed;
    Turn turn;
};

// A passive layer hanging under a carrying enemy; empties its slot when it goes.
class CarriedPart : public LayerEnemy {
  public:
    CarriedPart(TaskObject* parent, NodeSpawnInfo& info, Enemy** holder);
    ~CarriedPart() override;

    Enemy** slot;
};

// The hovers and the heavy tank: up to six parts built under them through their own
// layer hook, flashed with the body at most once per two counted steps.
class PartCarryingEnemy : public Enemy {
  public:
    static constexpr int32_t kMaxParts = 6;
    static constexpr float kStandInRadius = 2.0f;

    PartCarryingEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, void (*reaction)(Enemy&));

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    void OnDamaged(float damage, uint32_t playerMask) override;
    void OnUpdatePre() override;
    void OnDestroyed() override;

    Enemy* parts[kMaxParts] = {};
    int32_t partCount = 0;
    int32_t flashCounter = 0;
    void (*reaction)(Enemy&);

  protected:
    // The part a layer under this enemy becomes, or null to leave the layer to the scene.
    virtual Enemy* BuildPart(Object3D* parent, NodeSpawnInfo& info, Enemy** slot) = 0;
    virtual bool TakesLayer(const String& name) const = 0;
};

class HoverEnemyBase : public PartCarryingEnemy {
  public:
    using PartCarryingEnemy::PartCarryingEnemy;

  protected:
    Enemy* BuildPart(Object3D* parent, NodeSpawnInfo& info, Enemy** slot) override;
    bool TakesLayer(const String&) const override { return true; }
};

class HoverEnemy : public HoverEnemyBase {
  public:
    HoverEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability);
};

class HoverEnemy2 : public HoverEnemyBase {
  public:
    HoverEnemy2(TaskObject* parent, NodeSpawnInfo& info, float durability);
};

class HoverEnemy3 : public HoverEnemyBase {
  public:
    HoverEnemy3(TaskObject* parent, NodeSpawnInfo& info, float durability);
};

class HeavyTankEnemy : public PartCarryingEnemy {
  public:
    static constexpr const char* kTurretLayer = "lg_02tank_heavy:Layer1";

    HeavyTankEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, int32_t linger);

  protected:
    Enemy* BuildPart(Object3D* parent, NodeSpawnInfo& info, Enemy** slot) override;
    bool TakesLayer(const String& name) const override { return name.Equals(kTurretLayer); }
};

}  // namespace mareldon
