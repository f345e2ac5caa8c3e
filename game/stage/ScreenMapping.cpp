#include "game/stage/ScreenMapping.h"

namespace mareldon {

namespace {

// T(w/2, h/2, 0) S(w/2, -h/2, 1): clip x and y in [-1, 1] to [0, w] and [h, 0].
Matrix4 ClipToRect(float width, float height) {
    Matrix4 out = Matrix4Identity();
    out[0] = width * 0.5f;
    out[3] = width * 0.5f;
    out[5] = -height * 0.5f;
    out[7] = height * 0.5f;
    return out;
}

}  // namespace

ScreenMapping::ScreenMapping() {
    SetupCamera(Matrix4Identity(), Matrix4Identity(), kDefaultWidth, kDefaultHeight);
}

void ScreenMapping::SetupCamera(const Matrix4& view, const Matrix4& projection, float viewportWidth,
                                float viewportHeight) {
    width = viewportWidth;
    height = viewportHeight;
    projectionScale = projection[0];
    viewProjection = MatrixMultiply(view, projection);
    mapping = MatrixMultiply(viewProjection, ClipToRect(width, height));
}

Vec3 ScreenMapping::ProjectToScreen(const Vec3& point) const {
    return Vec3TransformCoord(point, mapping);
}

float ScreenMapping::ProjectRadius(const Vec3& point, float radius) const {
    const Matrix4& m = viewProjection;
    float w = m[12] * point.x + m[13] * point.y + m[14] * point.z + m[15];
    return radius * projectionScale / w * (width * 0.5f);
}

bool ScreenMapping::IsOnScreen(const Vec3& point, float margin) const {
    Vec3 screen = ProjectToScreen(point);
    return !(screen.x + margin < 0.0f || screen.x - margin > width || screen.y + margin < 0.0f ||
             screen.y - margin > height);
}

Matrix4 ComputeProjectiveTextureMatrix(const Matrix4& view, const Matrix4& projection) {
    return MatrixMultiply(MatrixMultiply(view, projection), ClipToRect(1.0f, 1.0f));
}

}  // namespace mareldon
