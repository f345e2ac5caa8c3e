#pragma once

#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

class Enemy;
class LayerFormEnemy;

// The pieces a kill is made of, at the enemy's pivot. Names equal to "NULL" do nothing.
namespace reaction {

void Drop(Enemy& enemy, const char* name);
// At each local point of the enemy.
void MultiDrop(Enemy& enemy, const char* name, const Vec3* points, int32_t count);
void Effect(Enemy& enemy, const char* name);
// The burnt-ground decal, `drop` below the pivot.
void Scorch(Enemy& enemy, float scale, float drop = 0.0f);
void Emitter(Enemy& enemy, float radius, int32_t perVolley, int32_t interval, int32_t volleys,
             const char* name, float yaw = 0.0f, float yawSpread = 0.0f, float speed = 0.0f,
             float speedSpread = 0.0f);
void NodeEmitter(Enemy& enemy, float radius, int32_t perVolley, int32_t interval, int32_t volleys,
                 const char* name, float yaw, float yawSpread, float speed, float speedSpread);
void SoundRandom(Enemy& enemy);
void Sound4(Enemy& enemy);
void Cancel(Enemy& enemy);

}  // namespace reaction

// One entry per table row: what the kill of each layer enemy does.
namespace reactions {

void DropStandard(LayerFormEnemy& enemy);
void TankLayer(LayerFormEnemy& enemy);
void ScorchDrop(LayerFormEnemy& enemy);
void LargeScorchDrop(LayerFormEnemy& enemy);
void WingLine(LayerFormEnemy& enemy);
void EmitterDrop(LayerFormEnemy& enemy);
void EmitterDropCancel(LayerFormEnemy& enemy);
void SmallEmitterDrop(LayerFormEnemy& enemy);
void EmitterDropEffect(LayerFormEnemy& enemy);
void EmitterDropEffectCancel(LayerFormEnemy& enemy);
void MainBase(LayerFormEnemy& enemy);
void AntiAirShip(LayerFormEnemy& enemy);
void TubeShip(LayerFormEnemy& enemy);
void Hover(Enemy& enemy);
void Hover2(Enemy& enemy);
void Hover3(Enemy& enemy);
void HeavyTank(Enemy& enemy);
void Tower(LayerFormEnemy& enemy);
void Battery(LayerFormEnemy& enemy);
void BigTurret(LayerFormEnemy& enemy);
void WreckDrop(LayerFormEnemy& enemy);
void WreckDropNoCancel(LayerFormEnemy& enemy);
void TransformingShip(LayerFormEnemy& enemy);
// The gunships, the lens turret and its base and core.
void SmallCraft(LayerFormEnemy& enemy);
void TurretDrop(LayerFormEnemy& enemy);
void TankDrop(LayerFormEnemy& enemy);
void LargeWingDrop(LayerFormEnemy& enemy);
void FixedDrop(LayerFormEnemy& enemy);
void ScatterDrop(LayerFormEnemy& enemy);
void EmitterScorchDrop(LayerFormEnemy& enemy);
void ShortEmitterDropEffect(LayerFormEnemy& enemy);
void DropThenEmitter(LayerFormEnemy& enemy);
void NearestPlayerDrop(LayerFormEnemy& enemy);
void PartingShot(LayerFormEnemy& enemy);
void LensTurret(LayerFormEnemy& enemy);
void LensBase(LayerFormEnemy& enemy);
// Also tells the base under the core, which bursts when no turret is left on it.
void LensCore(LayerFormEnemy& enemy);
// The parting shot's base speed by difficulty level.
float PartingShotSpeed(int32_t level);

}  // namespace reactions

}  // namespace mareldon
