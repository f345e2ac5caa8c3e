#include "engine/core/KeyTrack.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "engine/core/ByteReader.h"

namespace mareldon {

namespace {

constexpr float kOneThird = 1.0f / 3.0f;     // 0x3EAAAAAB
constexpr float kBezierTolerance = 0.0001f;  // 0x38D1B717
constexpr float kSmallHandle = 0.00001f;     // 0x3727C5AC
constexpr uint32_t kKindTcb = 0;
constexpr uint32_t kKindLinear = 3;
constexpr uint32_t kKindBezier = 5;

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

float ReadF32(const uint8_t* p) {
    uint32_t bits = ReadU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A handle ratio whose denominator may be near zero multiplies by 100000 instead.
float HandleRatio(float numerator, float denominator) {
    if (AbsFloat(denominator) <= kSmallHandle)
        return numerator * 100000.0f;
    return numerator / denominator;
}

}  // namespace

KeyTrack::~KeyTrack() {
    if (keys != &inlineKey)
        delete[] keys;
}

void KeyTrack::Reserve(int32_t capacity) {
    TrackKey* grown = new TrackKey[static_cast<size_t>(capacity)];
    std::memcpy(grown, keys, sizeof(TrackKey) * static_cast<size_t>(keyCount));
    if (keys != &inlineKey)
        delete[] keys;
    keys = grown;
    keyCapacity = capacity;
}

void KeyTrack::PutKey(const TrackKey& key) {
    int32_t i = keyCount - 1;
    while (i >= 0 && keys[i].time > key.time)
        --i;
    if (i >= 0 && keys[i].time == key.time) {
        keys[i] = key;
        return;
    }
    if (keyCount == keyCapacity)
        Reserve(keyCapacity * 2);
    int32_t at = i + 1;
    std::memmove(&keys[at + 1], &keys[at], sizeof(TrackKey) * static_cast<size_t>(keyCount - at));
    keys[at] = key;
    ++keyCount;
}

void KeyTrack::SetKey(float time, float value, uint32_t kind, float c0, float c1, float c2, float c3) {
    PutKey(TrackKey{time, value, kind, c0, c1, c2, c3, 0});
}

void KeyTrack::SetKeyFromData(const uint8_t* record) {
    PutKey(TrackKey{ReadF32(record), ReadF32(record + 4), ReadU32(record + 8), ReadF32(record + 12),
                    ReadF32(record + 16), ReadF32(record + 20), ReadF32(record + 24), ReadU32(record + 28)});
}

void KeyTrack::SetKeysFromData(const uint8_t* records, size_t count) {
    PutKeysInTimeOrder(
        count, [records](size_t k) { return ReadF32(records + k * 32); },
        [this, records](size_t k) { SetKeyFromData(records + k * 32); });
}

bool KeyTrack::Read(ByteReader& in) {
    int32_t pre = 0, post = 0, count = 0;
    float empty = 0.0f;
    const uint8_t* records = nullptr;
    if (!in.I32(pre) || !in.I32(post) || !in.F32(empty) || !in.I32(count))
        return false;
    if (count < 0 || size_t(count) > in.Remaining() / sizeof(TrackKey))
        return in.Fail();
    if (!in.Bytes(size_t(count) * sizeof(TrackKey), records))
        return false;
    for (int32_t k = 0; k < count; ++k) {
        if (std::isnan(ReadF32(records + size_t(k) * sizeof(TrackKey))))
            return in.Fail();
    }
    preMode = pre;
    postMode = post;
    defaultValue = empty;
    keyCount = 0;
    lastSegment = 0;
    if (keyCapacity < count)
        Reserve(count);
    SetKeysFromData(records, size_t(count));
    return true;
}

void KeyTrack::CopyFrom(const KeyTrack& other) {
    if (&other == this)
        return;
    preMode = other.preMode;
    postMode = other.postMode;
    defaultValue = other.defaultValue;
    lastSegment = 0;
    if (keyCapacity < other.keyCount) {
        keyCount = 0;
        Reserve(other.keyCount);
    }
    keyCount = other.keyCount;
    std::memcpy(keys, other.keys, sizeof(TrackKey) * static_cast<size_t>(keyCount));
}

void KeyTrack::ShiftTimes(float offset) {
    for (int32_t i = 0; i < keyCount; ++i)
        keys[i].time += offset;
}

float KeyTrack::Evaluate(float time) {
    if (keyCount == 0)
        return defaultValue;
    if (keyCount == 1)
        return keys[0].value;
    const TrackKey& first = keys[0];
    const TrackKey& last = keys[keyCount - 1];
    float offset = 0.0f;
    bool before = time <= first.time;
    if (before || time >= last.time) {
        int32_t mode = before ? preMode : postMode;
        int32_t wraps = 0;
        switch (mode) {
            case 0:
                return 0.0f;
            case 2:
                time = WrapTrackTime(time, first.time, last.time, &wraps);
                break;
            case 3:
                time = WrapTrackTime(time, first.time, last.time, &wraps);
                if (wraps % 2 != 0)
                    time = last.time - first.time - time;
                break;
            case 4:
                time = WrapTrackTime(time, first.time, last.time, &wraps);
                offset = (last.value - first.value) * static_cast<float>(wraps);
                break;
            case 5:
                return Extrapolate(before, time);
            default:
                return before ? first.value : last.value;
        }
    }
    lastSegment = FindTrackSegment(keys, keyCount, time, lastSegment);
    return offset + Interpolate(lastSegment, time);
}

float KeyTrack::Interpolate(int32_t segment, float time) const {
    const TrackKey& a = keys[segment];
    const TrackKey& b = keys[segment + 1];
    if (time == a.time)
        return a.value;
    if (time == b.time)
        return b.value;
    float u = (time - a.time) / (b.time - a.time);
    switch (b.kind) {
        case 0:
        case 1:
        case 2: {
            const TrackKey* p = segment > 0 ? &keys[segment - 1] : nullptr;
            const TrackKey* s = segment + 2 < keyCount ? &keys[segment + 2] : nullptr;
            float ta;
            float tb;
            if (b.kind == kKindTcb) {
                ta = (1.0f - a.c0) * (1.0f - a.c1) * (1.0f - a.c2) * (b.value - a.value);
                if (p != nullptr)
                    ta += (1.0f - a.c0) * (1.0f + a.c1) * (1.0f + a.c2) * (a.value - p->value);
                tb = (1.0f - b.c0) * (1.0f - b.c1) * (1.0f + b.c2) * (b.value - a.value);
                if (s != nullptr)
                    tb += (1.0f - b.c0) * (1.0f + b.c1) * (1.0f - b.c2) * (s->value - b.value);
            } else {
                ta = a.c1;
                tb = b.c0;
            }
            if (p != nullptr)
                ta *= (b.time - a.time) / (b.time - p->time);
            if (s != nullptr)
                tb *= (b.time - a.time) / (s->time - a.time);
            float u2 = u * u;
            float u3 = u2 * u;
            float h2 = 3.0f * u2 - 2.0f * u3;
            float h1 = 1.0f - h2;
            float h3 = u3 - 2.0f * u2 + u;
            float h4 = u3 - u2;
            return h1 * a.value + h2 * b.value + h3 * ta + h4 * tb;
        }
        case kKindLinear:
            return a.value + (b.value - a.value) * u;
        case kKindBezier: {
            float x1 = a.kind == kKindBezier ? a.time + a.c2 : a.time + (b.time - a.time) * kOneThird;
            float y1 = a.kind == kKindBezier ? a.value + a.c3 : a.value + a.c1 * kOneThird;
            float s = BezierSolve(a.time, x1, b.time + b.c0, b.time, time, 0.0f, 1.0f);
            return BezierValue(a.value, y1, b.value + b.c1, b.value, s);
        }
        default:  // 4, and kinds the data never holds
            return a.value;
    }
}

float KeyTrack::Extrapolate(bool fromFirst, float time) const {
    if (fromFirst) {
        const TrackKey& k0 = keys[0];
        const TrackKey& k1 = keys[1];
        float span = k1.time - k0.time;
        float n = 0.0f;
        switch (k0.kind) {
            case 0:
                n = (1.0f - k0.c2) * (1.0f - k0.c1) * (1.0f - k0.c0) * (k1.value - k0.value);
                break;
            case 1:
            case 2:
                n = k0.c1;
                break;
            case 3:
                n = k1.value - k0.value;
                break;
            case 5:
                n = HandleRatio(span * k0.c3, k0.c2);
                break;
            default:
                break;
        }
        return k0.value + n / span * (time - k0.time);
    }
    const TrackKey& k = keys[keyCount - 1];
    const TrackKey& p = keys[keyCount - 2];
    float span = k.time - p.time;
    float n = 0.0f;
    switch (k.kind) {
        case 0:
            n = (1.0f - k.c1) * (1.0f - k.c0) * (1.0f + k.c2) * (k.value - p.value);
            break;
        case 1:
        case 2:
            n = k.c0;
            break;
        case 3:
            n = k.value - p.value;
            break;
        case 5:
            n = HandleRatio(span * k.c1, k.c0);
            break;
        default:
            break;
    }
    return k.value + n / span * (time - k.time);
}

float BezierValue(float p0, float p1, float p2, float p3, float s) {
    float k1 = 3.0f * (p1 - p0);
    float k2 = 3.0f * (p2 - p1) - k1;
    float k3 = p3 - p0 - k1 - k2;
    float s2 = s * s;
    return k3 * (s2 * s) + k2 * s2 + k1 * s + p0;
}

float BezierSolve(float p0, float p1, float p2, float p3, float target, float lo, float hi) {
    float mid = (hi - lo) * 0.5f + lo;
    for (int i = 0; i < kBezierMaxHalvings; ++i) {
        mid = (hi - lo) * 0.5f + lo;
        float x = BezierValue(p0, p1, p2, p3, mid);
        if (AbsFloat(target - x) <= kBezierTolerance)
            return mid;
        if (x > target) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return mid;
}

float WrapTrackTime(float time, float start, float end, int32_t* wraps) {
    float span = end - start;
    if (span == 0.0f) {
        *wraps = 0;
        return start;
    }
    float r = time + start - std::floor(time * (1.0f / span)) * span;
    float count = std::nearbyint((time - r) / span);
    // Far-off or non-finite times still give a defined count.
    if (!(count > static_cast<float>(INT_MIN) && count < static_cast<float>(INT_MAX)))
        count = 0.0f;
    *wraps = static_cast<int32_t>(count);
    return r;
}

float AbsFloat(float value) {
    return std::fabs(value);
}

}  // namespace mareldon
