#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

// The fire routines the stage-4 and stage-5 bosses share, and the base of their patterns.
// Directions here are (cos a, 0, sin a) for a in radians; bearings in degrees go through
// BossPattern::FireBearing.

// What a configure sets, in its order: frames between bursts, frames between shots, the
// shot count value N (a burst fires N + 1 shots), bursts per firing.
struct BurstSettings {
    int32_t burstInterval;
    int32_t shotInterval;
    int32_t shotCount;
    int32_t burstCount;
};

// Two concentric rosettes: every bullet of both moves with one velocity.
struct RosetteSpec {
    int32_t outerCount;
    float outerRadius;
    int32_t innerCount;
    float innerRadius;
    int32_t sprite;
    float size;
};

// Seven bullets along one angle; the angle is the camera aim plus a draw in
// [-spread, spread) degrees.
struct ColumnSpec {
    float spreadDegrees;
    float speeds[7];
    int32_t sprites[7];
    float sizes[7];
};

extern const ColumnSpec kAimedColumn;   // stage 4's U_me muzzles
extern const ColumnSpec kAimedColumn2;  // stage 5's centre
extern const ColumnSpec kAimedColumn3;  // stage 5's ball

// A pattern of these bosses: its configure applies its burst settings and then
// OnConfigure; it keeps an angle and a speed for the routines that turn or grow, and a
// second generator of its own seed for those that draw.
class BossFirePattern : public BossPattern {
  public:
    BossFirePattern(TaskObject* parent, GameWorldScreen* screen, const char* label,
                    const BurstSettings& settings, uint32_t seed = 0);

    const BurstSettings& Settings() const { return settings; }

    float angle = 0.0f;
    float speed = 0.0f;

    // The firing primitives, from the pattern's world position unless given.
    Vec3 Muzzle() { return GetWorldPosition(); }
    void Fire(const Vec3& from, const Vec3& velocity, int32_t sprite, float size);
    // Along (cos a, 0, sin a), or against it.
    void FireAlong(const Vec3& from, float radians, float bulletSpeed, int32_t sprite, float size);
    void FireAgainst(const Vec3& from, float radians, float bulletSpeed, int32_t sprite, float size);
    // `count` bullets from `first`, `step` radians apart, along their angles.
    void FireRing(const Vec3& from, int32_t count, float first, float step, float bulletSpeed, int32_t sprite,
                  float size);
    // `count` bullets on a circle of `radius` around `centre`, bullet i at i x 360 / count
    // degrees, all with `velocity`.
    void FireRosette(const Vec3& centre, int32_t count, float radius, const Vec3& velocity, int32_t sprite,
                     float size);
    // Both rosettes of `spec` around `centre` along the angle.
    void FireRosettePair(const Vec3& centre, float radians, float bulletSpeed, const RosetteSpec& spec);
    // The column of `spec` along the angle.
    void FireColumn(const Vec3& from, float radians, const ColumnSpec& spec);

    // Radians from the muzzle toward where the nearest ship is seen through the stage
    // camera; 0 without a screen or a ship.
    float CameraAim();
    // A draw in [lo, hi) from the second generator, and its next raw value.
    float Draw(float lo, float hi) { return second.Range(lo, hi); }
    uint32_t DrawRaw() { return second.Next(); }

  protected:
    void Configure() override;
    virtual void OnConfigure() {}

  private:
    BurstSettings settings;
    Random second;
};

// The pulsing ring of 32: odd shots-left fire fast large bullets, even ones slow small
// ones, against their angles from the aim. The aim is a bearing in degrees taken as
// radians, as the patterns always did: only the ring's turn depends on it.
class PulsingRingPattern : public BossFirePattern {
  public:
    using BossFirePattern::BossFirePattern;

  protected:
    void FireShot() override;
};

// The aimed column of `spec`.
class AimedColumnPattern : public BossFirePattern {
  public:
    AimedColumnPattern(TaskObject* parent, GameWorldScreen* screen, const char* label,
                       const BurstSettings& settings, uint32_t seed, const ColumnSpec& spec);

  protected:
    void FireShot() override;

  private:
    const ColumnSpec& spec;
};

// One random bullet a shot, against a random angle in [0, 2 pi).
enum class SprayKind : uint8_t {
    kFourSprites,  // speed (u + 1) x 0.05, sprite 24, 26, 28 or 30 by the next raw draw
    kSprite28,     // speed (u + 1) x 0.05, sprite 28
    kFast28,       // speed in [0.15, 0.2), sprite 28
};

class RandomSprayPattern : public BossFirePattern {
  public:
    RandomSprayPattern(TaskObject* parent, GameWorldScreen* screen, const char* label,
                       const BurstSettings& settings, uint32_t seed, SprayKind kind);

  protected:
    void FireShot() override;

  private:
    SprayKind kind;
};

// A ring of 32 that turns and speeds up shot by shot: configure sets the angle to 0
// and the speed to `startSpeed`; each shot fires 32 bullets `step` apart, then the
// angle adds `turn` (signed) and the speed `speedStep`.
struct TurningRingSpec {
    float startSpeed;
    float step;
    float turn;
    float speedStep;
    int32_t sprite;
    float size;
};

class TurningRingPattern : public BossFirePattern {
  public:
    TurningRingPattern(TaskObject* parent, GameWorldScreen* screen, const char* label,
                       const BurstSettings& settings, const TurningRingSpec& spec);

  protected:
    void OnConfigure() override;
    void FireShot() override;

  private:
    TurningRingSpec spec;
};

}  // namespace mareldon
