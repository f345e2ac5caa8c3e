#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KeyTrack.h"
#include "engine/core/String.h"
#include "game/objects/Enemy.h"
#include "game/objects/GunVariants.h"
#include "game/objects/StageNodes.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class RailTrain;
class RailTrainPart;
class StageNodeRegistry;

// The holder of the train ("Null_Train"): keeps the node's tracks for the cars (and
// stays still itself), numbers the cars as they are built, holds the ten hidden wreck
// models that lend their meshes, and destroys every car behind a destroyed one.
class RailTrainCar : public NullNodeObject {
  public:
    static constexpr int32_t kCars = 10;
    static constexpr const char* kWreckModels[kCars] = {
        "mg_04rail_locomotive_k", "mg_04rail_tender_k", "mg_04rail_metalB_k", "mg_04rail_cargo_k",
        "mg_04rail_metalA_k",     "mg_04rail_metalB_k", "mg_04rail_cargo_k",  "mg_04rail_metalA_k",
        "mg_04rail_metalB_k",     "mg_04rail_cargo_k"};
    static constexpr int32_t kSubLayers[kCars] = {4, 1, 7, 2, 4, 7, 2, 4, 7, 2};

    RailTrainCar(TaskObject* parent, NodeSpawnInfo& info);
    ~RailTrainCar() override;

    // Enters a car: its index is the count before it.
    int32_t Register();
    // Destroys each car after `index` that is still running, once.
    void DestroyCarsBehind(int32_t index);
    // The wreck part of a car slot; null outside 0-9 or when its model was not built.
    RailTrainPart* WreckPart(int32_t index) const;

    std::vector<int32_t> registry;
    float spare[4] = {};
    RailTrainPart* wreckParts[kCars] = {};
    KeyTrack storedTracks[kTrackCount];
    uint8_t carDestroyed[kCars] = {};
};

// A hidden wreck model of one car slot: never drawn or stepped, it only lends the
// meshes of its layers (up to seven).
class RailTrainPart : public StaticModelPart {
  public:
    static constexpr int32_t kLayers = 7;

    RailTrainPart(TaskObject* parent, const String& modelName, RailTrainPart** holderSlot);
    ~RailTrainPart() override;

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;

    MeshObject* layers[kLayers] = {};
    // The holder's pointer to this part; emptied when either goes.
    RailTrainPart** slot;
};

// One car: moves by the holder's tracks, can be hit only in two spans of the stage
// clock, and at its kill turns into its wreck, drops, bursts and (but the engine)
// stops where it is; the engine smokes on.
class RailTrain : public Enemy {
  public:
    static constexpr int32_t kSmokeEvery = 60;
    static constexpr int32_t kSmokeUntil = 6180;
    static constexpr int32_t kMaxWalk = 8;

    // `unused` is the row's linger, which the train does not take.
    RailTrain(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, int32_t unused,
              const char* bonus, const char* explosion);

    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDestroyed() override;

    // Whether the stage clock lets a car be hit.
    static bool InHitWindow(float time);

    float radius;
    String bonus;
    String explosion;
    int32_t carIndex = -1;
    uint8_t destroyed = 0;
    uint8_t alive = 1;
    // The holder the car was built under; null for a car outside a train.
    RailTrainCar* holder = nullptr;

  private:
    void TakeWreckMeshes();
};

// A gun of a car: fires along its forward while its car is the car it belongs to and
// still running. The other guns it is built with never fire.
class RailGun : public TableGun {
  public:
    enum class Pattern : uint8_t { kOne, kPair, kThree };

    RailGun(Object3D* parent, NodeSpawnInfo& info, const GunRow& row, const char* carLayer, bool onTurret,
            Pattern pattern);

    void FireBullet(const Vec3& position, float angle, float speed) override;

    // The car the gun belongs to, found once when it is built; null when misplaced.
    RailTrain* car = nullptr;
    Pattern pattern;
};

// The train car entry of the layer table: a linked frame-node object under `parent`
// and the car under it.
Object3D* BuildTrainCar(Object3D* parent, NodeSpawnInfo& info, float durability, float radius, int32_t linger,
                        const char* bonus, const char* explosion);

// "Null_Train" and the train's guns.
void RegisterRailTrain(StageNodeRegistry& registry);

}  // namespace mareldon
