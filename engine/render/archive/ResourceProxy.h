#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/TextureBase.h"

namespace mareldon {

class GraphicsDevice;

// The texture front that tasks, sprite sheets and fonts hold: every operation goes
// to an inner texture. When the device could not make one, the front answers with
// zero sizes and draws, uploads and clears nothing.
class ResourceProxy : public TextureBase {
  public:
    // A texture made from image bytes (IIMG or an image-loader format).
    ResourceProxy(const RefPtr<GraphicsDevice>& device, uint32_t flags, const void* bytes, uint32_t count);
    // Around a texture that exists already (the screen, a named texture).
    explicit ResourceProxy(const RefPtr<Texture>& texture);
    ~ResourceProxy() override;

    // An empty texture of the given size.
    static ResourceProxy* CreateTexture(const RefPtr<GraphicsDevice>& device, uint32_t flags, int32_t width,
                                        int32_t height);

    int32_t Width() override;
    int32_t Height() override;
    const float* ScreenTransform() override;
    void DrawGeometry(const RefPtr<GeometryBuffer>& geometry) override;
    void Upload(const TextureRect& rect, PixelKind sourceKind, const void* pixels) override;
    void SetViewport(const TextureViewport& viewport) override;
    const TextureViewport* GetViewport() override;
    void Clear(const ClearRecord& record) override;
    void ClearAll(const ClearRecord& record) override;
    void SetAttachment(const RefPtr<TextureAttachment>& attachment) override;
    RefPtr<TextureAttachment>& Attachment() override;
    Texture* DeviceTexture() override;

    const RefPtr<Texture>& Inner() const { return inner_; }

  private:
    RefPtr<Texture> inner_;
    // What an empty front hands out by pointer or reference.
    TextureViewport emptyViewport_{0, 0, 0, 0, 0.0f, 0.0f};
    RefPtr<TextureAttachment> emptyAttachment_;
};

}  // namespace mareldon
