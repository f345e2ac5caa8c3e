#include "engine/render/device/Texture.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "engine/core/Log.h"
#include "engine/platform/helper/ImageLoader.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/IimgImage.h"

namespace mareldon {

namespace {

// The kind that describes a format's real pixels; fallback when none does.
PixelKind KindForFormat(GpuFormat format, PixelKind fallback) {
    switch (format) {
        case GpuFormat::A8R8G8B8:
            return PixelKind::ARGB8888;
        case GpuFormat::A4R4G4B4:
            return PixelKind::ARGB4444;
        case GpuFormat::A1R5G5B5:
            return PixelKind::ARGB1555;
        default:
            return fallback;
    }
}

}  // namespace

Texture::Texture(GraphicsDeviceDX* device, uint32_t flags) : device_(device), flags_(flags) {}

Texture::~Texture() {
    depth_.Reset();
    surface_.Reset();
    texture_.Reset();
    if (counted_ && device_) {
        --device_->Statistics()->liveTextures;
    }
    Unlink();
}

void Texture::Unlink() {
    prev_->next_ = next_;
    next_->prev_ = prev_;
    prev_ = next_ = this;
}

void Texture::LinkAfter(Texture* head) {
    Unlink();
    prev_ = head;
    next_ = head->next_;
    head->next_->prev_ = this;
    head->next_ = this;
}

void Texture::Detach() {
    depth_.Reset();
    surface_.Reset();
    texture_.Reset();
    counted_ = false;
    device_ = nullptr;
    Unlink();
}

Texture* Texture::CreateScreen(GraphicsDeviceDX* device) {
    auto* texture = new Texture(device, kTextureScreen | kTextureRenderTarget | kTextureScreenMark);
    texture->PlaceScreen();
    texture->ResetViewport();
    return texture;
}

void Texture::PlaceScreen() {
    GpuDevice* gpu = device_->Device();
    gpu->GetBackBuffer(0, GpuBackBufferType::MONO, surface_.Receive());
    gpu->GetDepthStencilSurface(depth_.Receive());
    format_ = device_->BackBufferFormat();
    bool turned = (device_->GetRotation() & 1) != 0;
    width_ = turned ? device_->ScreenHeight() : device_->ScreenWidth();
    height_ = turned ? device_->ScreenWidth() : device_->ScreenHeight();
    int32_t modeWidth, modeHeight;
    device_->FullScreenMode(&modeWidth, &modeHeight);
    offsetX_ = (modeWidth - width_) / 2;
    offsetY_ = (modeHeight - height_) / 2;
}

Texture* Texture::CreateEmpty(GraphicsDeviceDX* device, uint32_t flags, int32_t width, int32_t height) {
    auto* texture = new Texture(device, flags);
    GpuDevice* gpu = device->Device();
    bool renderTarget = (flags & kTextureRenderTarget) != 0;
    bool sized = width > 0 && height > 0;
    if (flags & kTextureSampled) {
        texture->format_ = renderTarget                  ? GpuFormat::A8R8G8B8
                           : (flags & kTextureAlphaOnly) ? GpuFormat::A8
                                                         : device->TextureFormat();
        if (sized && !GpuFailed(gpu->CreateTexture(
                         width, height, 1, renderTarget ? kGpuUsageRenderTarget : 0, texture->format_,
                         renderTarget ? GpuPool::DEFAULT : GpuPool::MANAGED, texture->texture_.Receive()))) {
            ++device->Statistics()->liveTextures;
            texture->counted_ = true;
            texture->TakeLevelZero();
        }
    } else {
        // Plain surfaces keep the size asked for.
        texture->format_ = device->BackBufferFormat();
        texture->width_ = width;
        texture->height_ = height;
        if (sized && renderTarget) {
            gpu->CreateRenderTarget(width, height, texture->format_, device->Multisample(), false,
                                    texture->surface_.Receive());
        } else if (sized) {
            gpu->CreateImageSurface(width, height, texture->format_, texture->surface_.Receive());
        }
    }
    texture->kind_ = KindForFormat(texture->format_, PixelKind::ARGB4444);
    if (renderTarget) {
        texture->CreateDepthSurface();
    }
    device->LinkTexture(texture);
    texture->ResetViewport();
    return texture;
}

Texture* Texture::CreateFromData(GraphicsDeviceDX* device, uint32_t flags, const void* data, uint32_t size) {
    if (!(flags & kTextureSampled) || !data) {
        LOG_WARN("render", "texture from data needs the sampled flag and data");
        return nullptr;
    }
    std::unique_ptr<Texture> texture(new Texture(device, flags));
    const auto* bytes = static_cast<const uint8_t*>(data);
    bool iimg = !(flags & kTextureRenderTarget) && IimgImage::IsIimg(data, size);
    if (!(iimg ? texture->LoadIimg(bytes, size) : texture->LoadImage(bytes, size))) {
        return nullptr;
    }
    if (flags & kTextureRenderTarget) {
        texture->CreateDepthSurface();
    }
    device->LinkTexture(texture.get());
    texture->ResetViewport();
    return texture.release();
}

bool Texture::LoadImage(const uint8_t* data, uint32_t size) {
    bool renderTarget = (flags_ & kTextureRenderTarget) != 0;
    format_ = (flags_ & kTextureAlphaOnly) ? GpuFormat::A8 : device_->TextureFormat();
    std::string error;
    texture_.Reset(ImageLoader::CreateTexture(device_->Device(), data, size, renderTarget ? 1 : 0,
                                              renderTarget ? kGpuUsageRenderTarget : 0, format_,
                                              renderTarget ? GpuPool::DEFAULT : GpuPool::MANAGED, &error));
    if (!texture_) {
        LOG_WARN("render", "image not loaded: %s", error.c_str());
        return false;
    }
    ++device_->Statistics()->liveTextures;
    counted_ = true;
    TakeLevelZero();
    kind_ = KindForFormat(format_, PixelKind::ARGB8888);
    return true;
}

bool Texture::LoadIimg(const uint8_t* data, uint32_t size) {
    IimgImage image;
    const char* error = "";
    if (!image.Read(data, size, &error)) {
        LOG_WARN("render", "image not loaded: %s", error);
        return false;
    }
    kind_ = static_cast<PixelKind>(image.kind);
    format_ = GpuFormat::A4R4G4B4;
    GpuDevice* gpu = device_->Device();
    GpuPtr<GpuTexture> staging;
    gpu->CreateTexture(image.width, image.height, image.levels, 0, format_, GpuPool::MANAGED,
                       staging.Receive());
    if (!GpuFailed(gpu->CreateTexture(image.width, image.height, image.levels, 0, format_, GpuPool::DEFAULT,
                                      texture_.Receive()))) {
        ++device_->Statistics()->liveTextures;
        counted_ = true;
    }
    if (staging) {
        const uint8_t* source = image.pixels;
        uint32_t levels = std::min(image.levels, staging->GetLevelCount());
        for (uint32_t level = 0; level < levels; ++level) {
            GpuLockedRect locked;
            if (GpuFailed(staging->LockRect(level, &locked, nullptr, 0))) {
                continue;
            }
            uint32_t rowBytes = GpuLevelSize(image.width, level) * 2;
            uint32_t rows = GpuLevelSize(image.height, level);
            for (uint32_t y = 0; y < rows; ++y) {
                std::memcpy(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch,
                            source + static_cast<size_t>(y) * rowBytes, rowBytes);
            }
            staging->UnlockRect(level);
            source += image.LevelBytes(level);
        }
        for (uint32_t level = 0; texture_ && level < std::min(levels, texture_->GetLevelCount()); ++level) {
            GpuPtr<GpuSurface> from, to;
            if (!GpuFailed(staging->GetSurfaceLevel(level, from.Receive())) &&
                !GpuFailed(texture_->GetSurfaceLevel(level, to.Receive()))) {
                gpu->CopyRects(from.Get(), to.Get());
            }
        }
    }
    if (texture_) {
        TakeLevelZero();
    }
    return true;
}

void Texture::TakeLevelZero() {
    GpuSurfaceDesc desc;
    texture_->GetSurfaceLevel(0, surface_.Receive());
    if (!GpuFailed(texture_->GetLevelDesc(0, &desc))) {
        width_ = static_cast<int32_t>(desc.Width);
        height_ = static_cast<int32_t>(desc.Height);
    }
}

void Texture::CreateDepthSurface() {
    if (device_ && width_ > 0 && height_ > 0) {
        device_->Device()->CreateDepthStencilSurface(width_, height_, device_->DepthFormat(),
                                                     device_->Multisample(), depth_.Receive());
    }
}

void Texture::ResetViewport() {
    viewport_ = TextureViewport{0, 0, Width(), Height(), 0.0f, 1.0f};
}

int32_t Texture::Width() {
    bool turned = (flags_ & kTextureScreen) && device_ && (device_->GetRotation() & 1);
    return turned ? height_ : width_;
}

int32_t Texture::Height() {
    bool turned = (flags_ & kTextureScreen) && device_ && (device_->GetRotation() & 1);
    return turned ? width_ : height_;
}

void Texture::DrawGeometry(const RefPtr<GeometryBuffer>& geometry) {
    if (!device_ || !surface_ || !geometry.Get()) {
        return;
    }
    BindAsTarget();
    device_->DrawGeometryBuffer(*geometry.Get());
}

void Texture::Upload(const TextureRect& rect, PixelKind sourceKind, const void* pixels) {
    if (!texture_ || !pixels) {
        return;
    }
    GpuRect area{rect.left, rect.top, rect.right, rect.bottom};
    GpuLockedRect locked;
    if (GpuFailed(texture_->LockRect(0, &locked, &area, 0))) {
        return;
    }
    // Only pixels of the size the level really holds are written.
    GpuSurfaceDesc desc;
    PixelConverter convert = FindPixelConverter(sourceKind, kind_);
    if (convert && static_cast<uint32_t>(kind_) <= 5 && static_cast<uint32_t>(sourceKind) <= 5 &&
        !GpuFailed(texture_->GetLevelDesc(0, &desc)) &&
        static_cast<uint32_t>(PixelKindSize(kind_)) == GpuFormatSize(desc.Format)) {
        convert(static_cast<uint8_t*>(locked.pBits), locked.Pitch, static_cast<const uint8_t*>(pixels),
                rect.right - rect.left, rect.bottom - rect.top);
    }
    texture_->UnlockRect(0);
}

void Texture::SetViewport(const TextureViewport& viewport) {
    viewport_ = viewport;
    if (!(flags_ & kTextureScreen)) {
        return;
    }
    int32_t r = device_ ? device_->GetRotation() & 3 : 0;
    float w = static_cast<float>(width_);
    float h = static_cast<float>(height_);
    // Offsets tuned for pixel centres on integer coordinates.
    const float tx[4] = {-0.5f / w, -0.5f / w, -1.5f / w, -1.5f / w};
    const float ty[4] = {0.5f / h, 1.5f / h, 1.5f / h, 0.5f / h};
    float angle = static_cast<float>(r) * 1.5707964f;
    float c = std::cos(angle), s = std::sin(angle);
    const float rotation[16] = {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float translation[16] = {1, 0, 0, tx[r], 0, 1, 0, ty[r], 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += rotation[i * 4 + k] * translation[k * 4 + j];
            }
            transform_[i * 4 + j] = sum;
        }
    }
}

