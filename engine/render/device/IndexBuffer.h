#pragma once

#include <cstdint>

#include "engine/platform/GpuBuffer.h"

namespace mareldon {

class GraphicsDeviceDX;

constexpr uint32_t kIndexSystemMemory = 0x1;
constexpr uint32_t kIndex16Bit = 0x2;

// Indices filled once at creation.
class IndexBuffer {
  public:
    // Null for a count of 0.
    static IndexBuffer* Create(GraphicsDeviceDX* device, uint32_t indexCount, const void* bytes,
                               uint32_t flags);
    virtual ~IndexBuffer();
    GpuBuffer* Buffer() const { return buffer_.Get(); }

  private:
    explicit IndexBuffer(GraphicsDeviceDX* device) : device_(device) {}
    GraphicsDeviceDX* device_;
    GpuPtr<GpuBuffer> buffer_;
};

}  // namespace mareldon
