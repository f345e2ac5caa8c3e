#pragma once

#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

class ByteReader;

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
    // The initial rotation and the keys of other, as KeyTrack::CopyFrom does.
    void CopyFrom(const RotationTrack& other);
    // The serial form (light files): the initial quaternion, the key count, then
    // 32-byte keys (time, 12 reserved bytes, x, y, z, w). Replaces the initial
    // rotation and every key; a count below 0 or beyond the bytes left, or a time
    // that is not a number, fails the reader and leaves the track as it was.
    bool Read(ByteReader& in);

    Quaternion initial;
    int32_t keyCount = 0;
    RotationKey* keys;
    int32_t keyCapacity = 1;
    int32_t lastSegment = 0;

  private:
    void Reserve(int32_t capacity);

    RotationKey inlineKey{};
};

// Angles in radians; x and y turn the other way round than z.
Quaternion EulerToQuaternion(float ex, float ey, float ez);
// a * b, the Hamilton product (x, y, z, w).
Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b);
// The rotation matrix of a unit quaternion (rows one after another).
Matrix4 QuaternionToMatrix(const Quaternion& q);
// Angles in radians, in the same convention as EulerToQuaternion.
Matrix4 EulerToMatrix(float ax, float ay, float az);
// Along the shorter arc; not renormalised.
Quaternion QuaternionSlerp(const Quaternion& q1, const Quaternion& q2, float u);

}  // namespace mareldon
