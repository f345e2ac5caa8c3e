#include "engine/core/Math.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace mareldon {

Vec3& Vec3Copy(Vec3& out, const Vec3& v) {
    out = v;
    return out;
}

Vec4& Vec4Set(Vec4& out, float x, float y, float z, float w) {
    out = {x, y, z, w};
    return out;
}

Matrix4& Matrix4Copy(Matrix4& out, const Matrix4& m) {
    out = m;
    return out;
}

Matrix4 Matrix4Identity() {
    return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Vec3 Vec3DivideScalar(const Vec3& v, float s) {
    float inverse = 1.0f / s;
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

Vec3 Vec3Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Vec3LengthSquared(const Vec3& v) {
    double x = v.x;
    double y = v.y;
    double z = v.z;
    return static_cast<float>(x * x + y * y + z * z);
}

float Vec3Length(const Vec3& v) {
    double x = v.x;
    double y = v.y;
    double z = v.z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

Vec3 Vec3Normalize(const Vec3& v) {
    float inverse = 1.0f / Vec3Length(v);
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

Vec3 Vec3TransformCoord(const Vec3& p, const Matrix4& m) {
    float x = m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3];
    float y = m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7];
    float z = m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11];
    float w = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
    return {x / w, y / w, z / w};
}

Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[4 * r + c] = b[4 * r] * a[c] + b[4 * r + 1] * a[4 + c] + b[4 * r + 2] * a[8 + c] +
                             b[4 * r + 3] * a[12 + c];
        }
    }
    return out;
}

Matrix4& Matrix4MultiplyInPlace(Matrix4& self, const Matrix4& m) {
    self = MatrixMultiply(self, m);
    return self;
}

Matrix4 MatrixRotationZ(float angle) {
    float c = std::cos(angle);
    float s = std::sin(angle);
    return {{c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix4 MatrixPerspectiveFov(float nearZ, float farZ, float fov, float sx, float sy) {
    Matrix4 out{};
    if (fov != 0.0f) {
        float q = farZ / (farZ - nearZ);
        float k = 1.0f / std::tan(fov / 2.0f);
        out[0] = sx * k;
        out[5] = sy * k;
        out[10] = q;
        out[11] = -q * nearZ;
        out[14] = 1.0f;
    } else {
        float q = 1.0f / (farZ - nearZ);
        out[0] = sx;
        out[5] = sy;
        out[10] = q;
        out[11] = -q * nearZ;
        out[15] = 1.0f;
    }
    return out;
}

Matrix4 MatrixLookAt(const Vec3& eye, const Vec3& forward, const Vec3& up) {
    Vec3 f = Vec3DivideScalar(forward, Vec3Length(forward));
    Vec3 u = Vec3DivideScalar(up, Vec3Length(up));
    Vec3 r = Vec3Cross(u, f);
    auto dot = [&eye](const Vec3& v) { return eye.x * v.x + eye.y * v.y + eye.z * v.z; };
    return {{r.x, r.y, r.z, -dot(r), u.x, u.y, u.z, -dot(u), f.x, f.y, f.z, -dot(f), 0, 0, 0, 1}};
}

int32_t TruncateToInt32(float value) {
    if (std::isnan(value))
        return 0;
    // 2^31 is the first float past the top; every float below it truncates in range.
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

namespace {
constexpr float kInversePivotShare = 1e-4f;
}  // namespace

bool Matrix4Inverse(Matrix4& out, const Matrix4& m) {
    Matrix4 a = m;
    Matrix4 inverse = Matrix4Identity();
    for (int column = 0; column < 4; ++column) {
        // The diagonal pivot is kept whenever it can be divided by, so ordinary
        // transforms invert to the same bits as without row exchanges (replays rely on
        // them); only a vanishing one (a 90-degree yaw's cosine) gives way to the
        // column's largest.
        int pivotRow = column;
        float largest = 0.0f;
        int largestRow = column;
        for (int row = column; row < 4; ++row) {
            if (std::fabs(a[4 * row + column]) > largest) {
                largest = std::fabs(a[4 * row + column]);
                largestRow = row;
            }
        }
        if (std::fabs(a[4 * column + column]) < kInversePivotShare * largest)
            pivotRow = largestRow;
        if (a[4 * pivotRow + column] == 0.0f) {
            out = Matrix4Identity();
            return false;
        }
        if (pivotRow != column) {
            for (int c = 0; c < 4; ++c) {
                std::swap(a[4 * pivotRow + c], a[4 * column + c]);
                std::swap(inverse[4 * pivotRow + c], inverse[4 * column + c]);
            }
        }
        float scale = 1.0f / a[4 * column + column];
        for (int c = 0; c < 4; ++c) {
            a[4 * column + c] *= scale;
            inverse[4 * column + c] *= scale;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == column)
                continue;
            float factor = a[4 * row + column];
            if (factor == 0.0f)
                continue;
            for (int c = 0; c < 4; ++c) {
                a[4 * row + c] -= factor * a[4 * column + c];
                inverse[4 * row + c] -= factor * inverse[4 * column + c];
            }
        }
    }
    out = inverse;
    return true;
}

}  // namespace mareldon
