#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/objects/GunVariants.h"
#include "game/objects/LayerEnemies.h"

namespace mareldon {

// The numbers a layer row hands the class it builds, after the durability.
struct LayerArgs {
    float durability = 1.0f;
    float radius = 0.0f;
    int32_t linger = Enemy::kDefaultLinger;
    const char* bonus = "NULL";
    const char* explosion = "NULL";
    // A class's own integers: gun kind, section index, lens kind; scorch flag.
    int32_t kind = 0;
    int32_t flag = 0;
};

// The builder of a layer-table row whose class takes (parent, record, LayerArgs).
template <typename T>
Object3D* BuildLayerClass(Object3D* parent, NodeSpawnInfo& info, const LayerArgs& args) {
    return new T(parent, info, args);
}

// A gun an enemy makes for itself (no node of its own): the enemy's reference to it is
// emptied when the gun goes.
class BuiltInGun : public TableGun {
  public:
    BuiltInGun(Enemy* owner, GameWorldScreen* world, const GunRow& row, BuiltInGun** slot);
    ~BuiltInGun() override;

    BuiltInGun** slot;
};

// Where a gunship offers itself as a target each step.
enum class GunshipHit : uint8_t {
    kAlways,       // the pivot with the hit radius
    kWhenActive,   // the same inside the activity window
    kSurfaced,     // radius 1.0 while local (0, 1, 0) is above world y 0
    kDrawnOrigin,  // when drawn: radius 1.0 at the local origin
    kLargeWing,    // when drawn: three spheres; the gun fires only in steps one was taken
    kRaised,       // when active: the pivot raised by 7.0
};

// An enemy carrying one to three guns of its own, made while it is built. The stage
// played and the difficulty are read once, then.
class GunshipEnemy : public LayerFormEnemy {
  public:
    static constexpr int32_t kMaxGuns = 3;

    GunshipEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args, GunshipHit hit,
                 DeathReaction reaction);
    ~GunshipEnemy() override;

    void OnUpdatePre() override;
    int32_t GunCount() const;

    BuiltInGun* guns[kMaxGuns] = {};
    GunshipHit hit;
    int32_t stage = 0;
    // The parting shot's and the scorch flag's owner data.
    Random random;
    int32_t scorchFlag = 0;

  protected:
    // Makes the next gun; `speed` and `angle` set its stored aim when given.
    BuiltInGun* AddGun(const GunRow& row);
    BuiltInGun* AddGun(const GunRow& row, float speed, float angle);
    // Stands the gun at this enemy's pivot.
    void MoveToPivot(BuiltInGun* gun);
    // A random byte of the world's generator: the delay of the guns that wait one.
    int32_t RandomDelay();
};

class SmallCraftEnemy : public GunshipEnemy {
  public:
    SmallCraftEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class HoudaiKariEnemy : public GunshipEnemy {
  public:
    HoudaiKariEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class HikouteiAoEnemy : public GunshipEnemy {
  public:
    HikouteiAoEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class ItemCEnemy : public GunshipEnemy {
  public:
    ItemCEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class FukuyouEnemy : public GunshipEnemy {
  public:
    FukuyouEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class KuziraYusoukiEnemy : public GunshipEnemy {
  public:
    KuziraYusoukiEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class LargeWingEnemy : public GunshipEnemy {
  public:
    LargeWingEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class EnbanEnemy : public GunshipEnemy {
  public:
    EnbanEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class Bs4tLayer6Enemy : public GunshipEnemy {
  public:
    Bs4tLayer6Enemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class Bs4tLayer14Enemy : public GunshipEnemy {
  public:
    Bs4tLayer14Enemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class Bs4tLayer5Enemy : public GunshipEnemy {
  public:
    Bs4tLayer5Enemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class TankIsekiEEnemy : public GunshipEnemy {
  public:
    TankIsekiEEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class TankIsekiCEnemy : public GunshipEnemy {
  public:
    TankIsekiCEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class NirenEnemy : public GunshipEnemy {
  public:
    NirenEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class TankABEnemy : public GunshipEnemy {
  public:
    TankABEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class SinkuukanEnemy : public GunshipEnemy {
  public:
    SinkuukanEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class PorvikTankEnemy : public GunshipEnemy {
  public:
    PorvikTankEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class OugonJetEnemy : public GunshipEnemy {
  public:
    OugonJetEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class GomaEnemy : public GunshipEnemy {
  public:
    GomaEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class StageTenLayer17Enemy : public GunshipEnemy {
  public:
    StageTenLayer17Enemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};
class StageTenLayer4Enemy : public GunshipEnemy {
  public:
    StageTenLayer4Enemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};

// The big fighter and the machine-gun boat: their behaviour is the bosses' code. Until
// it registers over them they stand in with a sphere of their float argument while
// active, and die as the standard drop.
class BigFighterEnemy : public GunshipEnemy {
  public:
    BigFighterEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
};

namespace gunship {

// The composite guns' numbers that depend on the stage played or the difficulty.
int32_t HikouteiShots(int32_t stage, int32_t level);
int32_t TankIsekiEShots(int32_t level);
// The lens turret's gun of kind 0 to 3; null for any other kind.
const GunRow* LensGun(int32_t kind);

}  // namespace gunship

}  // namespace mareldon
