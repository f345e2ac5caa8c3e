#include "engine/core/Math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/core/Clock.h"
#include "engine/core/Random.h"
#include "engine/core/Stopwatch.h"
#include "engine/core/VertexLayout.h"

namespace mareldon {
namespace {

Matrix4 Translation(float x, float y, float z) {
    Matrix4 m = Matrix4Identity();
    m[3] = x;
    m[7] = y;
    m[11] = z;
    return m;
}

// Yaw about y, built from Euler-style sines and cosines: m0 is -4.4e-8, not 0.
Matrix4 Yaw(float angle) {
    float c = std::cos(angle);
    float s = std::sin(angle);
    return {{c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1}};
}

void ExpectIdentity(const Matrix4& m) {
    Matrix4 identity = Matrix4Identity();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], identity[i], 1e-5f) << i;
}

TEST(MathTest, TransformsUseColumnVectors) {
    Vec3 p = Vec3TransformCoord({1, 2, 3}, Translation(5, 6, 7));
    EXPECT_EQ(p.x, 6.0f);
    EXPECT_EQ(p.y, 8.0f);
    EXPECT_EQ(p.z, 10.0f);

    // Translate first, then rotate a quarter turn about z.
    Matrix4 both = MatrixMultiply(Translation(1, 0, 0), MatrixRotationZ(static_cast<float>(M_PI / 2)));
    Vec3 q = Vec3TransformCoord({0, 0, 0}, both);
    EXPECT_NEAR(q.x, 0.0f, 1e-6f);
    EXPECT_NEAR(q.y, 1.0f, 1e-6f);

    Matrix4 inPlace = Translation(1, 0, 0);
    Matrix4MultiplyInPlace(inPlace, MatrixRotationZ(static_cast<float>(M_PI / 2)));
    EXPECT_EQ(std::memcmp(&inPlace, &both, sizeof both), 0);

    Vec3 cross = Vec3Cross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(cross.z, 1.0f);
    EXPECT_EQ(Vec3Length({3, 4, 12}), 13.0f);
    EXPECT_EQ(Vec3LengthSquared({3, 4, 12}), 169.0f);
    EXPECT_TRUE(std::isnan(Vec3Normalize({0, 0, 0}).x));  // unguarded on purpose
}

