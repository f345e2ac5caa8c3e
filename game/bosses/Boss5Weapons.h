#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

// The fire routines of the stage-5 muzzles.
enum class Boss5Routine : uint8_t {
    kAlternatingRing24,
    kRandomQuad,
    kAimedColumn2,
    kRandomSpray,
    kRosetteVolley,
    kRosetteDisc,
    kTwinSpiral,
    kTwinSpiral2,
    kAimedFan5,
    kAimedFan6,
    kForwardDrip,
    kTripleSpiral,
    kTripleSpiral2,
    kRing96,
    kRandomSpray2,
    kTurningRing24,
    kTurningRing24b,
    kGrowingRing,
    kRing32,
    kAimedColumn3,
    kRandomWedge,
    kPulsingRing32,
};

// One pattern row: burst settings (B, S, N, K; N + 1 shots a burst), the routine, its
// first angle (radians) and speed, sprite, and the seed of its own generator (0: none).
struct Boss5PatternRow {
    int32_t burstInterval;
    int32_t shotInterval;
    int32_t burstShots;
    int32_t burstCount;
    Boss5Routine routine;
    float angle;
    float speed;
    int32_t sprite;
    uint32_t seed;
};

// A pattern of a stage-5 muzzle: its row's burst settings and routine.
class Boss5Pattern : public BossPattern {
  public:
    Boss5Pattern(TaskObject* parent, GameWorldScreen* screen, const Boss5PatternRow& row, const char* label);

    float angle = 0.0f;
    float speed = 0.0f;
    // The growing ring's bullet count.
    float count = 0.0f;
    const Boss5PatternRow& row;

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    float Draw(float lo, float hi) { return own.Range(lo, hi); }
    // The aimed columns, rosettes and pulsing ring the stage-4 weapons share.
    void FireShared();
    void Fire(const Vec3& from, const Vec3& velocity, int32_t sprite, float size);

    Random own;
};

}  // namespace mareldon
