#include "engine/render/archive/ResourceProxy.h"

#include "engine/render/device/GraphicsDevice.h"

namespace mareldon {

namespace {
const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}  // namespace

ResourceProxy::ResourceProxy(const RefPtr<GraphicsDevice>& device, uint32_t flags, const void* bytes,
                             uint32_t count) {
    if (device) {
        inner_ = device->CreateTextureFromData(flags, bytes, count);
    }
}

ResourceProxy::ResourceProxy(const RefPtr<Texture>& texture) : inner_(texture) {}

ResourceProxy::~ResourceProxy() = default;

ResourceProxy* ResourceProxy::CreateTexture(const RefPtr<GraphicsDevice>& device, uint32_t flags,
                                            int32_t width, int32_t height) {
    return new ResourceProxy(device ? device->CreateTexture(flags, width, height) : RefPtr<Texture>());
}

int32_t ResourceProxy::Width() {
    return inner_ ? inner_->Width() : 0;
}

int32_t ResourceProxy::Height() {
    return inner_ ? inner_->Height() : 0;
}

const float* ResourceProxy::ScreenTransform() {
    return inner_ ? inner_->ScreenTransform() : kIdentity;
}

void ResourceProxy::DrawGeometry(const RefPtr<GeometryBuffer>& geometry) {
    if (inner_) {
        inner_->DrawGeometry(geometry);
    }
}

void ResourceProxy::Upload(const TextureRect& rect, PixelKind sourceKind, const void* pixels) {
    if (inner_) {
        inner_->Upload(rect, sourceKind, pixels);
    }
}

void ResourceProxy::SetViewport(const TextureViewport& viewport) {
    if (inner_) {
        inner_->SetViewport(viewport);
    }
}

const TextureViewport* ResourceProxy::GetViewport() {
    return inner_ ? inner_->GetViewport() : &emptyViewport_;
}

void ResourceProxy::Clear(const ClearRecord& record) {
    if (inner_) {
        inner_->Clear(record);
    }
}

void ResourceProxy::ClearAll(const ClearRecord& record) {
    if (inner_) {
        inner_->ClearAll(record);
    }
}

void ResourceProxy::SetAttachment(const RefPtr<TextureAttachment>& attachment) {
    if (inner_) {
        inner_->SetAttachment(attachment);
    }
}

RefPtr<TextureAttachment>& ResourceProxy::Attachment() {
    return inner_ ? inner_->Attachment() : emptyAttachment_;
}

Texture* ResourceProxy::DeviceTexture() {
    return inner_ ? inner_->DeviceTexture() : nullptr;
}

}  // namespace mareldon