void Texture::BindAsTarget() {
    if (!device_ || !surface_) {
        return;
    }
    device_->BindRenderTarget(surface_.Get(), depth_.Get());
    const TextureViewport& v = viewport_;
    int32_t x = v.x, y = v.y, w = v.width, h = v.height;
    if (flags_ & kTextureScreen) {
        int32_t wd = Width(), hg = Height();
        switch (device_->GetRotation() & 3) {
            case 1:
                x = v.y, y = wd - v.x - v.width, w = v.height, h = v.width;
                break;
            case 2:
                x = wd - v.x - v.width, y = hg - v.y - v.height;
                break;
            case 3:
                // The rectangle the screen transform turns the portrait viewport into.
                x = hg - v.y - v.height, y = v.x, w = v.height, h = v.width;
                break;
            default:
                break;
        }
        if (!device_->IsWindowed()) {
            // Offsets are in back-buffer coordinates under every rotation.
            x += offsetX_;
            y += offsetY_;
        }
    }
    GpuViewport viewport{static_cast<uint32_t>(std::max(x, 0)),
                         static_cast<uint32_t>(std::max(y, 0)),
                         static_cast<uint32_t>(std::max(w, 0)),
                         static_cast<uint32_t>(std::max(h, 0)),
                         v.minZ,
                         v.maxZ};
    device_->SetDeviceViewport(viewport);
}

