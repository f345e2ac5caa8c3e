#include "engine/core/RotationTrack.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "engine/core/ByteReader.h"
#include "engine/core/KeyTrack.h"

namespace mareldon {

RotationTrack::RotationTrack() : initial(EulerToQuaternion(0.0f, 0.0f, 0.0f)), keys(&inlineKey) {}

RotationTrack::~RotationTrack() {
    if (keys != &inlineKey)
        delete[] keys;
}

void RotationTrack::SetKey(float time, const Quaternion& rotation) {
    int32_t i = keyCount - 1;
    while (i >= 0 && keys[i].time > time)
        --i;
    if (i >= 0 && keys[i].time == time) {
        keys[i].rotation = rotation;
        return;
    }
    if (keyCount == keyCapacity)
        Reserve(keyCapacity * 4);
    int32_t at = i + 1;
    std::memmove(&keys[at + 1], &keys[at], sizeof(RotationKey) * static_cast<size_t>(keyCount - at));
    keys[at] = RotationKey{time, rotation};
    ++keyCount;
}

void RotationTrack::Reserve(int32_t capacity) {
    RotationKey* grown = new RotationKey[static_cast<size_t>(capacity)];
    std::memcpy(grown, keys, sizeof(RotationKey) * static_cast<size_t>(keyCount));
    if (keys != &inlineKey)
        delete[] keys;
    keys = grown;
    keyCapacity = capacity;
}

void RotationTrack::CopyFrom(const RotationTrack& other) {
    if (&other == this)
        return;
    initial = other.initial;
    lastSegment = 0;
    if (keyCapacity < other.keyCount) {
        keyCount = 0;
        Reserve(other.keyCount);
    }
    keyCount = other.keyCount;
    std::memcpy(keys, other.keys, sizeof(RotationKey) * static_cast<size_t>(keyCount));
}

bool RotationTrack::Read(ByteReader& in) {
    constexpr size_t kKeyBytes = 32;
    Quaternion first{};
    int32_t count = 0;
    const uint8_t* records = nullptr;
    if (!in.F32(first.x) || !in.F32(first.y) || !in.F32(first.z) || !in.F32(first.w) || !in.I32(count))
        return false;
    if (count < 0 || size_t(count) > in.Remaining() / kKeyBytes)
        return in.Fail();
    if (!in.Bytes(size_t(count) * kKeyBytes, records))
        return false;
    auto word = [records](size_t k, size_t at) {
        return std::bit_cast<float>(LoadLE32(records + k * kKeyBytes + at));
    };
    for (size_t k = 0; k < size_t(count); ++k) {
        if (std::isnan(word(k, 0)))
            return in.Fail();
    }
    initial = first;
    keyCount = 0;
    lastSegment = 0;
    if (keyCapacity < count)
        Reserve(count);
    PutKeysInTimeOrder(
        size_t(count), [&word](size_t k) { return word(k, 0); },
        [this, &word](size_t k) {
            SetKey(word(k, 0), Quaternion{word(k, 16), word(k, 20), word(k, 24), word(k, 28)});
        });
    return true;
}

Quaternion RotationTrack::Sample(float time) {
    if (keyCount == 0)
        return initial;
    if (keyCount == 1)
        return keys[0].rotation;
    if (time <= keys[0].time)
        return keys[0].rotation;
    if (time >= keys[keyCount - 1].time)
        return keys[keyCount - 1].rotation;
    lastSegment = FindTrackSegment(keys, keyCount, time, lastSegment);
    const RotationKey& a = keys[lastSegment];
    const RotationKey& b = keys[lastSegment + 1];
    float u = (time - a.time) / (b.time - a.time);
    return QuaternionSlerp(a.rotation, b.rotation, u);
}

Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Matrix4 QuaternionToMatrix(const Quaternion& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    return {{1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - z * w), 2.0f * (x * z + y * w), 0.0f,
             2.0f * (x * y + z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - x * w), 0.0f,
             2.0f * (x * z - y * w), 2.0f * (y * z + x * w), 1.0f - 2.0f * (x * x + y * y), 0.0f, 0.0f, 0.0f,
             0.0f, 1.0f}};
}

Matrix4 EulerToMatrix(float ax, float ay, float az) {
    const float sx = std::sin(ax), cx = std::cos(ax);
    const float sy = std::sin(ay), cy = std::cos(ay);
    const float sz = std::sin(az), cz = std::cos(az);
    return {{sz * sy * sx + cz * cy, cz * sy * sx - sz * cy, sy * cx, 0.0f, sz * cx, cz * cx, -sx, 0.0f,
             sz * cy * sx - cz * sy, cz * cy * sx + sz * sy, cy * cx, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}};
}

Quaternion EulerToQuaternion(float ex, float ey, float ez) {
    float sx = std::sin(-ex / 2.0f);
    float cx = std::cos(-ex / 2.0f);
    float sy = std::sin(-ey / 2.0f);
    float cy = std::cos(-ey / 2.0f);
    float sz = std::sin(ez / 2.0f);
    float cz = std::cos(ez / 2.0f);
    return {cz * cy * sx - sz * sy * cx, sz * cy * sx + cz * sy * cx, sz * cy * cx - cz * sy * sx,
            sz * sy * sx + cz * cy * cx};
}

Quaternion QuaternionSlerp(const Quaternion& q1, const Quaternion& q2, float u) {
    Quaternion to = q2;
    float d = q1.x * to.x + q1.y * to.y + q1.z * to.z + q1.w * to.w;
    if (d < 0.0f) {
        to = {-to.x, -to.y, -to.z, -to.w};
        d = -d;
    }
    float a = 1.0f - u;
    float b = u;
    if (1.0f - d > 0.001f) {
        float theta = std::acos(d);
        float sinTheta = std::sin(theta);
        a = std::sin((1.0f - u) * theta) / sinTheta;
        b = std::sin(u * theta) / sinTheta;
    }
    return {a * q1.x + b * to.x, a * q1.y + b * to.y, a * q1.z + b * to.z, a * q1.w + b * to.w};
}

}  // namespace mareldon
