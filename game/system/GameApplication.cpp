#include "game/system/GameApplication.h"

#include <filesystem>
#include <system_error>

#include "engine/core/Log.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundBox.h"
#include "engine/platform/WindowSystem.h"
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"
#include "game/system/CaptureTrigger.h"
#include "game/system/GameSystem.h"
#include "game/system/IncomeLog.h"
#include "game/system/InputManager.h"
#include "game/system/JvsLib.h"
#include "game/system/MainWindow.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "app";
constexpr const char* kApplicationName = "MARELDON";
constexpr const char* kArchiveName = "MARELDON.mbd";
constexpr const char* kIncomeLog = "sv\\MARELDON_income.log";
constexpr const char* kSaveFolder = "sv";
// Reported to the I/O library before any window exists.
constexpr uint32_t kStartUpEvent = 0x02000000;

// Settings and rankings are saved under "sv": make it before anything wants it.
void MakeSaveFolder(FileSystem& files) {
    String folder;
    files.FullPath(folder, kSaveFolder);
    std::error_code error;
    std::filesystem::create_directories(folder.Text(), error);
    if (error) {
        LOG_WARN(kLog, "cannot create %s: %s; settings and rankings will not be saved", folder.Text(),
                 error.message().c_str());
    }
}

}  // namespace

GameApplication::GameApplication(int argc, const char* const* argv, const GamePlatform& platform)
    : Application(argc, argv),
      name_(kApplicationName),
      programDir_(GetProgramDir()),
      stopRequested_(platform.stopRequested) {
    if (platform.capture.when != CaptureRequest::When::Frame) {
        capture_ = std::make_unique<CaptureTrigger>(platform.capture);
    }
    root.fileSystem.Reset(platform.createFileSystem(programDir_));
    if (root.fileSystem) {
        MakeSaveFolder(*root.fileSystem);
    }
    ReturnOne(kIncomeLog);
    JvsLib::ReportEvent(kStartUpEvent, 0);

    WindowSystem* windows = platform.createWindowSystem();
    root.windowSystem = windows;
    WindowLayout layout;
    layout.rightOffset = kScreenWidth;
    layout.bottomOffset = kScreenHeight;
    MainWindow* window = new MainWindow(windows, name_, layout);
    root.mainWindow = window;
    window->Show(true);
    window->SetFocus();
    root.frameRate = kFrameRate;
    root.framePeriod = 1.0f / kFrameRate;

    // A stop request skips whatever start-up is left (the board's wait, the
    // archive, the game), and so does one that comes in while a piece starts:
    // on a busy machine each piece takes long, and none is needed to end.
    if (!StopRequestedInStartUp()) {
        root.soundBox.Reset(platform.createSoundBox(window));
    }
    if (!StopRequestedInStartUp()) {
        root.graphicsDevice.Reset(
            platform.createGraphicsDevice(window, 0, kDeviceFlags, kScreenWidth, kScreenHeight, kRotation));
        if (root.graphicsDevice) {
            root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
        }
    }
    if (!StopRequestedInStartUp()) {
        root.inputManager =
            new InputManager(this, kPadCount, kMouseCount, kKeyboardCount, platform.inputDevices,
                             platform.openSerialLink, platform.stopRequested);
    }
    Renderer* renderer = nullptr;
    if (!StopRequestedInStartUp()) {
        renderer = new Renderer(root.fileSystem, root.graphicsDevice, root.soundBox, name_,
                                windows != nullptr ? &windows->Backend() : nullptr);
        root.renderer.Reset(renderer);
    }
    if (renderer != nullptr && !StopRequestedInStartUp() && renderer->LoadArchive(kArchiveName) &&
        root.graphicsDevice) {
        renderer->BuildModels(*root.graphicsDevice);
    }
    if (renderer != nullptr && !StopRequestedInStartUp()) {
        GameSystemPorts ports;
        ports.scenes = platform.scenes;
        ports.createMovieDecoder = platform.createMovieDecoder;
        ports.stageStart = platform.stageStart;
        new GameSystem(&root, ports);
    }

    SetMessagePump(this);
    SetFramePresenter(this);
    SetInputPoller(this);
}

GameApplication::~GameApplication() {
    SetMessagePump(nullptr);
    SetFramePresenter(nullptr);
    SetInputPoller(nullptr);
    root.DeleteChildren();
    root.soundBox.Reset();
    delete root.inputManager;
    root.inputManager = nullptr;
    root.renderer.Reset();
    root.screenTarget.Reset();
    root.graphicsDevice.Reset();
    delete root.mainWindow;
    root.mainWindow = nullptr;
    delete root.windowSystem;
    root.windowSystem = nullptr;
    root.fileSystem.Reset();
    ReturnOne();
}

GameSystem* GameApplication::GetGameSystem() const {
    return root.childCount > 0 ? static_cast<GameSystem*>(root.firstChild) : nullptr;
}

void GameApplication::PumpMessages() {
    WindowSystem* windows = root.windowSystem;
    if (windows != nullptr) {
        windows->Pump();
    }
    // A closed window, or a signal to end, leaves no window to draw into: the
    // program ends as it would after the "quit" scene.
    if (root.childCount == 0) {
        return;
    }
    if (windows != nullptr && windows->quitReceived) {
        LOG_INFO(kLog, "the window has closed: ending");
        root.DeleteChildren();
    } else if (stopRequested_ && stopRequested_()) {
        LOG_INFO(kLog, "asked to stop: ending");
        root.DeleteChildren();
    }
}

void GameApplication::PresentFrame() {
    if (root.graphicsDevice) {
        root.graphicsDevice->Present();
    }
}

void GameApplication::PollInput() {
    ++steps_;
    if (capture_) {
        capture_->StepStarts(steps_);
    }
    if (root.inputManager != nullptr) {
        root.inputManager->Update();
    }
}

bool GameApplication::DrawAfterStep() {
    return capture_ && capture_->StepEnds();
}

bool GameApplication::StopRequestedInStartUp() {
    if (!stopRequested_ || !stopRequested_()) {
        return false;
    }
    if (!stopLogged_) {
        stopLogged_ = true;
        LOG_INFO(kLog, "asked to stop during start-up: ending");
    }
    return true;
}

}  // namespace mareldon
