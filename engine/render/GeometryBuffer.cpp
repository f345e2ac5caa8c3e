#include "engine/render/GeometryBuffer.h"

namespace mareldon {

GeometryBuffer::GeometryBuffer(GraphicsDeviceDX* device, int32_t kind, const RefPtr<VertexBuffer>& vertices,
                               int32_t start, int32_t vertexCount, const RefPtr<IndexBuffer>& indices,
                               int32_t startIndex, int32_t indexCount)
    : device_(device),
      // Kinds outside 0..5 draw as points, the first kind.
      type_(kind >= 0 && kind <= 5 ? static_cast<GpuPrimitiveType>(kind + 1) : GpuPrimitiveType::POINTLIST),
      start_(start),
      vertexCount_(vertexCount),
      startIndex_(startIndex),
      indexCount_(indexCount),
      vertices_(vertices),
      indices_(indices),
      indexed_(indexCount != 0) {
    (void)device_;
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
