#include "game/stage/ScreenMapping.h"

namespace mareldon {

ScreenMapping::ScreenMapping() {
    SetupCamera(Matrix4Identity(), Matrix4Identity(), kDefaultWidth, kDefaultHeight);
}

void ScreenMapping::SetupCamera(const Matrix4& view, const Matrix4& projection, float viewportWidth,
                                float viewportHeight) {
    width = viewportWidth;
    height = viewportHeight;
    projectionScale = projection[0];
    viewProjection = MatrixMultiply(view, projection);
    Matrix4 viewport = Matrix4Identity();
    viewport[0] = width * 0.5f;
    viewport[3] = width * 0.5f;
    viewport[5] = -height * 0.5f;
    viewport[7] = height * 0.5f;
    mapping = MatrixMultiply(viewProjection, viewport);
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

}  // namespace mareldon
