#pragma once

#include <cstdint>

namespace mareldon {

// The game's xorshift generator. Its exact sequence is what recorded play and the
// game's feel are built on: keep every bit and every caller's order of draws.
class Random {
  public:
    static constexpr uint32_t kDefaultState = 0x19700920;

    Random() : state(kDefaultState) {}
    explicit Random(uint32_t seed) { Seed(seed); }

    // A seed of 0 would stick at 0: it means the default state.
    void Seed(uint32_t seed) { state = seed != 0 ? seed : kDefaultState; }
    uint32_t Next() {
        state ^= state << 17;
        state ^= state >> 15;
        return state;
    }
    // Next * 2^-32 * (hi - lo) + lo. Can return hi itself when Next rounds up to 2^32.
    float Range(float lo, float hi);

    uint32_t state;
};

}  // namespace mareldon
