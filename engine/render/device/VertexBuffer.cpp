#include "engine/render/device/VertexBuffer.h"

#include <cstring>

#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

void FillGpuBuffer(GpuBuffer* buffer, const void* bytes, uint32_t size) {
    uint8_t* data = nullptr;
    if (bytes && !GpuFailed(buffer->Lock(0, 0, &data, 0))) {
        std::memcpy(data, bytes, size);
        buffer->Unlock();
    }
}

VertexBuffer* VertexBuffer::Create(GraphicsDeviceDX* device, uint32_t vertexSize, uint32_t vertexCount,
                                   const void* bytes, uint32_t memoryFlag) {
    auto* made = new VertexBuffer(device, vertexSize);
    uint64_t size = static_cast<uint64_t>(vertexSize) * vertexCount;
    if (device->Device() && size > 0 && size <= UINT32_MAX &&
        !GpuFailed(device->Device()->CreateVertexBuffer(
            static_cast<uint32_t>(size), kGpuUsageWriteOnly, 0,
            memoryFlag == 1 ? GpuPool::SYSTEMMEM : GpuPool::DEFAULT, made->buffer_.Receive()))) {
        ++device->Statistics()->liveVertexBuffers;
        FillGpuBuffer(made->buffer_.Get(), bytes, static_cast<uint32_t>(size));
    }
    return made;
}

VertexBuffer::~VertexBuffer() {
    if (buffer_) {
        buffer_.Reset();
        --device_->Statistics()->liveVertexBuffers;
    }
}

}  // namespace mareldon
