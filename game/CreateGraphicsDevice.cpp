#include "game/CreateGraphicsDevice.h"

#include "engine/platform/gl/GlGpu.h"
#include "engine/render/GraphicsDeviceDX.h"

namespace mareldon {

GraphicsDevice* CreateGraphicsDevice(Window* window, int32_t windowed, uint32_t flags, int32_t width,
                                     int32_t height, int32_t rotation) {
    if (GetGpuBackend() == nullptr) {
        // Lives to the end of the process: devices ask it again after a mode change.
        static GlGpuBackend gl;
        gl.SetScreenRotation(rotation);
        SetGpuBackend(&gl);
    }
    return new GraphicsDeviceDX(window, windowed, flags, width, height, rotation);
}

}  // namespace mareldon
