#pragma once

#include <vector>

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/TextureBase.h"

namespace mareldon {

// A render target that keeps its clears and the primitive count of every draw.
class FakeTarget final : public TextureBase {
  public:
    FakeTarget(int32_t w, int32_t h) : width(w), height(h) {
        for (int i = 0; i < 16; ++i)
            transform[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }

    int32_t Width() override { return width; }
    int32_t Height() override { return height; }
    const float* ScreenTransform() override { return transform; }
    void DrawGeometry(const RefPtr<GeometryBuffer>& geometry) override {
        draws.push_back(geometry->PrimitiveCount());
    }
    void Upload(const TextureRect&, PixelKind, const void*) override {}
    void SetViewport(const TextureViewport& v) override { viewport = v; }
    const TextureViewport* GetViewport() override { return &viewport; }
    void Clear(const ClearRecord& record) override { clears.push_back(record); }
    void ClearAll(const ClearRecord& record) override { clears.push_back(record); }
    void SetAttachment(const RefPtr<TextureAttachment>& a) override { attachment = a; }
    RefPtr<TextureAttachment>& Attachment() override { return attachment; }
    Texture* DeviceTexture() override { return nullptr; }

    int32_t width;
    int32_t height;
    float transform[16];
    TextureViewport viewport;
    RefPtr<TextureAttachment> attachment;
    std::vector<int32_t> draws;
    std::vector<ClearRecord> clears;
};

}  // namespace mareldon
