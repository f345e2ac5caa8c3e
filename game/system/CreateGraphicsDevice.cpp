#include "game/system/CreateGraphicsDevice.h"

#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

GraphicsDevice* CreateGraphicsDevice(GpuBackend* backend, Window* window, int32_t windowed, uint32_t flags,
                                     int32_t width, int32_t height, int32_t rotation) {
    return new GraphicsDeviceDX(backend, window, windowed, flags, width, height, rotation);
}

}  // namespace mareldon
