// The program's entry point and its composition root: every backend is made
// here and handed down through the game platform; nothing below reaches one
// any other way. Then the entry sequence.
#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "engine/platform/FrameCapture.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/posix/DirectoryFileSystem.h"
#include "engine/platform/sdl/SdlInputDevices.h"
#include "engine/platform/sdl/SdlSoundOutput.h"
#include "engine/platform/sdl/SdlSwitchSource.h"
#include "engine/platform/sdl/SdlWindowBackend.h"
#include "engine/platform/serial/SerialLinkFactory.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/screens/RegisterScreens.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/system/CaptureTrigger.h"
#include "game/system/CreateGraphicsDevice.h"
#include "game/system/GameApplication.h"
#include "game/system/JvsBus.h"
#include "game/system/SceneRegistry.h"
#include "game/system/StageStart.h"
#include "game/testmode/RegisterTestMode.h"

namespace {

// Set by SIGTERM and SIGINT; the main loop and every wait of the start-up read
// it. It is caught first thing, so a stop that comes while the libraries start
// still ends the program in order. (SDL then keeps it and installs no handler of
// its own; one installed before is called.)
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void OnStopSignal(int signal) {
    g_stopRequested.store(true);
    const struct sigaction& previous = signal == SIGINT ? g_previousInt : g_previousTerm;
    if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler != SIG_DFL &&
        previous.sa_handler != SIG_IGN && previous.sa_handler != nullptr) {
        previous.sa_handler(signal);
    }
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_previousInt);
    sigaction(SIGTERM, &action, &g_previousTerm);
}

void OnCaptureSignal(int) {
    mareldon::NoteCaptureSignal();
}

// MARELDON_CAPTURE (the presenter reads it too, for the FRAME form); a
// signal capture comes with SIGUSR1.
void ReadCaptureRequest(mareldon::CaptureRequest& request) {
    const char* text = std::getenv("MARELDON_CAPTURE");
    if (text == nullptr || !mareldon::ParseCaptureRequest(text, request)) {
        return;
    }
    if (request.when == mareldon::CaptureRequest::When::Signal) {
        struct sigaction action {};
        action.sa_handler = OnCaptureSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGUSR1, &action, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mareldon;
    CatchStopSignals();
    // Video (and with it the GL driver) stays up until the process ends: the
    // driver keeps allocations for its whole life, and unloading it early only
    // turns them into leaks without a name.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_GL_LoadLibrary(nullptr);
    }
    // The graphics device draws with OpenGL; it tells the backend its rotation.
    GlGpuBackend gl;
    // The controls the simulated I/O board reads when no real board is set up,
    // and the controllers the input manager reports as attached.
    SdlSwitchSource switches;
    SdlInputDevices devices(GameApplication::kPadCount);
    SceneRegistry scenes;
    RegisterScreens(scenes);
    RegisterTestMode(scenes);
    RegisterStageObjects(StageNodeRegistry::Global());
    RegisterBossObjects(StageNodeRegistry::Global());

    GamePlatform platform;
    platform.createFileSystem = CreateFileSystem;
    platform.createWindowSystem = CreateWindowSystem;
    platform.createSoundBox = CreateSoundBox;
    platform.createGraphicsDevice = [&gl](Window* window, int32_t windowed, uint32_t flags, int32_t width,
                                          int32_t height, int32_t rotation) {
        return CreateGraphicsDevice(&gl, window, windowed, flags, width, height, rotation);
    };
    platform.inputDevices = &devices;
    platform.openSerialLink = [&switches](const char* portName) {
        return OpenSerialLink(portName, &switches);
    };
    platform.scenes = &scenes;
    platform.stopRequested = [] { return g_stopRequested.load(); };
    platform.createMovieDecoder = CreateAvMovieDecoder;
    platform.stageStart = ReadStageStart(std::getenv("MARELDON_STAGE"));
    ReadCaptureRequest(platform.capture);
    // Development runs driven by a board tool: each step waits for its input
    // cycle, so a switch held for N cycles is seen by N steps on a busy machine too.
    if (const char* lockstep = std::getenv("MARELDON_JVS_LOCKSTEP");
        lockstep != nullptr && *lockstep == '1') {
        JvsBus::SetWaitForCycles(true);
    }

    GameApplication game(argc, argv, platform);
    return ApplicationMain();
}
