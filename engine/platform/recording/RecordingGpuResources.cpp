#include "engine/platform/recording/RecordingGpuResources.h"

#include <cstdarg>
#include <cstdio>

namespace mareldon {

void RecordingGpuTracked::LogCall(const char* format, ...) {
    if (!shared_->logging) {
        return;
    }
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    shared_->calls.push_back(text);
}

RecordingGpuSurface::RecordingGpuSurface(std::shared_ptr<RecordingGpu::Shared> shared,
                                         const GpuSurfaceDesc& desc, bool lockable, uint32_t pitchPadding)
    : RecordingGpuTracked(std::move(shared)), desc_(desc), lockable_(lockable) {
    pitch_ = desc.Width * GpuFormatSize(desc.Format) + pitchPadding;
    desc_.Size = pitch_ * desc.Height;
    // Fresh memory is not zero on a real device; a pattern makes stale reads visible.
    bits_.assign(static_cast<size_t>(pitch_) * desc.Height, 0xCD);
}

GpuResult RecordingGpuSurface::GetDesc(GpuSurfaceDesc* desc) {
    if (!desc) {
        return kGpuErrorInvalidCall;
    }
    *desc = desc_;
    return kGpuOk;
}

GpuResult RecordingGpuSurface::LockRect(GpuLockedRect* locked, const GpuRect* rect, uint32_t) {
    GpuRect r;
    if (GpuFailed(GpuContract::LockRect(desc_, lockable_, locked_, locked, rect, r))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = true;
    locked->Pitch = static_cast<int32_t>(pitch_);
    locked->pBits = bits_.data() + static_cast<size_t>(r.top) * pitch_ + r.left * GpuFormatSize(desc_.Format);
    return kGpuOk;
}

GpuResult RecordingGpuSurface::UnlockRect() {
    if (GpuFailed(GpuContract::Unlock(locked_))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = false;
    return kGpuOk;
}

RecordingGpuTexture::RecordingGpuTexture(std::shared_ptr<RecordingGpu::Shared> shared, uint32_t width,
                                         uint32_t height, uint32_t levels, uint32_t usage, GpuFormat format,
                                         GpuPool pool, uint32_t pitchPadding)
    : RecordingGpuTracked(std::move(shared)) {
    for (uint32_t i = 0; i < levels; ++i) {
        GpuSurfaceDesc desc;
        desc.Format = format;
        desc.Type = GpuResourceType::Surface;
        desc.Usage = usage;
        desc.Pool = pool;
        desc.Width = GpuLevelSize(width, i);
        desc.Height = GpuLevelSize(height, i);
        levels_.push_back(new RecordingGpuSurface(
            shared_, desc, GpuContract::Lockable(GpuSurfaceKind::TextureLevel, usage), pitchPadding));
    }
}

RecordingGpuTexture::~RecordingGpuTexture() {
    for (RecordingGpuSurface* level : levels_) {
        level->Release();
    }
}

uint32_t RecordingGpuTexture::GetLevelCount() {
    return static_cast<uint32_t>(levels_.size());
}

GpuResult RecordingGpuTexture::GetLevelDesc(uint32_t level, GpuSurfaceDesc* desc) {
    RecordingGpuSurface* surface = Level(level);
    return surface ? surface->GetDesc(desc) : kGpuErrorInvalidCall;
}

GpuResult RecordingGpuTexture::GetSurfaceLevel(uint32_t level, GpuSurface** surface) {
    RecordingGpuSurface* found = Level(level);
    if (!found || !surface) {
        return kGpuErrorInvalidCall;
    }
    found->AddRef();
    *surface = found;
    return kGpuOk;
}

GpuResult RecordingGpuTexture::LockRect(uint32_t level, GpuLockedRect* locked, const GpuRect* rect,
                                        uint32_t flags) {
    RecordingGpuSurface* surface = Level(level);
    return surface ? surface->LockRect(locked, rect, flags) : kGpuErrorInvalidCall;
}

GpuResult RecordingGpuTexture::UnlockRect(uint32_t level) {
    RecordingGpuSurface* surface = Level(level);
    return surface ? surface->UnlockRect() : kGpuErrorInvalidCall;
}

RecordingGpuBuffer::RecordingGpuBuffer(std::shared_ptr<RecordingGpu::Shared> shared,
                                       const GpuBufferDesc& desc)
    : RecordingGpuTracked(std::move(shared)), desc_(desc), bytes_(desc.Size, 0xCD) {
    if (GpuFormatClassOf(desc_.Format) == GpuFormatClass::Index) {
        blocks_.Reset(desc_.Size, GpuFormatSize(desc_.Format));
        blocks_.Update(bytes_.data(), 0, desc_.Size);
    }
}

GpuResult RecordingGpuBuffer::GetDesc(GpuBufferDesc* desc) {
    if (!desc) {
        return kGpuErrorInvalidCall;
    }
    *desc = desc_;
    return kGpuOk;
}

GpuResult RecordingGpuBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t) {
    if (GpuFailed(GpuContract::LockBuffer(desc_.Size, locked_, data, offset, size))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = true;
    lockOffset_ = offset;
    lockSize_ = size;
    *data = bytes_.data() + offset;
    return kGpuOk;
}

GpuResult RecordingGpuBuffer::Unlock() {
    if (GpuFailed(GpuContract::Unlock(locked_))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = false;
    blocks_.Update(bytes_.data(), lockOffset_, lockSize_);
    return kGpuOk;
}

}  // namespace mareldon
