#pragma once

#include <cstdint>

#include "engine/platform/GpuBuffer.h"

namespace mareldon {

class GraphicsDeviceDX;

// Vertices filled once at creation; the vertex size is the stream stride.
class VertexBuffer {
  public:
    // memoryFlag 1: system memory, else the default pool.
    static VertexBuffer* Create(GraphicsDeviceDX* device, uint32_t vertexSize, uint32_t vertexCount,
                                const void* bytes, uint32_t memoryFlag);
    virtual ~VertexBuffer();
    uint32_t VertexSize() const { return vertexSize_; }
    GpuBuffer* Buffer() const { return buffer_.Get(); }

  private:
    VertexBuffer(GraphicsDeviceDX* device, uint32_t vertexSize) : device_(device), vertexSize_(vertexSize) {}
    GraphicsDeviceDX* device_;
    uint32_t vertexSize_;
    GpuPtr<GpuBuffer> buffer_;
};

// Copies size bytes into the whole of a freshly made buffer.
void FillGpuBuffer(GpuBuffer* buffer, const void* bytes, uint32_t size);

}  // namespace mareldon
