#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "game/objects/LayerEnemies.h"

namespace mareldon {

class StageNodeRegistry;
struct LayerArgs;

// The object a named mesh layer of a stage model becomes.
enum class LayerForm : uint8_t {
    kHidden,         // a plain node: nothing drawn
    kPassive,        // LayerEnemy (1, 0, name): the mesh of a composite enemy
    kLinkedPassive,  // the same, attached under the frame-node object above it
    kTank,           // LayerTankEnemy
    kTurret,         // LayerTankTurret, the tank rule
    kSecondTurret,   // LayerTankTurret, the second rule at 24 degrees a step
    kDrop,           // DropFormEnemy
    kEmitter,        // EmitterFormEnemy
    kWing,           // DurabilityFormEnemy with the three wing spheres
    kHover,
    kHover2,
    kHover3,
    kHeavyTank,
    kTower,          // TowerEnemy: wreck form, bursts, then its wreck
    kWreck,          // WreckFormEnemy
    kBattery,        // BatteryEnemy
    kBigBattery,     // BigBatteryEnemy: speed, pause and angle offset
    kSmoothTurret,   // SmoothTurret
    kDebrisFighter,  // DebrisFighterEnemy
    kTransformer,    // TransformingShipEnemy
    kTrainCar,       // a linked frame-node object and a RailTrain under it
    kClass,          // a class of its own, made by the row's builder
};

// Builds a kClass row's object from the row's numbers.
using LayerBuild = Object3D* (*)(Object3D* parent, NodeSpawnInfo& info, const LayerArgs& args);

// One row of the layer table. `bonus` is the passive layer's name and the turret's first
// text; `explosion` the turret's second. Durability of the stage-dependent rows is worked
// out at build time from the stage played and the difficulty scale.
struct LayerRow {
    const char* name;
    LayerForm form;
    float durability = 1.0f;
    float radius = 0.0f;
    int32_t linger = Enemy::kDefaultLinger;
    const char* bonus = "NULL";
    const char* explosion = "NULL";
    HitRule rule = HitRule::kAlways;
    DeathReaction reaction = nullptr;
    float angleOffset = 0.0f;
    // The wreck model of the wreck forms; the big battery's turn speed and pause.
    const char* model = nullptr;
    float speed = 0.0f;
    int32_t pause = 0;
    LayerBuild build = nullptr;
    // The class's own integers (gun kind, section, lens kind; scorch flag).
    int32_t kind = 0;
    int32_t flag = 0;
    // Nonzero: the durability while the first stage is played.
    float firstStageDurability = 0.0f;
};

std::span<const LayerRow> StageLayerRows();
const LayerRow* FindStageLayerRow(std::string_view name);
// The durability a row gets on `stage` at difficulty scale `scale`.
float StageLayerDurability(const LayerRow& row, int32_t stage, float scale);
// Puts every row into the registry's layer table.
void RegisterStageLayers(StageNodeRegistry& registry);

}  // namespace mareldon