TEST(MathTest, TruncationIsDefinedForEveryFloat) {
    struct Case {
        float value;
        int32_t expected;
    };
    const Case cases[] = {
        {2.9f, 2},
        {-2.9f, -2},
        {0.0f, 0},
        {2147483520.0f, 2147483520},
        {3e9f, INT32_MAX},
        {-3e9f, INT32_MIN},
        {INFINITY, INT32_MAX},
        {-INFINITY, INT32_MIN},
        {std::nanf(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncateToInt32(c.value), c.expected) << c.value;
}

TEST(MathTest, InverseNeedsPivoting) {
    const Matrix4 cases[] = {
        MatrixMultiply(Yaw(static_cast<float>(M_PI / 2)), Translation(3, -2, 5)),
        MatrixMultiply(Yaw(-static_cast<float>(M_PI / 2)), Translation(0, 1, 0)),
        // A view straight down: zero second pivot.
        MatrixLookAt({0, 10, 0}, {0, -1, 0}, {0, 0, 1}),
        MatrixPerspectiveFov(1.0f, 100.0f, 1.0f, 0.75f, 1.0f),
    };
    for (const Matrix4& m : cases) {
        Matrix4 inverse;
        ASSERT_TRUE(Matrix4Inverse(inverse, m));
        ExpectIdentity(MatrixMultiply(m, inverse));
        ExpectIdentity(MatrixMultiply(inverse, m));
    }
    Matrix4 singular{};
    Matrix4 out;
    EXPECT_FALSE(Matrix4Inverse(out, singular));
    ExpectIdentity(out);
}

// Replays recorded by the original program need its inverse to the bit: the diagonal
// pivots in order, rows exchanged only where a pivot vanishes (the 90-degree yaw).
TEST(MathTest, InverseBitsAreGolden) {
    struct Case {
        const char* name;
        Matrix4 m;
        uint32_t bits[16];
    };
    const Case cases[] = {
        {"60-degree yaw, then (1, 2, 3)",
         MatrixMultiply(Yaw(static_cast<float>(M_PI / 3)), Translation(1, 2, 3)),
         {0x3EFFFFFC, 0x00000000, 0xBF5DB3D8, 0x400646E3, 0x00000000, 0x3F800000, 0x00000000, 0xC0000000,
          0x3F5DB3D8, 0x00000000, 0x3EFFFFFE, 0xC0176CF5, 0x00000000, 0x00000000, 0x00000000, 0x3F800000}},
        {"-30-degree yaw, then (-4, 0.5, 7)",
         MatrixMultiply(Yaw(-static_cast<float>(M_PI / 6)), Translation(-4, 0.5f, 7)),
         {0x3F5DB3D7, 0x00000000, 0x3F000000, 0xBD130A00, 0x00000000, 0x3F800000, 0x00000000, 0xBF000000,
          0xBF000000, 0x00000000, 0x3F5DB3D8, 0xC100FEAE, 0x00000000, 0x00000000, 0x00000000, 0x3F800000}},
        {"135-degree yaw, then (10, -3, 2.5)",
         MatrixMultiply(Yaw(static_cast<float>(3 * M_PI / 4)), Translation(10, -3, 2.5f)),
         {0xBF3504F4, 0x00000000, 0xBF3504F3, 0x410D6BDE, 0x00000000, 0x3F800000, 0x00000000, 0x40400000,
          0x3F3504F3, 0x80000000, 0xBF3504F4, 0xC0A9B4A5, 0x00000000, 0x00000000, 0x00000000, 0x3F800000}},
        {"camera at (0, 5, -20) looking at the origin",
         MatrixLookAt({0, 5, -20}, {0, -5, 20}, {0, 20, 5}),
         {0x3F800001, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x3F785B42, 0xBE785B42, 0x409FFFFF,
          0x00000000, 0x3E785B42, 0x3F785B43, 0xC1A00000, 0x00000000, 0x00000000, 0x00000000, 0x3F800000}},
        {"90-degree yaw, then (3, -2, 5)",
         MatrixMultiply(Yaw(static_cast<float>(M_PI / 2)), Translation(3, -2, 5)),
         {0xB33BBD2E, 0x00000000, 0xBF800000, 0x40A00000, 0x00000000, 0x3F800000, 0x00000000, 0x40000000,
          0x3F800000, 0x00000000, 0xB33BBD2E, 0xC03FFFFF, 0x00000000, 0x00000000, 0x00000000, 0x3F800000}},
    };
    for (const Case& c : cases) {
        Matrix4 inverse;
        ASSERT_TRUE(Matrix4Inverse(inverse, c.m)) << c.name;
        for (int i = 0; i < 16; ++i) {
            uint32_t bits;
            std::memcpy(&bits, &inverse[i], 4);
            EXPECT_EQ(bits, c.bits[i]) << c.name << " element " << i << " = " << inverse[i];
        }
    }
}

TEST(MathTest, Projections) {
    Matrix4 p = MatrixPerspectiveFov(2.0f, 10.0f, static_cast<float>(M_PI / 2), 0.5f, 1.0f);
    EXPECT_FLOAT_EQ(p[0], 0.5f);
    EXPECT_FLOAT_EQ(p[5], 1.0f);
    EXPECT_FLOAT_EQ(p[10], 1.25f);
    EXPECT_FLOAT_EQ(p[11], -2.5f);
    EXPECT_EQ(p[14], 1.0f);
    EXPECT_EQ(p[15], 0.0f);
    Vec3 nearPoint = Vec3TransformCoord({0, 0, 2}, p);
    Vec3 farPoint = Vec3TransformCoord({0, 0, 10}, p);
    EXPECT_NEAR(nearPoint.z, 0.0f, 1e-6f);  // z in [0, w]
    EXPECT_NEAR(farPoint.z, 1.0f, 1e-6f);

    Matrix4 o = MatrixPerspectiveFov(2.0f, 10.0f, 0.0f, 0.5f, 0.25f);
    EXPECT_EQ(o[0], 0.5f);
    EXPECT_EQ(o[5], 0.25f);
    EXPECT_EQ(o[10], 0.125f);
    EXPECT_EQ(o[11], -0.25f);
    EXPECT_EQ(o[14], 0.0f);
    EXPECT_EQ(o[15], 1.0f);

    Matrix4 view = MatrixLookAt({1, 2, 3}, {0, 0, 2}, {0, 1, 0});
    Vec3 eye = Vec3TransformCoord({1, 2, 3}, view);
    EXPECT_EQ(eye.x, 0.0f);
    EXPECT_EQ(eye.y, 0.0f);
    EXPECT_EQ(eye.z, 0.0f);
    Vec3 ahead = Vec3TransformCoord({1, 2, 8}, view);
    EXPECT_EQ(ahead.z, 5.0f);
}

TEST(RandomTest, SequenceIsBitExact) {
    Random a(0);
    Random b(0x19700920);
    Random c;
    for (int i = 0; i < 100; ++i) {
        uint32_t x = a.Next();
        EXPECT_EQ(x, b.Next());
        EXPECT_EQ(x, c.Next());
    }
    Random one(1);
    EXPECT_EQ(one.Next(), 0x00020005u);
    // Pinned: recorded play replays only while these draws stay the same.
    Random d;
    const uint32_t golden[] = {d.Next(), d.Next(), d.Next()};
    uint32_t x = 0x19700920;
    for (uint32_t g : golden) {
        x ^= x << 17;
        x ^= x >> 15;
        EXPECT_EQ(g, x);
    }
    Random r(1);
    EXPECT_FLOAT_EQ(r.Range(10.0f, 20.0f), 10.0f + 0x00020005u * 2.3283064365386963e-10f * 10.0f);
    Random top(0);
    top.state = 0xFFFFFFFFu;  // not reachable by Next, but Range must stay finite
    EXPECT_TRUE(std::isfinite(top.Range(0.0f, 1.0f)));
}

TEST(StopwatchTest, ReadsTheProcessClock) {
    VirtualClock clock(0xFFFFFF00u);
    ScopedClock scope(clock);
    Stopwatch watch;
    clock.Advance(1500);  // across the wrap
    EXPECT_FLOAT_EQ(watch.ElapsedSeconds(), 1.5f);
    EXPECT_EQ(watch.Restart(), 0xFFFFFF00u + 1500u);
    EXPECT_EQ(watch.ElapsedSeconds(), 0.0f);
}

TEST(VertexLayoutTest, OffsetsAndUsageIndices) {
    VertexLayout layout;
    EXPECT_EQ(layout.AddElement(2, "A"), 0);
    layout.AddElement(2, "B");
    layout.AddElement(1, "C");
    layout.AddElement(1, "C");
    const int32_t offsets[] = {0, 12, 24, 32};
    const int32_t usages[] = {0, 0, 0, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.Element(i).offset, offsets[i]);
        EXPECT_EQ(layout.Element(i).usageIndex, usages[i]);
    }
    EXPECT_EQ(layout.Stride(), 40);
    EXPECT_EQ(layout.AddElement(5, "D"), -1);
    EXPECT_EQ(layout.AddElement(-1, "D"), -1);
    EXPECT_EQ(layout.Count(), 4);
    EXPECT_EQ(layout.AddElement(4, "D"), 4);
    EXPECT_EQ(layout.Stride(), 44);
}

}  // namespace
}  // namespace mareldon
