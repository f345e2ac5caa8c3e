#include "engine/render/device/IndexBuffer.h"

#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/VertexBuffer.h"

namespace mareldon {

IndexBuffer* IndexBuffer::Create(GraphicsDeviceDX* device, uint32_t indexCount, const void* bytes,
                                 uint32_t flags) {
    if (indexCount == 0) {
        return nullptr;
    }
    auto* made = new IndexBuffer(device);
    uint64_t size = static_cast<uint64_t>(indexCount) * ((flags & kIndex16Bit) ? 2 : 4);
    if (device->Device() && size <= UINT32_MAX &&
        !GpuFailed(device->Device()->CreateIndexBuffer(
            static_cast<uint32_t>(size), kGpuUsageWriteOnly,
            (flags & kIndex16Bit) ? GpuFormat::INDEX16 : GpuFormat::INDEX32,
            (flags & kIndexSystemMemory) ? GpuPool::SYSTEMMEM : GpuPool::DEFAULT, made->buffer_.Receive()))) {
        ++device->Statistics()->liveIndexBuffers;
        FillGpuBuffer(made->buffer_.Get(), bytes, static_cast<uint32_t>(size));
    }
    return made;
}

IndexBuffer::~IndexBuffer() {
    if (buffer_) {
        buffer_.Reset();
        --device_->Statistics()->liveIndexBuffers;
    }
}

}  // namespace mareldon
