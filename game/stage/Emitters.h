#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class GameWorldScreen;

// A burst timer: `spawnsPerVolley` spawns on the first step, then a volley every
// interval + 1 steps, `volleys` times (0: for ever). A finished emitter idles until
// its parent goes.
class EmitterBase : public Object3D {
  public:
    EmitterBase(TaskObject* parent, GameWorldScreen* screen);

    void OnUpdatePre() override;
    virtual void Spawn() {}

    bool IsFinished() const { return finished != 0; }

    GameWorldScreen* screen;
    int32_t spawnsPerVolley = 0;
    int32_t interval = 0;
    int32_t volleys = 0;
    int32_t countdown = 0;
    // -1 until the first step loads it.
    int32_t volleysLeft = -1;
    uint8_t finished = 0;
};

// Scatters a named effect around its parent's pivot: each spawn within `radius`,
// moving along a yaw (degrees, in the x/z plane from +x) and a speed, each drawn from
// base ± spread with the emitter's own generator.
class ExplosionEmitter : public EmitterBase {
  public:
    // Seeded with one draw of the world screen's generator.
    ExplosionEmitter(TaskObject* parent, GameWorldScreen* screen, float radius, int32_t spawnsPerVolley,
                     int32_t interval, int32_t volleys, const char* effectName, float yawBase,
                     float yawSpread, float speedBase, float speedSpread);

    void Spawn() override;

  protected:
    // Draws position and velocity of the next spawn in the fixed order.
    void Scatter(Vec3& position, Vec3& velocity);

  public:
    Random random;
    float radius;
    float yawBase, yawSpread;
    float speedBase, speedSpread;
    // Not owned: the callers pass literals.
    const char* effectName;
};

// The same scatter with a scale for the spawned effects. The offset is kept but not
// applied: the spawns centre on the parent's pivot as an ExplosionEmitter's do.
class NodeExplosionEmitter : public ExplosionEmitter {
  public:
    NodeExplosionEmitter(TaskObject* parent, GameWorldScreen* screen, float radius, int32_t spawnsPerVolley,
                         int32_t interval, int32_t volleys, const char* effectName, float yawBase,
                         float yawSpread, float speedBase, float speedSpread, const Vec3& scale,
                         const Vec3& offset);

    void Spawn() override;

    Vec3 scale;
    Vec3 offset;
};

}  // namespace mareldon