void Texture::Clear(const ClearRecord& record) {
    uint32_t flags = record.flags & (kGpuClearTarget | kGpuClearZBuffer | kGpuClearStencil);
    if (flags == 0 || !device_ || !surface_) {
        return;
    }
    BindAsTarget();
    device_->ClearTarget(flags, record.color, record.z, record.stencil);
}

void Texture::ClearAll(const ClearRecord& record) {
    if (record.flags == 0) {
        return;
    }
    TextureViewport saved = viewport_;
    SetViewport(TextureViewport{0, 0, Width(), Height(), 0.0f, 1.0f});
    Clear(record);
    SetViewport(saved);
}

void Texture::ReleaseDefaultPool() {
    if (flags_ & kTextureScreen) {
        depth_.Reset();
        surface_.Reset();
    } else if ((flags_ & kTextureSampled) && (flags_ & kTextureRenderTarget)) {
        depth_.Reset();
        surface_.Reset();
        texture_.Reset();
    }
}

void Texture::Restore() {
    if (!device_) {
        return;
    }
    if (flags_ & kTextureScreen) {
        PlaceScreen();
    } else if ((flags_ & kTextureSampled) && (flags_ & kTextureRenderTarget) && width_ > 0 && height_ > 0) {
        // Recreated as made, in the format it had; the contents are lost.
        if (!GpuFailed(device_->Device()->CreateTexture(width_, height_, 1, kGpuUsageRenderTarget, format_,
                                                        GpuPool::DEFAULT, texture_.Receive()))) {
            TakeLevelZero();
        }
        CreateDepthSurface();
    }
}

}  // namespace mareldon
