#pragma once

#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

struct RotationKey {
    float time;
    Quaternion rotation;
};

// Quaternion keys sorted by time, sampled with slerp; before the first and after the
// last key the end rotation holds.
class RotationTrack {
  public:
    RotationTrack();
    virtual ~RotationTrack();
    RotationTrack(const RotationTrack&) = delete;
    RotationTrack& operator=(const RotationTrack&) = delete;

    // Overwrites the key at exactly that time, or inserts it in order.
    void SetKey(float time, const Quaternion& rotation);
    Quaternion Sample(float time);

    Quaternion initial;
    int32_t keyCount = 0;
    RotationKey* keys;
    int32_t keyCapacity = 1;
    int32_t lastSegment = 0;

  private:
    RotationKey inlineKey{};
};

// Angles in radians; x and y turn the other way round than z.
Quaternion EulerToQuaternion(float ex, float ey, float ez);
// Along the shorter arc; not renormalised.
Quaternion QuaternionSlerp(const Quaternion& q1, const Quaternion& q2, float u);

}  // namespace mareldon
