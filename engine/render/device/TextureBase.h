#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/render/device/PixelConvert.h"

namespace mareldon {

class GeometryBuffer;
class Texture;

// Creation flags of a texture.
constexpr uint32_t kTextureSampled = 0x1;
constexpr uint32_t kTextureScreenMark = 0x2;  // given to the screen texture, never tested
constexpr uint32_t kTextureRenderTarget = 0x4;
constexpr uint32_t kTextureScreen = 0x8;
constexpr uint32_t kTextureAlphaOnly = 0x100;

struct TextureViewport {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    float minZ = 0.0f;
    float maxZ = 1.0f;
};

struct TextureRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Clear flags: 0x1 colour, 0x2 depth, 0x4 stencil.
struct ClearRecord {
    uint32_t unused = 0;
    uint32_t flags = 0;
    uint32_t color = 0;
    float z = 1.0f;
    uint32_t stencil = 0;
};

// An object attached to a texture (a glyph cache).
class TextureAttachment {
  public:
    virtual ~TextureAttachment() = default;
};

// The texture interface: a texture itself, or a front that forwards to one.
class TextureBase {
  public:
    virtual ~TextureBase() = default;
    virtual int32_t Width() = 0;
    virtual int32_t Height() = 0;
    virtual const float* ScreenTransform() = 0;
    virtual void DrawGeometry(const RefPtr<GeometryBuffer>& geometry) = 0;
    virtual void Upload(const TextureRect& rect, PixelKind sourceKind, const void* pixels) = 0;
    virtual void SetViewport(const TextureViewport& viewport) = 0;
    virtual const TextureViewport* GetViewport() = 0;
    virtual void Clear(const ClearRecord& record) = 0;
    virtual void ClearAll(const ClearRecord& record) = 0;
    virtual void SetAttachment(const RefPtr<TextureAttachment>& attachment) = 0;
    virtual RefPtr<TextureAttachment>& Attachment() = 0;
    // The texture the device binds for this front (null when there is none).
    virtual Texture* DeviceTexture() = 0;
};

}  // namespace mareldon
