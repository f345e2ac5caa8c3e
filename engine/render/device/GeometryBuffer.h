#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/platform/GpuTypes.h"
#include "engine/render/device/IndexBuffer.h"
#include "engine/render/device/VertexBuffer.h"

namespace mareldon {

class GraphicsDeviceDX;

// One draw call: a primitive kind (0 POINTLIST .. 5 TRIANGLEFAN), the two buffers
// and the counts, with the primitive count worked out in advance.
class GeometryBuffer {
  public:
    GeometryBuffer(GraphicsDeviceDX* device, int32_t kind, const RefPtr<VertexBuffer>& vertices,
                   int32_t start, int32_t vertexCount, const RefPtr<IndexBuffer>& indices, int32_t startIndex,
                   int32_t indexCount);
    virtual ~GeometryBuffer() = default;
    virtual int32_t PrimitiveCount() { return primitiveCount_; }
    virtual int32_t IndexCount() { return indexCount_; }
    virtual int32_t VertexCount() { return vertexCount_; }
    virtual void SetIndexCount(int32_t count);
    virtual void SetVertexCount(int32_t count);
    // Draws only the first `count` primitives until a count is set again.
    void SetPrimitiveCount(int32_t count) { primitiveCount_ = count; }

    GpuPrimitiveType Type() const { return type_; }
    int32_t Start() const { return start_; }
    int32_t StartIndex() const { return startIndex_; }
    bool Indexed() const { return indexed_; }
    const RefPtr<VertexBuffer>& Vertices() const { return vertices_; }
    const RefPtr<IndexBuffer>& Indices() const { return indices_; }

    // Primitives drawn from n vertices or indices of a type.
    static int32_t PrimitivesFor(GpuPrimitiveType type, int32_t n);

  private:
    void Recount();

    GraphicsDeviceDX* device_;
    GpuPrimitiveType type_;
    int32_t start_;
    int32_t vertexCount_;
    int32_t startIndex_;
    int32_t indexCount_;
    int32_t primitiveCount_ = 0;
    RefPtr<VertexBuffer> vertices_;
    RefPtr<IndexBuffer> indices_;
    bool indexed_;
};

}  // namespace mareldon
