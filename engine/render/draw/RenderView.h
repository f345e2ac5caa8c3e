#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/NamedNode.h"
#include "engine/core/RefPtr.h"
#include "engine/render/device/TextureBase.h"
#include "engine/render/draw/ShaderGenBase.h"

namespace mareldon {

class Renderer;

// A named entry of a view: the generator that parts of that layer are drawn with.
class RenderLayer : public NamedNode {
  public:
    RenderLayer(NamedNode* root, const char* name, const RefPtr<ShaderGenBase>& generator);
    ~RenderLayer() override;

    RefPtr<ShaderGenBase> generator;
};

// One destination of drawing: a target with a viewport and a clear record, a camera,
// and the named layers that choose each part's generator (the default generator when
// no layer name matches).
class RenderView : public NamedNode {
  public:
    // An all-zero viewport means the whole target.
    RenderView(const RefPtr<Renderer>& renderer, const RefPtr<TextureBase>& target, const ClearRecord& clear,
               const RefPtr<ShaderGenBase>& defaultGenerator, const TextureViewport& viewport);
    ~RenderView() override;

    // The clear record views get unless given one: nothing cleared, opaque black, depth 1.
    static ClearRecord DefaultClear();

    RenderLayer* AddLayer(const char* name, const RefPtr<ShaderGenBase>& generator);
    RenderLayer* FindLayer(const String& name) const;

    // Builds the view, projection and view-projection matrices and the side planes.
    // A field of view of 0 gives an orthographic projection.
    void SetCamera(const Vec3& eye, const Vec3& direction, const Vec3& up, float nearZ, float farZ, float fov,
                   float xFactor, float yFactor);
    // True when the sphere lies wholly outside the view volume; otherwise writes a
    // sorting depth (centre depth less the extent's largest view-space component).
    bool IsSphereOutside(const Vec3& centre, float radius, const Vec3& extent, float* depth) const;

    RefPtr<Renderer> renderer;
    RefPtr<TextureBase> target;
    TextureViewport viewport;
    RefPtr<ShaderGenBase> defaultGenerator;
    ClearRecord clear;
    float nearZ = 0.0f;
    float farZ = 0.0f;
    float fov = 0.0f;
    float xFactor = 1.0f;
    float yFactor = 1.0f;
    Matrix4 view = Matrix4Identity();
    Matrix4 projection = Matrix4Identity();
    Matrix4 viewProjection = Matrix4Identity();
    Vec3 direction{0.0f, 0.0f, 1.0f};
    // Left, right, top, bottom: unit normals pointing out of the volume, d = 0.
    Vec4 planes[4] = {};
    // A view without a target is reported once, not every frame.
    bool missingTargetLogged = false;
};

}  // namespace mareldon
