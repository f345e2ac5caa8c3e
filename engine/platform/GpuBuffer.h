#pragma once

#include "engine/platform/GpuResource.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// A vertex or index buffer. The device code locks it whole, once, to fill it.
class GpuBuffer : public GpuResource {
  public:
    virtual GpuResult GetDesc(GpuBufferDesc* desc) = 0;
    // offset and size 0: the whole buffer.
    virtual GpuResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) = 0;
    virtual GpuResult Unlock() = 0;
};

}  // namespace mareldon
