#pragma once

#include <cstdint>

namespace mareldon {

// Single precision throughout; every sum is written out in a fixed order and the
// build forbids contraction, so results are bit-identical from run to run (replays
// depend on it).
struct Vec3 {
    float x, y, z;
};

struct Vec4 {
    float x, y, z, w;
};

struct Quaternion {
    float x, y, z, w;
};

// 16 floats row by row (element (r, c) at 4r + c), used with column vectors:
// p' = M p, translation in elements 3, 7 and 11.
struct Matrix4 {
    float m[16];
    float& operator[](int index) { return m[index]; }
    float operator[](int index) const { return m[index]; }
};

Vec3& Vec3Copy(Vec3& out, const Vec3& v);
Vec4& Vec4Set(Vec4& out, float x, float y, float z, float w);
Matrix4& Matrix4Copy(Matrix4& out, const Matrix4& m);
Matrix4 Matrix4Identity();

// v times 1/s.
Vec3 Vec3DivideScalar(const Vec3& v, float s);
Vec3 Vec3Cross(const Vec3& a, const Vec3& b);
// Computed in double precision.
float Vec3LengthSquared(const Vec3& v);
float Vec3Length(const Vec3& v);
// No guard: a zero vector gives NaN, as the game has always had it.
Vec3 Vec3Normalize(const Vec3& v);
// M p with the division by w.
Vec3 Vec3TransformCoord(const Vec3& p, const Matrix4& m);

// B A: the transform that applies A first, then B.
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b);
// self = m self; returns self.
Matrix4& Matrix4MultiplyInPlace(Matrix4& self, const Matrix4& m);
Matrix4 MatrixRotationZ(float angle);
// Clip space with z in [0, w]. A fov of exactly 0 gives the orthographic matrix.
Matrix4 MatrixPerspectiveFov(float nearZ, float farZ, float fov, float sx, float sy);
// Rows r, u, f with r = u x f; forward and up are expected perpendicular.
Matrix4 MatrixLookAt(const Vec3& eye, const Vec3& forward, const Vec3& up);
// Gauss-Jordan on the diagonal pivots in order; a row is exchanged only where the
// diagonal pivot is below 1e-4 of its column's largest (a 90-degree yaw's first). A
// singular matrix gives false and the identity.
bool Matrix4Inverse(Matrix4& out, const Matrix4& m);

// A float truncated toward zero, as a cast does, but defined for every input: values
// beyond the 32-bit range saturate and NaN gives 0 (a cast would be undefined).
int32_t TruncateToInt32(float value);

// The empty element constructor of plain record arrays.
template <typename T>
T* ReturnThis(T* self) {
    return self;
}

}  // namespace mareldon
