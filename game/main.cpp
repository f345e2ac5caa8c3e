// The program's entry point: the game application with the real platform
// services, then the entry sequence.
#include <SDL.h>

#include "engine/platform/FileSystem.h"
#include "engine/platform/InputDevices.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/SoundBox.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/sdl/SdlInputDevices.h"
#include "engine/platform/sdl/SdlSwitchSource.h"
#include "game/system/CreateGraphicsDevice.h"
#include "game/system/GameApplication.h"

int main(int argc, char** argv) {
    using namespace mareldon;
    // Video (and with it the GL driver) stays up until the process ends: the
    // driver keeps allocations for its whole life, and unloading it early only
    // turns them into leaks without a name.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_GL_LoadLibrary(nullptr);
    }
    // The graphics device draws with OpenGL; it tells the backend its rotation.
    GlGpuBackend gl;
    ScopedGpuBackend useGl(gl);
    // The controls the simulated I/O board reads when no real board is set up,
    // and the controllers the input manager reports as attached.
    SdlSwitchSource switches;
    SetJvsSwitchSource(&switches);
    SdlInputDevices devices(GameApplication::kPadCount);
    SetInputDevices(&devices);

    GamePlatform platform;
    platform.createFileSystem = CreateFileSystem;
    platform.createWindowSystem = CreateWindowSystem;
    platform.createSoundBox = CreateSoundBox;
    platform.createGraphicsDevice = CreateGraphicsDevice;
    int result;
    {
        GameApplication game(argc, argv, platform);
        result = ApplicationMain();
    }
    SetInputDevices(nullptr);
    SetJvsSwitchSource(nullptr);
    return result;
}
