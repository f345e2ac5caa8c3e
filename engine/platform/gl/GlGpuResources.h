#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/platform/GpuBuffer.h"
#include "engine/platform/GpuContract.h"
#include "engine/platform/GpuSurface.h"
#include "engine/platform/GpuTexture.h"
#include "engine/platform/gl/GlFormats.h"
#include "engine/platform/gl/GlFunctions.h"

namespace mareldon {

class GlImage;

// What every object of one GL device shares: the context's entry points, the
// framebuffer objects of the surface pairs drawn into, and the buffer objects
// kept for reuse. Objects may outlive the device; once the context is gone
// they free only their CPU memory.
struct GlShared {
    GlFunctions gl;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool alive = false;

    // One framebuffer object per colour surface (image, level) and depth image.
    GLuint Framebuffer(const GlImage* colour, uint32_t level, const GlImage* depth);
    void ForgetImage(const GlImage* image);

    // Buffer objects with their CPU copies, kept when a buffer is released so
    // the buffers a scene makes every frame reuse storage instead of allocating.
    struct PooledBuffer {
        GLuint name = 0;
        uint32_t capacity = 0;
        std::vector<uint8_t> bytes;
    };
    PooledBuffer TakeBuffer(uint32_t size);
    void ReturnBuffer(PooledBuffer&& buffer);
    size_t PooledBufferCount() const { return freeBuffers_.size(); }

    // Deletes every GL object still held by the pool and the cache.
    void ReleaseGlObjects();

    // Levels unlocked on a thread without the context (a movie filling its
    // texture) are uploaded by the context's thread before its next draw.
    std::thread::id contextThread;
    bool OnContextThread() const { return std::this_thread::get_id() == contextThread; }
    void QueueUpload(GlImage* image);
    void ForgetUpload(GlImage* image);
    // Context thread only; cheap when nothing waits.
    void FlushUploads() {
        if (uploadsPending_.load(std::memory_order_acquire)) {
            FlushQueuedUploads();
        }
    }

  private:
    void FlushQueuedUploads();

    struct FramebufferEntry {
        const GlImage* colour;
        uint32_t level;
        const GlImage* depth;
        GLuint name;
    };
    std::vector<FramebufferEntry> framebuffers_;
    std::vector<PooledBuffer> freeBuffers_;
    uint64_t pooledBytes_ = 0;
    std::atomic<bool> uploadsPending_{false};
    std::mutex uploadsMutex_;
    std::vector<GlImage*> queuedUploads_;
};

// Pixels of one texture (all its levels), render target, depth-stencil or
// image surface. A texture and the surfaces of its levels share it, so a
// surface stays valid when the texture is released first.
class GlImage {
  public:
    enum class Kind { Texture, RenderTarget, DepthStencil, ImageSurface };

    GlImage(std::shared_ptr<GlShared> shared, Kind kind, GpuFormat format, uint32_t width, uint32_t height,
            uint32_t levels, uint32_t usage, GpuPool pool);
    ~GlImage();
    GlImage(const GlImage&) = delete;
    GlImage& operator=(const GlImage&) = delete;

    // Makes the GL storage; false when GL refused it.
    bool Create();

    Kind GetKind() const { return kind_; }
    GpuFormat Format() const { return format_; }
    const GlFormat& Gl() const { return gl_; }
    uint32_t Width(uint32_t level = 0) const { return GpuLevelSize(width_, level); }
    uint32_t Height(uint32_t level = 0) const { return GpuLevelSize(height_, level); }
    uint32_t Levels() const { return levels_; }
    uint32_t Usage() const { return usage_; }
    GpuPool Pool() const { return pool_; }
    GLuint Texture() const { return texture_; }
    GLuint Renderbuffer() const { return renderbuffer_; }
    bool Lockable() const;
    bool Locked(uint32_t level);
    GpuSurfaceDesc Desc(uint32_t level) const;

    GpuResult Lock(uint32_t level, GpuLockedRect* locked, const GpuRect* rect);
    GpuResult Unlock(uint32_t level);
    // Copies the whole of this image's level into another of the same format.
    GpuResult CopyTo(uint32_t level, GlImage& destination, uint32_t destinationLevel);
    // Uploads what was unlocked on another thread; false while a level it
    // waits for is locked again (context thread only).
    bool UploadQueued();

  private:
    uint32_t Pitch(uint32_t level) const { return Width(level) * gl_.bytesPerPixel; }
    std::vector<uint8_t>& Shadow(uint32_t level);
    void UploadRows(uint32_t level, const GpuRect& rect);

    std::shared_ptr<GlShared> shared_;
    Kind kind_;
    GpuFormat format_;
    GlFormat gl_;
    uint32_t width_, height_, levels_, usage_;
    GpuPool pool_;
    GLuint texture_ = 0;
    GLuint renderbuffer_ = 0;
    std::vector<std::vector<uint8_t>> shadows_;
    struct LockState {
        bool locked = false;
        GpuRect rect;
        GpuRect queued{0, 0, 0, 0};  // unlocked elsewhere, not yet uploaded
    };
    // Guards locks_ for a texture locked on another thread.
    std::mutex lockMutex_;
    std::vector<LockState> locks_;
};

class GlGpuSurface final : public GpuSurface {
  public:
    GlGpuSurface(std::shared_ptr<GlImage> image, uint32_t level) : image_(std::move(image)), level_(level) {}

    GpuResult GetDesc(GpuSurfaceDesc* desc) override;
    GpuResult LockRect(GpuLockedRect* locked, const GpuRect* rect, uint32_t flags) override;
    GpuResult UnlockRect() override;

    const std::shared_ptr<GlImage>& Image() const { return image_; }
    uint32_t Level() const { return level_; }

  private:
    std::shared_ptr<GlImage> image_;
    uint32_t level_;
};

class GlGpuTexture final : public GpuTexture {
  public:
    explicit GlGpuTexture(std::shared_ptr<GlImage> image);
    ~GlGpuTexture() override;

    uint32_t GetLevelCount() override { return image_->Levels(); }
    GpuResult GetLevelDesc(uint32_t level, GpuSurfaceDesc* desc) override;
    GpuResult GetSurfaceLevel(uint32_t level, GpuSurface** surface) override;
    GpuResult LockRect(uint32_t level, GpuLockedRect* locked, const GpuRect* rect, uint32_t flags) override;
    GpuResult UnlockRect(uint32_t level) override;

    const std::shared_ptr<GlImage>& Image() const { return image_; }

  private:
    std::shared_ptr<GlImage> image_;
    std::vector<GlGpuSurface*> levels_;
};

class GlGpuBuffer final : public GpuBuffer {
  public:
    GlGpuBuffer(std::shared_ptr<GlShared> shared, const GpuBufferDesc& desc);
    ~GlGpuBuffer() override;

    bool Valid() const { return storage_.name != 0; }
    GpuResult GetDesc(GpuBufferDesc* desc) override;
    GpuResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override;
    GpuResult Unlock() override;

    GLuint Name() const { return storage_.name; }
    uint32_t Size() const { return desc_.Size; }
    // What an indexed draw reads of an index buffer.
    GpuIndexSource Indices(uint32_t baseVertex) const {
        return {storage_.bytes.data(), &blocks_, baseVertex};
    }

  private:
    std::shared_ptr<GlShared> shared_;
    GpuBufferDesc desc_;
    GlShared::PooledBuffer storage_;
    bool locked_ = false;
    uint32_t lockOffset_ = 0, lockSize_ = 0;
    GpuIndexBlocks blocks_;
};

}  // namespace mareldon
