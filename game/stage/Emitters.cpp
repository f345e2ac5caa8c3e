#include "game/stage/Emitters.h"

#include <cmath>

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kRadiansPerDegree = 0.017453294f;

// A draw as a fraction in [0, 1].
float Unit(Random& random) {
    return float(random.Next()) * (1.0f / 4294967296.0f);
}

}  // namespace

EmitterBase::EmitterBase(TaskObject* parentTask, GameWorldScreen* ownerScreen)
    : Object3D(parentTask, 0), screen(ownerScreen) {}

void EmitterBase::OnUpdatePre() {
    // Volleys 0 reloads 0 after every volley and never finishes, whatever the interval.
    if (volleysLeft < 0) {
        volleysLeft = volleys;
    } else if (volleysLeft == 0 && volleys != 0) {
        finished = 1;
        return;
    }
    if (--countdown >= 0)
        return;
    countdown = interval;
    for (int32_t i = 0; i < spawnsPerVolley; ++i)
        Spawn();
    --volleysLeft;
}

ExplosionEmitter::ExplosionEmitter(TaskObject* parentTask, GameWorldScreen* ownerScreen, float scatterRadius,
                                   int32_t perVolley, int32_t steps, int32_t volleyCount, const char* name,
                                   float yaw, float yawRange, float speed, float speedRange)
    : EmitterBase(parentTask, ownerScreen),
      random(ownerScreen != nullptr ? ownerScreen->GetRandom().Next() : Random::kDefaultState),
      radius(scatterRadius),
      yawBase(yaw),
      yawSpread(yawRange),
      speedBase(speed),
      speedSpread(speedRange),
      effectName(name) {
    spawnsPerVolley = perVolley;
    interval = steps;
    volleys = volleyCount;
}

void ExplosionEmitter::Scatter(Vec3& position, Vec3& velocity) {
    const float a = Unit(random) * kTwoPi;
    const float r = Unit(random) * radius;
    const Vec3 offset{std::cos(a) * r, 0.0f, std::sin(a) * r};
    float yaw = yawBase - yawSpread + Unit(random) * 2.0f * yawSpread;
    if (yaw > 359.0f)
        yaw -= 360.0f;
    if (yaw < 0.0f)
        yaw += 360.0f;
    const float speed = speedBase - speedSpread + Unit(random) * 2.0f * speedSpread;
    velocity =
        Vec3{std::cos(yaw * kRadiansPerDegree) * speed, 0.0f, std::sin(yaw * kRadiansPerDegree) * speed};
    Object3D* pivot = ParentNode();
    const Vec3 centre = pivot != nullptr ? pivot->GetWorldPosition() : GetWorldPosition();
    position = Vec3{centre.x + offset.x, centre.y + offset.y, centre.z + offset.z};
}

void ExplosionEmitter::Spawn() {
    Vec3 position, velocity;
    Scatter(position, velocity);
    if (screen != nullptr && effectName != nullptr)
        screen->SpawnEffect(position, velocity, effectName, Vec3{1.0f, 1.0f, 1.0f});
}

NodeExplosionEmitter::NodeExplosionEmitter(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                           float scatterRadius, int32_t perVolley, int32_t steps,
                                           int32_t volleyCount, const char* name, float yaw, float yawRange,
                                           float speed, float speedRange, const Vec3& effectScale,
                                           const Vec3& pivotOffset)
    : ExplosionEmitter(parentTask, ownerScreen, scatterRadius, perVolley, steps, volleyCount, name, yaw,
                       yawRange, speed, speedRange),
      scale(effectScale),
      offset(pivotOffset) {}

void NodeExplosionEmitter::Spawn() {
    Vec3 position, velocity;
    Scatter(position, velocity);
    if (screen != nullptr && effectName != nullptr)
        screen->SpawnEffect(position, velocity, effectName, scale);
}

}  // namespace mareldon
