#include "engine/core/KeyTrack.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

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

}  // namespace
}  // namespace mareldon
