#pragma once

#include <memory>

#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/platform/recording/RecordingGpuDevice.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

// A graphics device on the recording backend, made the way the game makes it.
struct DeviceFixture {
    RecordingGpu gpu;
    RecordingDeviceWindow window;
    std::unique_ptr<GraphicsDeviceDX> device;

    GraphicsDeviceDX& Make(int32_t windowed = 1, int32_t rotation = 3) {
        device = std::make_unique<GraphicsDeviceDX>(&gpu, &window, windowed, 8, 480, 640, rotation);
        return *device;
    }
    RecordingGpuDevice& Gpu() { return *gpu.Device(); }
};

}  // namespace mareldon
