#include "engine/platform/gl/GlGpuResources.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Log.h"

namespace mareldon {
namespace {

// Texture unit used for uploads, above the sixteen stages the device binds.
constexpr GLenum kScratchUnit = GL_TEXTURE0 + 16;
// Released buffers kept for reuse at most (bytes of GL storage).
constexpr uint64_t kPoolLimitBytes = 64u << 20;

uint32_t RoundUpPow2(uint32_t n) {
    uint32_t p = 256;
    while (p < n && p < 0x80000000u) {
        p <<= 1;
    }
    return p < n ? n : p;
}

}  // namespace

GLuint GlShared::Framebuffer(const GlImage* colour, uint32_t level, const GlImage* depth) {
    for (const FramebufferEntry& e : framebuffers_) {
        if (e.colour == colour && e.level == level && e.depth == depth) {
            return e.name;
        }
    }
    GLuint name = 0;
    gl.GenFramebuffers(1, &name);
    gl.BindFramebuffer(GL_FRAMEBUFFER, name);
    if (colour && colour->Texture()) {
        gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour->Texture(),
                                static_cast<GLint>(level));
    }
    if (depth && depth->Renderbuffer()) {
        GLenum attachment =
            depth->Gl().format == GL_DEPTH_STENCIL ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, depth->Renderbuffer());
    }
    GLenum status = gl.CheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        LOG_ERROR("gl", "render target of %ux%u is incomplete (status 0x%X)",
                  colour ? colour->Width(level) : 0, colour ? colour->Height(level) : 0, status);
    }
    framebuffers_.push_back({colour, level, depth, name});
    return name;
}

void GlShared::ForgetImage(const GlImage* image) {
    for (size_t i = 0; i < framebuffers_.size();) {
        if (framebuffers_[i].colour == image || framebuffers_[i].depth == image) {
            if (alive) {
                gl.DeleteFramebuffers(1, &framebuffers_[i].name);
            }
            framebuffers_[i] = framebuffers_.back();
            framebuffers_.pop_back();
        } else {
            ++i;
        }
    }
}

GlShared::PooledBuffer GlShared::TakeBuffer(uint32_t size) {
    size_t best = freeBuffers_.size();
    for (size_t i = 0; i < freeBuffers_.size(); ++i) {
        uint32_t capacity = freeBuffers_[i].capacity;
        if (capacity >= size && capacity / 2 <= std::max<uint32_t>(size, 256) &&
            (best == freeBuffers_.size() || capacity < freeBuffers_[best].capacity)) {
            best = i;
        }
    }
    PooledBuffer buffer;
    if (best < freeBuffers_.size()) {
        buffer = std::move(freeBuffers_[best]);
        freeBuffers_[best] = std::move(freeBuffers_.back());
        freeBuffers_.pop_back();
        pooledBytes_ -= buffer.capacity;
        // Orphan the old storage: a draw of last frame may still read it.
        gl.BindBuffer(GL_COPY_WRITE_BUFFER, buffer.name);
        gl.BufferData(GL_COPY_WRITE_BUFFER, buffer.capacity, nullptr, GL_STREAM_DRAW);
        return buffer;
    }
    buffer.capacity = RoundUpPow2(size);
    gl.GetError();
    gl.GenBuffers(1, &buffer.name);
    gl.BindBuffer(GL_COPY_WRITE_BUFFER, buffer.name);
    gl.BufferData(GL_COPY_WRITE_BUFFER, buffer.capacity, nullptr, GL_STREAM_DRAW);
    if (gl.GetError() != GL_NO_ERROR) {
        gl.DeleteBuffers(1, &buffer.name);
        return PooledBuffer{};
    }
    buffer.bytes.resize(buffer.capacity);
    return buffer;
}

void GlShared::ReturnBuffer(PooledBuffer&& buffer) {
    if (buffer.name == 0) {
        return;
    }
    if (!alive) {
        return;
    }
    if (pooledBytes_ + buffer.capacity > kPoolLimitBytes) {
        gl.DeleteBuffers(1, &buffer.name);
        return;
    }
    pooledBytes_ += buffer.capacity;
    freeBuffers_.push_back(std::move(buffer));
}

void GlShared::QueueUpload(GlImage* image) {
    std::lock_guard<std::mutex> hold(uploadsMutex_);
    if (std::find(queuedUploads_.begin(), queuedUploads_.end(), image) == queuedUploads_.end()) {
        queuedUploads_.push_back(image);
    }
    uploadsPending_.store(true, std::memory_order_release);
}

