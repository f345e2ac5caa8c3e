#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace mareldon {

class ByteReader;

// One key of a float curve: 32 bytes, laid out as the archive's key records.
//   0 time (f32)   4 value (f32)   8 kind (u32)
//   12 c0  16 c1  20 c2  24 c3 (f32)   28 reserved (u32)
// Kinds: 0 tension-continuity-bias, 1 and 2 Hermite (c0 in, c1 out tangent), 3
// linear, 4 step, 5 Bezier (c0/c1 incoming, c2/c3 outgoing handle offsets).
struct TrackKey {
    float time;
    float value;
    uint32_t kind;
    float c0, c1, c2, c3;
    uint32_t reserved;
};
static_assert(sizeof(TrackKey) == 32);

// A float channel: keys sorted by time, each segment interpolated by the kind of its
// end key. Before the first and after the last key one of six modes applies:
// 0 zero, 1 hold, 2 cycle, 3 oscillate, 4 cycle with offset, 5 extrapolate (kinds
// and modes out of range act as step and hold).
class KeyTrack {
  public:
    KeyTrack() : keys(&inlineKey) {}
    virtual ~KeyTrack();
    KeyTrack(const KeyTrack&) = delete;
    KeyTrack& operator=(const KeyTrack&) = delete;

    // Overwrites the key at exactly that time, or inserts it in order.
    void SetKey(float time, float value, uint32_t kind, float c0 = 0.0f, float c1 = 0.0f, float c2 = 0.0f,
                float c3 = 0.0f);
    // From a 32-byte little-endian key record, all eight words.
    void SetKeyFromData(const uint8_t* record);
    // `count` consecutive key records, added as SetKeyFromData does.
    void SetKeysFromData(const uint8_t* records, size_t count);
    // The serial form (light files): pre mode, post mode, empty value (f32), key count,
    // then the 32-byte key records. Replaces the modes, the empty value and every key.
    // A count below 0 or beyond the bytes left, or a key time that is not a number,
    // fails the reader and leaves the track as it was.
    bool Read(ByteReader& in);
    void CopyFrom(const KeyTrack& other);
    void ShiftTimes(float offset);
    float Evaluate(float time);

    int32_t preMode = 1;
    int32_t postMode = 1;
    float defaultValue = 0.0f;
    int32_t keyCount = 0;
    TrackKey* keys;
    int32_t keyCapacity = 1;
    int32_t lastSegment = 0;

  private:
    void PutKey(const TrackKey& key);
    void Reserve(int32_t capacity);
    float Interpolate(int32_t segment, float time) const;
    float Extrapolate(bool fromFirst, float time) const;

    TrackKey inlineKey{};
};

// k3 s^3 + k2 s^2 + k1 s + p0 of the cubic Bezier p0..p3.
float BezierValue(float p0, float p1, float p2, float p3, float s);
// The parameter in [lo, hi] where the curve reaches target, by halving; stops within
// 0.0001 or after kBezierMaxHalvings (curves whose time runs backwards, or large
// times whose float spacing is wider than the tolerance, never meet it).
float BezierSolve(float p0, float p1, float p2, float p3, float target, float lo, float hi);
constexpr int kBezierMaxHalvings = 64;
// Wraps time into [start, end) with the phase measured from time 0; wraps gets the
// number of spans moved.
float WrapTrackTime(float time, float start, float end, int32_t* wraps);
float AbsFloat(float value);

// Calls put(i) for i in [0, count) in ascending time(i), stably (of two keys at one
// time the later still wins). Keys already in order go in one by one; others are
// ordered first, since inserting each where it belongs would move every key behind it,
// which a long track stored in reverse turns into minutes of loading.
template <typename TimeAt, typename Put>
void PutKeysInTimeOrder(size_t count, TimeAt time, Put put) {
    size_t k = 1;
    while (k < count && time(k) >= time(k - 1))
        ++k;
    if (k >= count) {
        for (k = 0; k < count; ++k)
            put(k);
        return;
    }
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&time](size_t a, size_t b) { return time(a) < time(b); });
    for (size_t at : order)
        put(at);
}

// Finds the segment holding time, starting from a cached index: the shared search of
// the float and rotation tracks.
template <typename Key>
int32_t FindTrackSegment(const Key* keys, int32_t count, float time, int32_t start) {
    int32_t i = start;
    if (i > count - 2)
        i = count - 2;
    if (i < 0)
        i = 0;
    if (time > keys[i].time) {
        while (i + 1 < count && keys[i + 1].time <= time)
            ++i;
    } else if (time < keys[i].time) {
        while (i > 0 && keys[i].time > time)
            --i;
    }
    if (i > count - 2)
        i = count - 2;
    return i;
}

}  // namespace mareldon
