#include "engine/core/RotationTrack.h"

#include <cmath>

#include <gtest/gtest.h>

namespace mareldon {
namespace {

void ExpectMatrixNear(const Matrix4& a, const Matrix4& b) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], 1e-6f) << i;
}

TEST(RotationFunctionsTest, Identities) {
    const Quaternion identity{0, 0, 0, 1};
    const Quaternion q{0.1f, -0.5f, 0.3f, 0.8f};
    Quaternion r = QuaternionMultiply(identity, q);
    EXPECT_EQ(r.x, q.x);
    EXPECT_EQ(r.y, q.y);
    EXPECT_EQ(r.z, q.z);
    EXPECT_EQ(r.w, q.w);
    ExpectMatrixNear(QuaternionToMatrix(identity), Matrix4Identity());
    ExpectMatrixNear(EulerToMatrix(0, 0, 0), Matrix4Identity());
}

TEST(RotationFunctionsTest, QuarterTurnAboutX) {
    Matrix4 m = EulerToMatrix(float(M_PI / 2), 0, 0);
    const float row1[4] = {0, 0, -1, 0};
    const float row2[4] = {0, 1, 0, 0};
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(m[4 + c], row1[c], 1e-6f);
        EXPECT_NEAR(m[8 + c], row2[c], 1e-6f);
    }
}

// The Hamilton product composes as the matrices do: M(a b) = M(a) M(b).
TEST(RotationFunctionsTest, ProductMatchesMatrixProduct) {
    const Quaternion a = EulerToQuaternion(0.3f, -0.7f, 1.1f);
    const Quaternion b = EulerToQuaternion(-1.2f, 0.4f, 0.2f);
    ExpectMatrixNear(QuaternionToMatrix(QuaternionMultiply(a, b)),
                     MatrixMultiply(QuaternionToMatrix(b), QuaternionToMatrix(a)));
}

}  // namespace
}  // namespace mareldon
