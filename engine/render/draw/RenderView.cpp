#include "engine/render/draw/RenderView.h"

#include <cmath>

namespace mareldon {

RenderLayer::RenderLayer(NamedNode* root, const char* layerName, const RefPtr<ShaderGenBase>& layerGenerator)
    : NamedNode(root, layerName), generator(layerGenerator) {}

RenderLayer::~RenderLayer() = default;

RenderView::RenderView(const RefPtr<Renderer>& rendererHandle, const RefPtr<TextureBase>& targetHandle,
                       const ClearRecord& clearRecord, const RefPtr<ShaderGenBase>& generator,
                       const TextureViewport& area)
    : NamedNode(kDefaultBucketCount),
      renderer(rendererHandle),
      target(targetHandle),
      viewport(area),
      defaultGenerator(generator),
      clear(clearRecord) {
    bool whole = area.x == 0 && area.y == 0 && area.width == 0 && area.height == 0 && area.minZ == 0.0f &&
                 area.maxZ == 0.0f;
    if (whole) {
        viewport.width = target ? target->Width() : 0;
        viewport.height = target ? target->Height() : 0;
        viewport.minZ = 0.0f;
        viewport.maxZ = 1.0f;
    }
}

RenderView::~RenderView() {
    DeleteEntries();
}

ClearRecord RenderView::DefaultClear() {
    ClearRecord record;
    record.flags = 0;
    record.color = 0xFF000000u;
    record.z = 1.0f;
    record.stencil = 0;
    return record;
}

RenderLayer* RenderView::AddLayer(const char* layerName, const RefPtr<ShaderGenBase>& generator) {
    return new RenderLayer(this, layerName, generator);
}

RenderLayer* RenderView::FindLayer(const String& layerName) const {
    return static_cast<RenderLayer*>(Find(layerName));
}

void RenderView::SetCamera(const Vec3& eye, const Vec3& viewDirection, const Vec3& up, float nearPlane,
                           float farPlane, float fieldOfView, float xScale, float yScale) {
    nearZ = nearPlane;
    farZ = farPlane;
    fov = fieldOfView;
    xFactor = xScale;
    yFactor = yScale;
    direction = viewDirection;
    view = MatrixLookAt(eye, viewDirection, up);
    Matrix4 perspective = MatrixPerspectiveFov(nearPlane, farPlane, fieldOfView, xScale, yScale);
    Matrix4 adjustment = Matrix4Identity();
    if (target) {
        const float* transform = target->ScreenTransform();
        if (transform != nullptr) {
            for (int i = 0; i < 16; ++i)
                adjustment[i] = transform[i];
        }
    }
    projection = MatrixMultiply(perspective, adjustment);  // adjustment . perspective
    viewProjection = MatrixMultiply(view, projection);     // projection . view
    if (fieldOfView != 0.0f) {
        float t = std::tan(fieldOfView / 2.0f);
        float a = t / yScale;
        float b = t / xScale;
        float lb = std::sqrt(1.0f + b * b);
        float la = std::sqrt(1.0f + a * a);
        planes[0] = Vec4{-1.0f / lb, 0.0f, -b / lb, 0.0f};
        planes[1] = Vec4{1.0f / lb, 0.0f, -b / lb, 0.0f};
        planes[2] = Vec4{0.0f, 1.0f / la, -a / la, 0.0f};
        planes[3] = Vec4{0.0f, -1.0f / la, -a / la, 0.0f};
    }
}

bool RenderView::IsSphereOutside(const Vec3& centre, float radius, const Vec3& extent, float* depth) const {
    Vec3 p = Vec3TransformCoord(centre, view);
    if (nearZ - p.z > radius || p.z - farZ > radius)
        return true;
    if (fov == 0.0f) {
        if ((p.x - radius) * xFactor > 1.0f || (p.x + radius) * xFactor < -1.0f ||
            (p.y - radius) * yFactor > 1.0f || (p.y + radius) * yFactor < -1.0f)
            return true;
    } else {
        for (int i = 0; i < 2; ++i) {
            if (planes[i].x * p.x + planes[i].z * p.z + planes[i].w > radius)
                return true;
        }
        for (int i = 2; i < 4; ++i) {
            if (planes[i].y * p.y + planes[i].z * p.z + planes[i].w > radius)
                return true;
        }
    }
    Vec3 q = Vec3TransformCoord(Vec3{centre.x + extent.x, centre.y + extent.y, centre.z + extent.z}, view);
    float reach = std::fabs(q.x - p.x);
    reach = std::fmax(reach, std::fabs(q.y - p.y));
    reach = std::fmax(reach, std::fabs(q.z - p.z));
    if (depth != nullptr)
        *depth = p.z - reach;
    return false;
}

}  // namespace mareldon
