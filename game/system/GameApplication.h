#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/core/Application.h"
#include "engine/core/LoopHooks.h"
#include "engine/core/String.h"
#include "engine/platform/FrameCapture.h"
#include "engine/platform/MovieDecoder.h"
#include "engine/platform/SerialLink.h"
#include "game/system/StageStart.h"

namespace mareldon {

class CaptureTrigger;
class FileSystem;
class GameSystem;
class GraphicsDevice;
class InputDevices;
class SceneRegistry;
class SoundBox;
class Window;
class WindowSystem;

// Everything the game takes from outside game/system, made by one composition
// root (the program's main with the real backends, a test fixture with headless
// and recording ones) and handed down: the application makes its services
// through the factories in a fixed order, and passes the rest on to the input
// manager and the game system.
struct GamePlatform {
    std::function<FileSystem*(const String& root)> createFileSystem;
    std::function<WindowSystem*()> createWindowSystem;
    std::function<SoundBox*(Window* window)> createSoundBox;
    std::function<GraphicsDevice*(Window* window, int32_t windowed, uint32_t flags, int32_t width,
                                  int32_t height, int32_t rotation)>
        createGraphicsDevice;
    // Controllers and mice attached to the PC; none when null.
    InputDevices* inputDevices = nullptr;
    // Opens the I/O board's serial port by name.
    SerialLinkOpener openSerialLink;
    // The screens of the scene flow; none are built when null.
    const SceneRegistry* scenes = nullptr;
    // True once the process was asked to end (SIGTERM, SIGINT); never when empty.
    std::function<bool()> stopRequested;
    // Makes the movie screens' decoders; the screens go without their movies when null.
    MovieDecoderFactory createMovieDecoder = nullptr;
    // A development start straight into a stage; unset: the normal flow.
    StageStart stageStart{};
    // MARELDON_CAPTURE: a capture named by step, log line or signal is triggered
    // here (the presenter itself counts frames for the FRAME form).
    CaptureRequest capture{};
};

// The program's application: the platform services made in a fixed order and
// stored in the root task, so every task inherits them, and the game system as
// the root's only child. A service that fails to start says so itself, and
// construction goes on.
class GameApplication final : public Application,
                              private MessagePump,
                              private FramePresenter,
                              private InputPoller {
  public:
    static constexpr int32_t kScreenWidth = 480;
    static constexpr int32_t kScreenHeight = 640;
    static constexpr int32_t kRotation = 3;
    static constexpr uint32_t kDeviceFlags = 8;
    static constexpr int kPadCount = 4;
    static constexpr int kMouseCount = 1;
    static constexpr int kKeyboardCount = 1;
    static constexpr float kFrameRate = 60.0f;

    GameApplication(int argc, const char* const* argv, const GamePlatform& platform);
    ~GameApplication() override;

    const String& GetName() const { return name_; }
    // Null once the program has ended (or when it could not be made).
    GameSystem* GetGameSystem() const;

  private:
    // Pumps the window messages; once the last window has gone the game system
    // is deleted, which ends the main loop.
    void PumpMessages() override;
    void PresentFrame() override;
    void PollInput() override;
    bool DrawAfterStep() override;
    // True once the process was asked to end; logs it the first time.
    bool StopRequestedInStartUp();

    String name_;
    String programDir_;
    std::function<bool()> stopRequested_;
    std::unique_ptr<CaptureTrigger> capture_;
    uint32_t steps_ = 0;
    bool stopLogged_ = false;
};

}  // namespace mareldon
