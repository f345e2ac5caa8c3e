#pragma once

#include "engine/core/Math.h"

namespace mareldon {

// World points to viewport pixels (y down) for the stage camera: T(W/2, H/2, 0)
// S(W/2, -H/2, 1) P V. The world screen rebuilds it once a step; collision and bullet
// culling read it in between.
class ScreenMapping {
  public:
    static constexpr float kDefaultWidth = 480.0f;
    static constexpr float kDefaultHeight = 640.0f;

    ScreenMapping();

    void SetupCamera(const Matrix4& view, const Matrix4& projection, float viewportWidth,
                     float viewportHeight);

    // (x, y, z) of the point through the mapping, divided by w.
    Vec3 ProjectToScreen(const Vec3& point) const;
    // r P(0,0) / w W/2, w the point's clip w.
    float ProjectRadius(const Vec3& point, float radius) const;
    // False when the projected point lies more than `margin` pixels outside the viewport.
    bool IsOnScreen(const Vec3& point, float margin) const;

    const Matrix4& GetMapping() const { return mapping; }
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }

  private:
    Matrix4 mapping;
    Matrix4 viewProjection;
    float projectionScale = 1.0f;
    float width = kDefaultWidth;
    float height = kDefaultHeight;
};

// Clip space to texture coordinates for a camera's view and projection:
// T(0.5, 0.5, 0) S(0.5, -0.5, 1) P V, for textures projected from the camera.
Matrix4 ComputeProjectiveTextureMatrix(const Matrix4& view, const Matrix4& projection);

}  // namespace mareldon
