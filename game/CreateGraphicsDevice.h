#pragma once

#include <cstdint>

namespace mareldon {

class GraphicsDevice;
class Window;

// The graphics device on the main window, drawn with OpenGL through SDL. When a
// device-layer backend is installed already (a test's), that one is used.
GraphicsDevice* CreateGraphicsDevice(Window* window, int32_t windowed, uint32_t flags, int32_t width,
                                     int32_t height, int32_t rotation);

}  // namespace mareldon
