#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class GameWorldScreen;

// Everything that fires in bursts on the step clock: a node placed at its parent's
// pivot (the point the parent fires from) whose burst timer runs once per step in the
// update pass and calls the five hooks below. Burst interval B and shot interval S
// are in steps; a burst fires N + 1 shots (N = burst shots) and K bursts (burst count)
// make one firing:
// - the first shot comes on the first step after SetFiring(true) from the zeroed state;
// - the shots of a burst are max(S, 1) steps apart, GetShotsLeft running N ... 0;
// - the next burst's first shot comes max(B, 1) + max(S, 1) - 1 steps after the last;
// - after K bursts the timer stops by itself and the firing flag stays set.
// The shooter never dies by itself; its parent deletes it.
class ShooterObject : public Object3D {
  public:
    ShooterObject(TaskObject* parent, GameWorldScreen* ownerScreen);
    ~ShooterObject() override;

    bool IsAlive() override { return true; }
    void OnUpdatePre() override { UpdateFireTimer(); }

    // On: configures and starts unless bursts remain (a running firing goes on
    // undisturbed; the waits keep their values). Off: OnStop, then all eight numbers
    // are zeroed, so the next start configures again.
    void SetFiring(bool on);
    void UpdateFireTimer();

    void SetBurstInterval(int32_t steps) { burstInterval = steps; }
    void SetShotInterval(int32_t steps) { shotInterval = steps; }
    int32_t GetShotInterval() const { return shotInterval; }
    void SetBurstShots(int32_t count) { burstShots = count; }
    int32_t GetBurstShots() const { return burstShots; }
    void SetBurstCount(int32_t count) { burstCount = count; }
    void SetShotsLeft(int32_t count) { shotsLeft = count; }
    int32_t GetShotsLeft() const { return shotsLeft; }
    int32_t GetBurstsLeft() const { return burstsLeft; }
    bool IsFiring() const { return firing; }
    GameWorldScreen* OwnerScreen() const { return ownerScreen; }

  protected:
    // Called by SetFiring(true) when no bursts remain: sets the four parameters.
    virtual void Configure() {}
    // Called by SetFiring(false) before the numbers are zeroed.
    virtual void OnStop() {}
    // Just before the first shot of every burst.
    virtual void OnBurstStart() {}
    virtual void FireShot() {}
    // Right after the last shot of every burst.
    virtual void OnBurstEnd() {}

  private:
    GameWorldScreen* ownerScreen;
    bool firing = false;
    int32_t burstInterval = 0;
    int32_t shotInterval = 0;
    int32_t burstShots = 0;
    int32_t burstCount = 0;
    int32_t burstWait = 0;
    int32_t shotWait = 0;
    int32_t shotsLeft = 0;
    int32_t burstsLeft = 0;
};

// The base of the boss shot patterns: a shooter with a generator of its own, seeded
// alike for every pattern so that each run of a stage gives the same spreads.
class ShotPatternBase : public ShooterObject {
  public:
    static constexpr uint32_t kSeed = 19760729;

    ShotPatternBase(TaskObject* parent, GameWorldScreen* ownerScreen);
    ~ShotPatternBase() override;

    // Bearing from the point toward the nearest live ship (the dummy target when none
    // lives), and the reverse.
    float AngleToNearestPlayer(float x, float y, float z);
    float AngleFromNearestPlayer(float x, float y, float z);

  protected:
    Random& Generator() { return *random; }

  private:
    std::unique_ptr<Random> random;
};

// Two angle conventions meet in the shooting code: bearings (0 = +z, 90 = +x), which
// aiming at a ship gives, and directions (0 = +x, 90 = +z), which velocities are built
// from. Both are degrees, wrapped into [0, 360) for inputs within (-360, 720).

// The bearing from `from` toward `to`: atan2 of the unit vector's x and z. A point on
// `from` itself has no direction and gives 0.
float BearingBetween(const Vec3& from, const Vec3& to);
// out = (cos a, 0, sin a) * length for the direction angle a; returns out.
Vec3& AngleToDirection(Vec3& out, float angleDegrees, float length);
// 90 - a modulo 360, either way between the two conventions.
float ConvertAngleConvention(float angleDegrees);

}  // namespace mareldon