void GlShared::ForgetUpload(GlImage* image) {
    std::lock_guard<std::mutex> hold(uploadsMutex_);
    queuedUploads_.erase(std::remove(queuedUploads_.begin(), queuedUploads_.end(), image),
                         queuedUploads_.end());
}

void GlShared::FlushQueuedUploads() {
    // Held throughout, so an image cannot go away while it uploads.
    std::lock_guard<std::mutex> hold(uploadsMutex_);
    uploadsPending_.store(false, std::memory_order_relaxed);
    size_t kept = 0;
    for (GlImage* image : queuedUploads_) {
        if (!image->UploadQueued()) {
            queuedUploads_[kept++] = image;
        }
    }
    queuedUploads_.resize(kept);
    if (kept > 0) {
        uploadsPending_.store(true, std::memory_order_relaxed);
    }
}

void GlShared::ReleaseGlObjects() {
    if (alive) {
        for (const FramebufferEntry& e : framebuffers_) {
            gl.DeleteFramebuffers(1, &e.name);
        }
        for (const PooledBuffer& b : freeBuffers_) {
            gl.DeleteBuffers(1, &b.name);
        }
    }
    framebuffers_.clear();
    freeBuffers_.clear();
    pooledBytes_ = 0;
}

GlImage::GlImage(std::shared_ptr<GlShared> shared, Kind kind, GpuFormat format, uint32_t width,
                 uint32_t height, uint32_t levels, uint32_t usage, GpuPool pool)
    : shared_(std::move(shared)),
      kind_(kind),
      format_(format),
      gl_(GlFormatOf(format)),
      width_(width),
      height_(height),
      levels_(levels),
      usage_(usage),
      pool_(pool),
      shadows_(levels),
      locks_(levels) {}

GlImage::~GlImage() {
    shared_->ForgetUpload(this);
    shared_->ForgetImage(this);
    if (shared_->alive) {
        GlFunctions& gl = shared_->gl;
        if (texture_) {
            gl.DeleteTextures(1, &texture_);
        }
        if (renderbuffer_) {
            gl.DeleteRenderbuffers(1, &renderbuffer_);
        }
    }
}

bool GlImage::Create() {
    if (gl_.internalFormat == 0 || width_ == 0 || height_ == 0 || levels_ == 0) {
        return false;
    }
    if (kind_ == Kind::DepthStencil ? !gl_.depth : gl_.depth) {
        return false;
    }
    if (kind_ == Kind::ImageSurface) {
        return true;
    }
    GlFunctions& gl = shared_->gl;
    GLint maxSize = 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width_ > static_cast<uint32_t>(maxSize) || height_ > static_cast<uint32_t>(maxSize)) {
        return false;
    }
    gl.GetError();
    if (kind_ == Kind::DepthStencil) {
        gl.GenRenderbuffers(1, &renderbuffer_);
        gl.BindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
        gl.RenderbufferStorage(GL_RENDERBUFFER, gl_.internalFormat, static_cast<GLsizei>(width_),
                               static_cast<GLsizei>(height_));
    } else {
        gl.GenTextures(1, &texture_);
        gl.ActiveTexture(kScratchUnit);
        gl.BindTexture(GL_TEXTURE_2D, texture_);
        for (uint32_t level = 0; level < levels_; ++level) {
            gl.TexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), static_cast<GLint>(gl_.internalFormat),
                          static_cast<GLsizei>(Width(level)), static_cast<GLsizei>(Height(level)), 0,
                          gl_.format, gl_.type, nullptr);
        }
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels_ - 1));
        if (gl_.alphaFromRed) {
            const GLint swizzle[4] = {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
            gl.TexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
        }
        gl.BindTexture(GL_TEXTURE_2D, 0);
    }
    return gl.GetError() == GL_NO_ERROR;
}

bool GlImage::Lockable() const {
    static const GpuSurfaceKind kKinds[] = {GpuSurfaceKind::TextureLevel, GpuSurfaceKind::RenderTarget,
                                            GpuSurfaceKind::DepthStencil, GpuSurfaceKind::ImageSurface};
    return GpuContract::Lockable(kKinds[static_cast<int>(kind_)], usage_);
}

bool GlImage::Locked(uint32_t level) {
    std::lock_guard<std::mutex> hold(lockMutex_);
    return level < levels_ && locks_[level].locked;
}

GpuSurfaceDesc GlImage::Desc(uint32_t level) const {
    GpuSurfaceDesc desc;
    desc.Format = format_;
    desc.Type = GpuResourceType::Surface;
    desc.Usage = usage_;
    desc.Pool = pool_;
    desc.Width = Width(level);
    desc.Height = Height(level);
    desc.Size = desc.Width * desc.Height * gl_.bytesPerPixel;
    return desc;
}

