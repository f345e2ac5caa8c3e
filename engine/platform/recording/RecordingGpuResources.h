#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/GpuBuffer.h"
#include "engine/platform/GpuContract.h"
#include "engine/platform/GpuSurface.h"
#include "engine/platform/GpuTexture.h"
#include "engine/platform/recording/RecordingGpu.h"

namespace mareldon {

class RecordingGpuDevice;

// State every object of one recording backend shares: the log and the live count.
struct RecordingGpu::Shared {
    std::vector<std::string> calls;
    bool logging = true;
    int liveResources = 0;
    int nextId = 1;
    RecordingGpuDevice* device = nullptr;
    RecordingGpu* backend = nullptr;

    void Log(std::string text) {
        if (logging) {
            calls.push_back(std::move(text));
        }
    }
};

// Whether a device can be made or reset with these parameters: the contract's
// sizes, and in full screen a mode of the adapter's of that size and format.
bool RecordingGpuParametersValid(const RecordingGpuConfig& config, const GpuPresentParameters* parameters);

// Counts itself among the live objects and carries an id for the log.
class RecordingGpuTracked {
  public:
    explicit RecordingGpuTracked(std::shared_ptr<RecordingGpu::Shared> shared)
        : shared_(std::move(shared)), id_(shared_->nextId++) {
        ++shared_->liveResources;
    }
    ~RecordingGpuTracked() { --shared_->liveResources; }
    int Id() const { return id_; }

  protected:
    // Formats a log line only while logging is on.
    void LogCall(const char* format, ...) __attribute__((format(printf, 2, 3)));
    std::shared_ptr<RecordingGpu::Shared> shared_;
    int id_;
};

class RecordingGpuSurface final : public GpuSurface, public RecordingGpuTracked {
  public:
    RecordingGpuSurface(std::shared_ptr<RecordingGpu::Shared> shared, const GpuSurfaceDesc& desc,
                        bool lockable, uint32_t pitchPadding);

    GpuResult GetDesc(GpuSurfaceDesc* desc) override;
    GpuResult LockRect(GpuLockedRect* locked, const GpuRect* rect, uint32_t flags) override;
    GpuResult UnlockRect() override;

    const GpuSurfaceDesc& Desc() const { return desc_; }
    uint32_t Pitch() const { return pitch_; }
    uint8_t* Row(uint32_t y) { return bits_.data() + static_cast<size_t>(y) * pitch_; }
    bool Locked() const { return locked_; }

  private:
    GpuSurfaceDesc desc_;
    bool lockable_;
    bool locked_ = false;
    uint32_t pitch_;
    std::vector<uint8_t> bits_;
};

class RecordingGpuTexture final : public GpuTexture, public RecordingGpuTracked {
  public:
    RecordingGpuTexture(std::shared_ptr<RecordingGpu::Shared> shared, uint32_t width, uint32_t height,
                        uint32_t levels, uint32_t usage, GpuFormat format, GpuPool pool,
                        uint32_t pitchPadding);
    ~RecordingGpuTexture() override;

    uint32_t GetLevelCount() override;
    GpuResult GetLevelDesc(uint32_t level, GpuSurfaceDesc* desc) override;
    GpuResult GetSurfaceLevel(uint32_t level, GpuSurface** surface) override;
    GpuResult LockRect(uint32_t level, GpuLockedRect* locked, const GpuRect* rect, uint32_t flags) override;
    GpuResult UnlockRect(uint32_t level) override;

    RecordingGpuSurface* Level(uint32_t level) const {
        return level < levels_.size() ? levels_[level] : nullptr;
    }

  private:
    std::vector<RecordingGpuSurface*> levels_;
};

class RecordingGpuBuffer final : public GpuBuffer, public RecordingGpuTracked {
  public:
    RecordingGpuBuffer(std::shared_ptr<RecordingGpu::Shared> shared, const GpuBufferDesc& desc);

    GpuResult GetDesc(GpuBufferDesc* desc) override;
    GpuResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override;
    GpuResult Unlock() override;

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    uint32_t Size() const { return desc_.Size; }
    // What an indexed draw reads of an index buffer.
    GpuIndexSource Indices(uint32_t baseVertex) const { return {bytes_.data(), &blocks_, baseVertex}; }

  private:
    GpuBufferDesc desc_;
    bool locked_ = false;
    uint32_t lockOffset_ = 0, lockSize_ = 0;
    std::vector<uint8_t> bytes_;
    GpuIndexBlocks blocks_;
};

}  // namespace mareldon
