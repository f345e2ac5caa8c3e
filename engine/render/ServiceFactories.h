#pragma once

#include <cstdint>

#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundBox.h"
#include "engine/platform/WindowSystem.h"
#include "engine/render/GraphicsDevice.h"

namespace mareldon {

class Window;

// The factories the game application builds its services with:
// CreateFileSystem, CreateWindowSystem and CreateSoundBox come with the platform
// layer; this one makes the graphics device for a window of the window system.
// The six values go to the device unchanged (the game: windowed, 8, 480, 640, 3).
GraphicsDevice* CreateGraphicsDevice(Window* window, int32_t windowed, uint32_t flags, int32_t screenWidth,
                                     int32_t screenHeight, int32_t rotation);

}  // namespace mareldon
