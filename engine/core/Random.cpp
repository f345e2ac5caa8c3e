#include "engine/core/Random.h"

namespace mareldon {

float Random::Range(float lo, float hi) {
    constexpr float kTwoToMinus32 = 2.3283064365386963e-10f;  // 0x2F800000
    return static_cast<float>(Next()) * kTwoToMinus32 * (hi - lo) + lo;
}

}  // namespace mareldon
