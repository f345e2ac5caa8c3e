#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/platform/GpuTexture.h"
#include "engine/render/device/TextureBase.h"

namespace mareldon {

class GraphicsDeviceDX;

// The one image object on the device: a sampled texture, a render target with its
// own depth surface, or the screen (the back buffer). Made only by the device's
// factories, and linked into the device's ring so a reset can restore it.
class Texture final : public TextureBase {
  public:
    // Around the device's back buffer; the ring's head.
    static Texture* CreateScreen(GraphicsDeviceDX* device);
    // Empty, of the given size. Pixel kind from the format (ARGB4444 when none fits).
    static Texture* CreateEmpty(GraphicsDeviceDX* device, uint32_t flags, int32_t width, int32_t height);
    // From IIMG or PNG/JPEG bytes; null when the bytes cannot be read.
    static Texture* CreateFromData(GraphicsDeviceDX* device, uint32_t flags, const void* data, uint32_t size);

    ~Texture() override;

    int32_t Width() override;
    int32_t Height() override;
    const float* ScreenTransform() override { return transform_; }
    void DrawGeometry(const RefPtr<GeometryBuffer>& geometry) override;
    void Upload(const TextureRect& rect, PixelKind sourceKind, const void* pixels) override;
    void SetViewport(const TextureViewport& viewport) override;
    const TextureViewport* GetViewport() override { return &viewport_; }
    void Clear(const ClearRecord& record) override;
    void ClearAll(const ClearRecord& record) override;
    void SetAttachment(const RefPtr<TextureAttachment>& attachment) override { attachment_ = attachment; }
    RefPtr<TextureAttachment>& Attachment() override { return attachment_; }
    Texture* DeviceTexture() override { return this; }
    virtual void BindAsTarget();

    uint32_t Flags() const { return flags_; }
    PixelKind Kind() const { return kind_; }
    int32_t OffsetX() const { return offsetX_; }
    int32_t OffsetY() const { return offsetY_; }
    GpuTexture* GpuTextureObject() const { return texture_.Get(); }
    GpuSurface* TopSurface() const { return surface_.Get(); }

    // Around a device reset: release what the default pool loses, then rebuild it.
    void ReleaseDefaultPool();
    void Restore();
    // The device is going away: drop everything that refers to it.
    void Detach();
    Texture* NextInRing() const { return next_; }
    void LinkAfter(Texture* head);

  private:
    Texture(GraphicsDeviceDX* device, uint32_t flags);
    void ResetViewport();
    void TakeLevelZero();
    void CreateDepthSurface();
    bool LoadIimg(const uint8_t* data, uint32_t size);
    bool LoadImage(const uint8_t* data, uint32_t size);
    void PlaceScreen();
    void Unlink();

    Texture* prev_ = this;
    Texture* next_ = this;
    GpuPtr<GpuTexture> texture_;
    GpuPtr<GpuSurface> surface_;
    GpuPtr<GpuSurface> depth_;
    GraphicsDeviceDX* device_;
    uint32_t flags_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    RefPtr<TextureAttachment> attachment_;
    TextureViewport viewport_;
    PixelKind kind_ = PixelKind::ARGB4444;
    GpuFormat format_ = GpuFormat::Unknown;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
    float transform_[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool counted_ = false;
};

}  // namespace mareldon