std::vector<uint8_t>& GlImage::Shadow(uint32_t level) {
    std::vector<uint8_t>& shadow = shadows_[level];
    if (shadow.empty()) {
        shadow.assign(static_cast<size_t>(Pitch(level)) * Height(level), 0);
    }
    return shadow;
}

GpuResult GlImage::Lock(uint32_t level, GpuLockedRect* locked, const GpuRect* rect) {
    std::lock_guard<std::mutex> hold(lockMutex_);
    GpuRect r;
    if (GpuFailed(GpuContract::Level(level, levels_)) ||
        GpuFailed(GpuContract::LockRect(Desc(level), Lockable(), locks_[level].locked, locked, rect, r))) {
        return kGpuErrorInvalidCall;
    }
    std::vector<uint8_t>& shadow = Shadow(level);
    locked->Pitch = static_cast<int32_t>(Pitch(level));
    locked->pBits = shadow.data() + static_cast<size_t>(r.top) * Pitch(level) +
                    static_cast<size_t>(r.left) * gl_.bytesPerPixel;
    locks_[level] = {true, r};
    return kGpuOk;
}

GpuResult GlImage::Unlock(uint32_t level) {
    GpuRect rect;
    bool elsewhere = !shared_->OnContextThread();
    {
        std::lock_guard<std::mutex> hold(lockMutex_);
        if (GpuFailed(GpuContract::Level(level, levels_)) ||
            GpuFailed(GpuContract::Unlock(locks_[level].locked))) {
            return kGpuErrorInvalidCall;
        }
        LockState& state = locks_[level];
        state.locked = false;
        rect = state.rect;
        if (elsewhere) {
            // GL calls here would reach no context: the rows wait for the context's thread.
            GpuRect& q = state.queued;
            q = q.right > q.left ? GpuRect{std::min(q.left, rect.left), std::min(q.top, rect.top),
                                           std::max(q.right, rect.right), std::max(q.bottom, rect.bottom)}
                                 : rect;
        }
    }
    if (elsewhere) {
        shared_->QueueUpload(this);
        return kGpuOk;
    }
    UploadRows(level, rect);
    return kGpuOk;
}

bool GlImage::UploadQueued() {
    std::lock_guard<std::mutex> hold(lockMutex_);
    bool done = true;
    for (uint32_t level = 0; level < levels_; ++level) {
        LockState& state = locks_[level];
        if (state.queued.right == state.queued.left) {
            continue;
        }
        if (state.locked) {
            done = false;
            continue;
        }
        UploadRows(level, state.queued);
        state.queued = GpuRect{0, 0, 0, 0};
    }
    return done;
}

void GlImage::UploadRows(uint32_t level, const GpuRect& r) {
    if (texture_ == 0 || !shared_->alive) {
        return;
    }
    GlFunctions& gl = shared_->gl;
    const std::vector<uint8_t>& shadow = shadows_[level];
    gl.ActiveTexture(kScratchUnit);
    gl.BindTexture(GL_TEXTURE_2D, texture_);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(Width(level)));
    gl.TexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), r.left, r.top, r.right - r.left,
                     r.bottom - r.top, gl_.format, gl_.type,
                     shadow.data() + static_cast<size_t>(r.top) * Pitch(level) +
                         static_cast<size_t>(r.left) * gl_.bytesPerPixel);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.BindTexture(GL_TEXTURE_2D, 0);
}

GpuResult GlImage::CopyTo(uint32_t level, GlImage& destination, uint32_t destinationLevel) {
    if (level >= levels_ || destinationLevel >= destination.levels_ || destination.format_ != format_ ||
        shadows_[level].empty()) {
        return kGpuErrorInvalidCall;
    }
    uint32_t width = std::min(Width(level), destination.Width(destinationLevel));
    uint32_t height = std::min(Height(level), destination.Height(destinationLevel));
    GpuRect r{0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    // A CPU copy the destination already keeps stays current; otherwise the
    // pixels go straight to GL, so a staged texture holds no second copy.
    if (destination.texture_ == 0 || !destination.shadows_[destinationLevel].empty()) {
        std::vector<uint8_t>& target = destination.Shadow(destinationLevel);
        for (uint32_t y = 0; y < height; ++y) {
            std::memcpy(target.data() + static_cast<size_t>(y) * destination.Pitch(destinationLevel),
                        shadows_[level].data() + static_cast<size_t>(y) * Pitch(level),
                        static_cast<size_t>(width) * gl_.bytesPerPixel);
        }
        destination.UploadRows(destinationLevel, r);
        return kGpuOk;
    }
    if (!shared_->alive) {
        return kGpuErrorInvalidCall;
    }
    GlFunctions& gl = shared_->gl;
    gl.ActiveTexture(kScratchUnit);
    gl.BindTexture(GL_TEXTURE_2D, destination.texture_);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(Width(level)));
    gl.TexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(destinationLevel), 0, 0, static_cast<GLsizei>(width),
                     static_cast<GLsizei>(height), gl_.format, gl_.type, shadows_[level].data());
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.BindTexture(GL_TEXTURE_2D, 0);
    return kGpuOk;
}

