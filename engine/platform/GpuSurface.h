#pragma once

#include "engine/platform/GpuResource.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// A 2D pixel array: a texture level, a render target, a depth-stencil or image
// surface, or the back buffer.
class GpuSurface : public GpuResource {
  public:
    virtual GpuResult GetDesc(GpuSurfaceDesc* desc) = 0;
    // rect null: the whole surface; a rectangle reaching outside it fails. The bits stay
    // valid until UnlockRect.
    virtual GpuResult LockRect(GpuLockedRect* locked, const GpuRect* rect, uint32_t flags) = 0;
    virtual GpuResult UnlockRect() = 0;
};

}  // namespace mareldon
