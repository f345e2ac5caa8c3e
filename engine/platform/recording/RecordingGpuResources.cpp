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
    if (!locked || !lockable_ || locked_) {
        return kGpuErrorInvalidCall;
    }
    GpuRect whole{0, 0, static_cast<int32_t>(desc_.Width), static_cast<int32_t>(desc_.Height)};
    const GpuRect& r = rect ? *rect : whole;
    if (r.left < 0 || r.top < 0 || r.left > r.right || r.top > r.bottom ||
        r.right > static_cast<int32_t>(desc_.Width) || r.bottom > static_cast<int32_t>(desc_.Height)) {
        return kGpuErrorInvalidCall;
    }
    locked_ = true;
    locked->Pitch = static_cast<int32_t>(pitch_);
    locked->pBits = bits_.data() + static_cast<size_t>(r.top) * pitch_ + r.left * GpuFormatSize(desc_.Format);
    return kGpuOk;
}

GpuResult RecordingGpuSurface::UnlockRect() {
    if (!locked_) {
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
        levels_.push_back(new RecordingGpuSurface(shared_, desc, true, pitchPadding));
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
    : RecordingGpuTracked(std::move(shared)), desc_(desc), bytes_(desc.Size, 0xCD) {}

GpuResult RecordingGpuBuffer::GetDesc(GpuBufferDesc* desc) {
    if (!desc) {
        return kGpuErrorInvalidCall;
    }
    *desc = desc_;
    return kGpuOk;
}

GpuResult RecordingGpuBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t) {
    if (size == 0 && offset == 0) {
        size = desc_.Size;
    }
    if (!data || locked_ || offset > desc_.Size || size > desc_.Size - offset) {
        return kGpuErrorInvalidCall;
    }
    locked_ = true;
    *data = bytes_.data() + offset;
    return kGpuOk;
}

GpuResult RecordingGpuBuffer::Unlock() {
    if (!locked_) {
        return kGpuErrorInvalidCall;
    }
    locked_ = false;
    return kGpuOk;
}

}  // namespace mareldon