GpuResult GlGpuSurface::GetDesc(GpuSurfaceDesc* desc) {
    if (desc == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *desc = image_->Desc(level_);
    return kGpuOk;
}

GpuResult GlGpuSurface::LockRect(GpuLockedRect* locked, const GpuRect* rect, uint32_t) {
    return image_->Lock(level_, locked, rect);
}

GpuResult GlGpuSurface::UnlockRect() {
    return image_->Unlock(level_);
}

GlGpuTexture::GlGpuTexture(std::shared_ptr<GlImage> image)
    : image_(std::move(image)), levels_(image_->Levels(), nullptr) {}

GlGpuTexture::~GlGpuTexture() {
    for (GlGpuSurface* level : levels_) {
        if (level) {
            level->Release();
        }
    }
}

GpuResult GlGpuTexture::GetLevelDesc(uint32_t level, GpuSurfaceDesc* desc) {
    if (desc == nullptr || GpuFailed(GpuContract::Level(level, image_->Levels()))) {
        return kGpuErrorInvalidCall;
    }
    *desc = image_->Desc(level);
    return kGpuOk;
}

GpuResult GlGpuTexture::GetSurfaceLevel(uint32_t level, GpuSurface** surface) {
    if (surface == nullptr || GpuFailed(GpuContract::Level(level, image_->Levels()))) {
        return kGpuErrorInvalidCall;
    }
    if (levels_[level] == nullptr) {
        levels_[level] = new GlGpuSurface(image_, level);
    }
    levels_[level]->AddRef();
    *surface = levels_[level];
    return kGpuOk;
}

GpuResult GlGpuTexture::LockRect(uint32_t level, GpuLockedRect* locked, const GpuRect* rect, uint32_t) {
    return image_->Lock(level, locked, rect);
}

GpuResult GlGpuTexture::UnlockRect(uint32_t level) {
    return image_->Unlock(level);
}

GlGpuBuffer::GlGpuBuffer(std::shared_ptr<GlShared> shared, const GpuBufferDesc& desc)
    : shared_(std::move(shared)), desc_(desc) {
    if (desc_.Size > 0 && shared_->alive) {
        storage_ = shared_->TakeBuffer(desc_.Size);
    }
    if (Valid() && GpuFormatClassOf(desc_.Format) == GpuFormatClass::Index) {
        // Reused storage holds old bytes until the first lock fills it.
        std::fill(storage_.bytes.begin(), storage_.bytes.begin() + desc_.Size, uint8_t{0});
        blocks_.Reset(desc_.Size, GpuFormatSize(desc_.Format));
    }
}

GlGpuBuffer::~GlGpuBuffer() {
    shared_->ReturnBuffer(std::move(storage_));
}

GpuResult GlGpuBuffer::GetDesc(GpuBufferDesc* desc) {
    if (desc == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *desc = desc_;
    return kGpuOk;
}

GpuResult GlGpuBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t) {
    if (!Valid() || GpuFailed(GpuContract::LockBuffer(desc_.Size, locked_, data, offset, size))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = true;
    lockOffset_ = offset;
    lockSize_ = size;
    *data = storage_.bytes.data() + offset;
    return kGpuOk;
}

GpuResult GlGpuBuffer::Unlock() {
    if (GpuFailed(GpuContract::Unlock(locked_))) {
        return kGpuErrorInvalidCall;
    }
    locked_ = false;
    blocks_.Update(storage_.bytes.data(), lockOffset_, lockSize_);
    if (shared_->alive && lockSize_ > 0) {
        GlFunctions& gl = shared_->gl;
        gl.BindBuffer(GL_COPY_WRITE_BUFFER, storage_.name);
        gl.BufferSubData(GL_COPY_WRITE_BUFFER, lockOffset_, lockSize_, storage_.bytes.data() + lockOffset_);
    }
    return kGpuOk;
}

}  // namespace mareldon
