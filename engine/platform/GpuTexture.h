#pragma once

#include "engine/platform/GpuResource.h"
#include "engine/platform/GpuSurface.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// A sampled texture with a chain of levels; each level is a surface.
class GpuTexture : public GpuResource {
  public:
    virtual uint32_t GetLevelCount() = 0;
    virtual GpuResult GetLevelDesc(uint32_t level, GpuSurfaceDesc* desc) = 0;
    // Returns the level's surface with one reference added.
    virtual GpuResult GetSurfaceLevel(uint32_t level, GpuSurface** surface) = 0;
    virtual GpuResult LockRect(uint32_t level, GpuLockedRect* locked, const GpuRect* rect,
                               uint32_t flags) = 0;
    virtual GpuResult UnlockRect(uint32_t level) = 0;
};

}  // namespace mareldon
