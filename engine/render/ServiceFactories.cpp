#include "engine/render/ServiceFactories.h"

#include "engine/render/GraphicsDeviceDX.h"

namespace mareldon {

GraphicsDevice* CreateGraphicsDevice(Window* window, int32_t windowed, uint32_t flags, int32_t screenWidth,
                                     int32_t screenHeight, int32_t rotation) {
    return new GraphicsDeviceDX(window, windowed, flags, screenWidth, screenHeight, rotation);
}

}  // namespace mareldon
