#pragma once

#include <cstdint>

#include "game/bosses/Boss45FireRoutines.h"

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
// The random sprays, ring 32, the aimed columns and the pulsing ring are the patterns
// the stage-4 weapons share; the rest are Boss5Pattern's.
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

// The pattern of a row, of whichever class fires its routine.
BossPattern* MakeBoss5Pattern(TaskObject* parent, GameWorldScreen* screen, const Boss5PatternRow& row,
                              const char* label);

// A pattern of a stage-5 muzzle with a routine of its own. Directions are (cos a, 0, sin a)
// for a in radians unless a routine says otherwise.
class Boss5Pattern : public BossFirePattern {
  public:
    Boss5Pattern(TaskObject* parent, GameWorldScreen* screen, const Boss5PatternRow& row, const char* label);

    // The growing ring's bullet count.
    float count = 0.0f;
    const Boss5PatternRow& row;

  protected:
    void OnConfigure() override;
    void OnBurstStart() override;
    void FireShot() override;
};

}  // namespace mareldon
