#include "engine/core/KeyTrack.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/ByteReader.h"
#include "engine/core/ByteWriter.h"
#include "engine/core/RotationTrack.h"

namespace mareldon {
namespace {

class LinearTrack : public ::testing::Test {
  protected:
    void SetUp() override {
        track.SetKey(0.0f, 0.0f, 3);
        track.SetKey(10.0f, 100.0f, 3);
    }
    KeyTrack track;
};

TEST_F(LinearTrack, EndModes) {
    struct Case {
        int pre, post;
        float time, expected;
    };
    const Case cases[] = {
        {1, 1, 2.5f, 25.0f},   {1, 1, -1.0f, 0.0f},   {0, 1, -1.0f, 0.0f},   {5, 1, -1.0f, -10.0f},
        {1, 2, 12.0f, 20.0f},  {1, 4, 12.0f, 120.0f}, {1, 3, 12.0f, 80.0f},  {1, 1, 12.0f, 100.0f},
        {1, 5, 12.0f, 120.0f}, {1, 0, 12.0f, 0.0f},   {4, 1, -3.0f, -30.0f}, {2, 1, -3.0f, 70.0f},
        {3, 1, -3.0f, 30.0f},  {9, 9, 12.0f, 100.0f},  // unknown modes hold
        {0, 1, 0.0f, 0.0f},                            // zero also at exactly the first key
    };
    for (const Case& c : cases) {
        track.preMode = c.pre;
        track.postMode = c.post;
        EXPECT_FLOAT_EQ(track.Evaluate(c.time), c.expected) << c.pre << " " << c.post << " " << c.time;
    }
}

TEST_F(LinearTrack, KeysStaySortedAndUnique) {
    track.SetKey(10.0f, 50.0f, 3);  // overwrite
    EXPECT_EQ(track.keyCount, 2);
    EXPECT_FLOAT_EQ(track.Evaluate(5.0f), 25.0f);
    track.SetKey(5.0f, 0.0f, 4);  // the segment ending here holds its start value
    track.SetKey(-5.0f, 7.0f, 3);
    EXPECT_EQ(track.keyCount, 4);
    EXPECT_EQ(track.keyCapacity, 4);
    EXPECT_EQ(track.keys[0].time, -5.0f);
    EXPECT_EQ(track.Evaluate(4.999f), 0.0f);
    EXPECT_EQ(track.Evaluate(2.0f), 0.0f);
    track.SetKey(2.0f, 99.0f, 4);
    EXPECT_EQ(track.Evaluate(4.0f), 99.0f);
    EXPECT_EQ(track.Evaluate(5.0f), 0.0f);  // the end key's value at its own time

    KeyTrack copy;
    copy.CopyFrom(track);
    EXPECT_EQ(copy.keyCount, 5);
    EXPECT_EQ(copy.keyCapacity, 5);
    copy.ShiftTimes(100.0f);
    EXPECT_FLOAT_EQ(copy.Evaluate(107.5f), 25.0f);
    EXPECT_FLOAT_EQ(track.Evaluate(7.5f), 25.0f);

    const uint8_t record[32] = {0, 0, 0xA0, 0x40, 0, 0, 0x80, 0x3F, 3};  // time 5, value 1, linear
    track.SetKeyFromData(record);
    EXPECT_EQ(track.keyCount, 5);
    EXPECT_FLOAT_EQ(track.Evaluate(7.5f), 25.5f);
}

TEST(KeyTrackTest, CurvesAndBadData) {
    KeyTrack empty;
    empty.defaultValue = 3.0f;
    EXPECT_EQ(empty.Evaluate(1.0f), 3.0f);

    KeyTrack hermite;  // explicit tangents: value change per whole segment
    hermite.SetKey(0.0f, 0.0f, 1, 0.0f, 0.0f);
    hermite.SetKey(1.0f, 1.0f, 1, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(hermite.Evaluate(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(hermite.Evaluate(0.25f), 0.15625f);

    KeyTrack tcb;  // tension 1 flattens both tangents to 0
    tcb.SetKey(0.0f, 0.0f, 0, 1.0f);
    tcb.SetKey(2.0f, 4.0f, 0, 1.0f);
    EXPECT_FLOAT_EQ(tcb.Evaluate(1.0f), 2.0f);
    KeyTrack tcb0;  // zero parameters: both tangents equal the segment's change
    tcb0.SetKey(0.0f, 0.0f, 0);
    tcb0.SetKey(2.0f, 4.0f, 0);
    EXPECT_FLOAT_EQ(tcb0.Evaluate(0.5f), 1.0f);

    KeyTrack bezier;  // handles on the straight line: linear
    bezier.SetKey(0.0f, 0.0f, 5, 0.0f, 0.0f, 1.0f, 1.0f);
    bezier.SetKey(3.0f, 3.0f, 5, -1.0f, -1.0f);
    EXPECT_NEAR(bezier.Evaluate(1.5f), 1.5f, 1e-3f);
    bezier.postMode = 5;
    EXPECT_FLOAT_EQ(bezier.Evaluate(4.0f), 4.0f);

    KeyTrack odd;  // kinds the data never holds act as a step
    odd.SetKey(0.0f, 1.0f, 3);
    odd.SetKey(1.0f, 2.0f, 77);
    EXPECT_EQ(odd.Evaluate(0.5f), 1.0f);
    odd.preMode = 5;
    EXPECT_EQ(odd.Evaluate(-1.0f), 1.0f - (2.0f - 1.0f));
    odd.postMode = 2;
    EXPECT_TRUE(std::isfinite(odd.Evaluate(1e30f)));  // a far-off time wraps to a defined value
}

TEST(KeyTrackTest, BezierAtLargeTimesEnds) {
    KeyTrack track;  // stage timelines run to thousands of frames
    track.SetKey(4990.0f, 0.0f, 5, 0.0f, 0.0f, 3.0f, 1.0f);
    track.SetKey(5010.0f, 10.0f, 5, -3.0f, -1.0f);
    auto start = std::chrono::steady_clock::now();
    float value = track.Evaluate(5000.001f);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_NEAR(value, 5.0f, 0.01f);
    // A time curve that runs backwards never meets the tolerance.
    float s = BezierSolve(0.0f, 5.0f, -5.0f, 0.0f, 10.0f, 0.0f, 1.0f);
    EXPECT_GE(s, 0.0f);
    EXPECT_LE(s, 1.0f);
}

TEST(KeyTrackTest, WrapMeasuresThePhaseFromZero) {
    // Kept as the game did it: with keys from 2 to 6 the cycle is shifted by the start.
    int32_t wraps = 0;
    EXPECT_FLOAT_EQ(WrapTrackTime(7.0f, 2.0f, 6.0f, &wraps), 5.0f);
    EXPECT_EQ(wraps, 0);  // (7 - 5) / 4 = 0.5, a tie, rounds to even
    EXPECT_FLOAT_EQ(WrapTrackTime(13.0f, 0.0f, 10.0f, &wraps), 3.0f);
    EXPECT_EQ(wraps, 1);
    EXPECT_FLOAT_EQ(WrapTrackTime(-3.0f, 0.0f, 10.0f, &wraps), 7.0f);
    EXPECT_EQ(wraps, -1);
    EXPECT_EQ(WrapTrackTime(5.0f, 4.0f, 4.0f, &wraps), 4.0f);
    EXPECT_EQ(wraps, 0);
    WrapTrackTime(1e38f, 0.0f, 1e-3f, &wraps);  // a count past int range is defined
}

TEST(RotationTrackTest, SlerpAndEuler) {
    Quaternion identity = EulerToQuaternion(0, 0, 0);
    EXPECT_EQ(identity.x, 0.0f);
    EXPECT_EQ(identity.y, 0.0f);
    EXPECT_EQ(identity.z, 0.0f);
    EXPECT_EQ(identity.w, 1.0f);
    Quaternion q = EulerToQuaternion(0.3f, -0.7f, 1.1f);
    Quaternion half = QuaternionSlerp(q, {-q.x, -q.y, -q.z, -q.w}, 0.5f);
    EXPECT_FLOAT_EQ(half.x, q.x);
    EXPECT_FLOAT_EQ(half.w, q.w);
    Quaternion z = EulerToQuaternion(0, 0, static_cast<float>(M_PI));
    EXPECT_NEAR(z.z, 1.0f, 1e-6f);
    Quaternion x = EulerToQuaternion(static_cast<float>(M_PI), 0, 0);
    EXPECT_NEAR(x.x, -1.0f, 1e-6f);  // x and y turn the other way

    RotationTrack track;
    EXPECT_EQ(track.Sample(1.0f).w, 1.0f);
    Quaternion quarter = EulerToQuaternion(0, 0, static_cast<float>(M_PI / 2));
    track.SetKey(0.0f, identity);
    track.SetKey(2.0f, quarter);
    EXPECT_EQ(track.keyCapacity, 4);
    track.SetKey(2.0f, quarter);
    EXPECT_EQ(track.keyCount, 2);
    Quaternion mid = track.Sample(1.0f);
    EXPECT_NEAR(mid.z, std::sin(static_cast<float>(M_PI / 8)), 1e-6f);
    EXPECT_NEAR(mid.w, std::cos(static_cast<float>(M_PI / 8)), 1e-6f);
    EXPECT_EQ(track.Sample(-1.0f).w, 1.0f);
    EXPECT_EQ(track.Sample(3.0f).z, quarter.z);
}

// Serial forms, as light files hold them.
std::vector<uint8_t> KeyTrackBytes(int32_t pre, int32_t post, float empty, int32_t count,
                                   const std::vector<std::pair<float, float>>& keys) {
    ByteWriter out;
    out.I32(pre);
    out.I32(post);
    out.F32(empty);
    out.I32(count);
    for (auto [time, value] : keys) {
        out.F32(time);
        out.F32(value);
        out.U32(3);
        out.Zeros(20);
    }
    return out.bytes;
}

std::vector<uint8_t> RotationTrackBytes(const Quaternion& initial, int32_t count,
                                        const std::vector<std::pair<float, Quaternion>>& keys) {
    ByteWriter out;
    for (float v : {initial.x, initial.y, initial.z, initial.w})
        out.F32(v);
    out.I32(count);
    for (auto [time, q] : keys) {
        out.F32(time);
        out.Zeros(12);
        for (float v : {q.x, q.y, q.z, q.w})
            out.F32(v);
    }
    return out.bytes;
}

TEST(KeyTrackTest, ReadReplacesHeaderAndKeysInTimeOrder) {
    KeyTrack track;
    track.SetKey(50.0f, 9.0f, 3);
    track.SetKey(60.0f, 9.0f, 3);
    track.SetKey(70.0f, 9.0f, 3);
    track.Evaluate(65.0f);
    std::vector<uint8_t> bytes = KeyTrackBytes(2, 0, 7.0f, 3, {{4.0f, 40.0f}, {0.0f, 0.0f}, {2.0f, 10.0f}});
    bytes.push_back(0xAB);  // the next record's first byte
    ByteReader in(bytes.data(), bytes.size());
    ASSERT_TRUE(track.Read(in));
    EXPECT_EQ(in.Position(), 16u + 3 * 32);
    EXPECT_EQ(track.preMode, 2);
    EXPECT_EQ(track.postMode, 0);
    EXPECT_EQ(track.defaultValue, 7.0f);
    ASSERT_EQ(track.keyCount, 3);
    EXPECT_EQ(track.lastSegment, 0);
    EXPECT_EQ(track.keys[0].time, 0.0f);
    EXPECT_EQ(track.keys[2].value, 40.0f);
    EXPECT_FLOAT_EQ(track.Evaluate(3.0f), 25.0f);

    std::vector<uint8_t> none = KeyTrackBytes(1, 1, -2.5f, 0, {});
    ByteReader empty(none.data(), none.size());
    ASSERT_TRUE(track.Read(empty));
    EXPECT_EQ(track.keyCount, 0);
    EXPECT_EQ(track.Evaluate(3.0f), -2.5f);
}

// A damaged track fails the reader without reading past the bytes, allocating for a
// count the bytes cannot hold, or changing the track.
TEST(KeyTrackTest, ReadRefusesDamagedTracks) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<uint8_t> cut = KeyTrackBytes(1, 1, 0.0f, 2, {{0.0f, 1.0f}, {1.0f, 2.0f}});
    cut.resize(cut.size() - 1);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"negative count", KeyTrackBytes(1, 1, 0.0f, -1, {{0.0f, 1.0f}})},
        {"count beyond the bytes", KeyTrackBytes(1, 1, 0.0f, 2, {{0.0f, 1.0f}})},
        {"huge count", KeyTrackBytes(1, 1, 0.0f, 0x7FFFFFFF, {{0.0f, 1.0f}})},
        {"key cut short", cut},
        {"header cut short", std::vector<uint8_t>(15, 0)},
        {"time not a number", KeyTrackBytes(1, 1, 0.0f, 2, {{0.0f, 1.0f}, {nan, 2.0f}})},
    };
    for (const auto& [what, bytes] : cases) {
        KeyTrack track;
        track.SetKey(1.0f, 5.0f, 3);
        ByteReader in(bytes.data(), bytes.size());
        EXPECT_FALSE(track.Read(in)) << what;
        EXPECT_FALSE(in.Ok()) << what;
        EXPECT_EQ(track.keyCount, 1) << what;
        EXPECT_EQ(track.preMode, 1) << what;
        EXPECT_EQ(track.Evaluate(0.0f), 5.0f) << what;
    }
}

TEST(RotationTrackTest, ReadReplacesInitialAndKeys) {
    Quaternion quarter = EulerToQuaternion(0, 0, static_cast<float>(M_PI / 2));
    Quaternion identity{0, 0, 0, 1};
    RotationTrack track;
    std::vector<uint8_t> bytes = RotationTrackBytes({0, 1, 0, 0}, 2, {{2.0f, quarter}, {0.0f, identity}});
    ByteReader in(bytes.data(), bytes.size());
    ASSERT_TRUE(track.Read(in));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(track.initial.y, 1.0f);
    ASSERT_EQ(track.keyCount, 2);
    EXPECT_EQ(track.keys[1].rotation.z, quarter.z);
    EXPECT_NEAR(track.Sample(1.0f).z, std::sin(static_cast<float>(M_PI / 8)), 1e-6f);

    std::vector<uint8_t> cut = RotationTrackBytes(identity, 2, {{0.0f, identity}});
    std::vector<uint8_t> negative = RotationTrackBytes(identity, -3, {});
    std::vector<uint8_t> nan =
        RotationTrackBytes(identity, 1, {{std::numeric_limits<float>::quiet_NaN(), identity}});
    for (const std::vector<uint8_t>* damaged : {&cut, &negative, &nan}) {
        ByteReader bad(damaged->data(), damaged->size());
        EXPECT_FALSE(track.Read(bad));
        EXPECT_EQ(track.keyCount, 2);
        EXPECT_EQ(track.initial.y, 1.0f);
    }
    RotationTrack copy;
    copy.CopyFrom(track);
    EXPECT_EQ(copy.keyCount, 2);
    EXPECT_EQ(copy.initial.y, 1.0f);
    EXPECT_EQ(copy.Sample(1.0f).z, track.Sample(1.0f).z);

    std::vector<uint8_t> none = RotationTrackBytes(identity, 0, {});
    ByteReader empty(none.data(), none.size());
    ASSERT_TRUE(track.Read(empty));
    EXPECT_EQ(track.keyCount, 0);
    EXPECT_EQ(track.Sample(1.0f).w, 1.0f);
}

}  // namespace
}  // namespace mareldon
