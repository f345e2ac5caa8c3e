#pragma once

#include <cstdint>

namespace mareldon {

class GpuBackend;
class GraphicsDevice;
class Window;

// The graphics device on a window of the window system, made by the device-layer
// backend given (OpenGL in the game, recording in tests). The six values go to
// the device unchanged (the game: windowed 0, flags 8, 480, 640, 3).
GraphicsDevice* CreateGraphicsDevice(GpuBackend* backend, Window* window, int32_t windowed, uint32_t flags,
                                     int32_t width, int32_t height, int32_t rotation);

}  // namespace mareldon
