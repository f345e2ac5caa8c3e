#include "engine/render/device/GeometryBuffer.h"

#include "engine/core/Log.h"

namespace mareldon {

GeometryBuffer::GeometryBuffer(GraphicsDeviceDX* device, int32_t kind, const RefPtr<VertexBuffer>& vertices,
                               int32_t start, int32_t vertexCount, const RefPtr<IndexBuffer>& indices,
                               int32_t startIndex, int32_t indexCount)
    : device_(device),
      // A kind outside 0..5 names no primitive: it keeps no primitives and draws nothing.
      type_(static_cast<GpuPrimitiveType>(static_cast<uint32_t>(kind) + 1)),
      start_(start),
      vertexCount_(vertexCount),
      startIndex_(startIndex),
      indexCount_(indexCount),
      vertices_(vertices),
      indices_(indices),
      indexed_(indexCount != 0) {
    (void)device_;
    if (kind < 0 || kind > 5) {
        LOG_WARN("render", "geometry of unknown kind %d is not drawn", kind);
    }
    Recount();
}

int32_t GeometryBuffer::PrimitivesFor(GpuPrimitiveType type, int32_t n) {
    switch (type) {
        case GpuPrimitiveType::POINTLIST:
            return n;
        case GpuPrimitiveType::LINELIST:
            return n / 2;
        case GpuPrimitiveType::LINESTRIP:
            return n - 1;
        case GpuPrimitiveType::TRIANGLELIST:
            return n / 3;
        case GpuPrimitiveType::TRIANGLESTRIP:
        case GpuPrimitiveType::TRIANGLEFAN:
            return n - 2;
    }
    return 0;
}

void GeometryBuffer::Recount() {
    primitiveCount_ = PrimitivesFor(type_, indexed_ ? indexCount_ : vertexCount_);
}

void GeometryBuffer::SetIndexCount(int32_t count) {
    indexCount_ = count;
    Recount();
}

void GeometryBuffer::SetVertexCount(int32_t count) {
    vertexCount_ = count;
    Recount();
}

}  // namespace mareldon
