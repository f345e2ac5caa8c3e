#include "game/system/GameApplication.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "engine/platform/Clock.h"
#include "engine/platform/Cp932.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "engine/render/GraphicsDeviceDX.h"
#include "engine/render/Renderer.h"
#include "engine/render/ResourceProxy.h"
#include "engine/render/scene/Object3D.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/system/CreateGraphicsDevice.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/JvsBus.h"
#include "game/system/JvsLib.h"
#include "game/system/MainWindow.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/LightFileWriter.h"

namespace mareldon {
namespace {

namespace fs = std::filesystem;

// What the factories were asked for, in order, and where they put it.
struct Spy {
    std::vector<std::string> made;
    std::string root;
    HeadlessWindowBackend* windows = nullptr;
    SoundBox* sound = nullptr;
    Window* soundWindow = nullptr;
    Window* deviceWindow = nullptr;
    int32_t deviceArgs[5] = {};
};
Spy* spy = nullptr;

// The services as the factories hand them out, noting when they go.
class SpyWindowSystem final : public WindowSystem {
  public:
    explicit SpyWindowSystem(std::unique_ptr<HeadlessWindowBackend> backend)
        : WindowSystem(std::move(backend)) {}
    ~SpyWindowSystem() override { spy->made.push_back("~windows"); }
};

class SpyFileSystem final : public FileSystem {
  public:
    explicit SpyFileSystem(FileSystem* inner) : inner_(inner) {}
    ~SpyFileSystem() override { spy->made.push_back("~files"); }
    bool ChangeRoot(const String& path) override { return inner_->ChangeRoot(path); }
    String GetRoot() override { return inner_->GetRoot(); }
    RefPtr<DirectoryList> ListDirectory(const String& path) override { return inner_->ListDirectory(path); }
    void SplitFilePath(const String& path, String& drive, String& directory, String& name,
                       String& extension) override {
        inner_->SplitFilePath(path, drive, directory, name, extension);
    }
    void FullPath(String& out, const String& path) override { inner_->FullPath(out, path); }
    File* Open(const String& path, uint32_t mode) override { return inner_->Open(path, mode); }
    void Close(File* file) override { inner_->Close(file); }

  private:
    std::unique_ptr<FileSystem> inner_;
};

class SpySoundBox final : public SoundBox {
  public:
    explicit SpySoundBox(Window* window) : inner_(window, std::make_shared<RecordingSoundOutput>()) {}
    ~SpySoundBox() override { spy->made.push_back("~sound"); }
    RefPtr<SoundBuffer> CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t unused1,
                                    uint32_t unused2, const RefPtr<PcmRecord>& record) override {
        return inner_.CreateSound(bits, rate, channels, unused1, unused2, record);
    }
    void SetSoundVolume(const RefPtr<SoundBuffer>& sound, float volume) override {
        inner_.SetSoundVolume(sound, volume);
    }
    void SetMasterVolume(float volume) override { inner_.SetMasterVolume(volume); }
    void SetSoundPan(const RefPtr<SoundBuffer>& sound, float pan) override { inner_.SetSoundPan(sound, pan); }
    void SetMasterPan(float pan) override { inner_.SetMasterPan(pan); }
    void Play(const RefPtr<SoundBuffer>& sound, uint8_t loop) override { inner_.Play(sound, loop); }
    void Stop(const RefPtr<SoundBuffer>& sound) override { inner_.Stop(sound); }
    void Pause(const RefPtr<SoundBuffer>& sound) override { inner_.Pause(sound); }
    void Resume(const RefPtr<SoundBuffer>& sound) override { inner_.Resume(sound); }
    bool IsLooping(const RefPtr<SoundBuffer>& sound) override { return inner_.IsLooping(sound); }

  private:
    SoundBoxDX inner_;
};

GamePlatform HeadlessPlatform() {
    GamePlatform platform;
    platform.createFileSystem = [](const String&) -> FileSystem* {
        spy->made.push_back("files");
        return new SpyFileSystem(CreateFileSystem(spy->root.c_str()));
    };
    platform.createWindowSystem = []() -> WindowSystem* {
        spy->made.push_back("windows");
        auto backend = std::make_unique<HeadlessWindowBackend>();
        spy->windows = backend.get();
        return new SpyWindowSystem(std::move(backend));
    };
    platform.createSoundBox = [](Window* window) -> SoundBox* {
        spy->made.push_back("sound");
        spy->soundWindow = window;
        spy->sound = new SpySoundBox(window);
        return spy->sound;
    };
    platform.createGraphicsDevice = [](Window* window, int32_t windowed, uint32_t flags, int32_t width,
                                       int32_t height, int32_t rotation) -> GraphicsDevice* {
        spy->made.push_back("device");
        spy->deviceWindow = window;
        const int32_t args[5] = {windowed, static_cast<int32_t>(flags), width, height, rotation};
        std::copy(args, args + 5, spy->deviceArgs);
        return CreateGraphicsDevice(window, windowed, flags, width, height, rotation);
    };
    return platform;
}

// The cabinet's controls as the simulated board reads them; set by the test.
class ScriptedControls final : public JvsSwitchSource {
  public:
    void Sample(JvsSwitchSample& sample) override {
        std::lock_guard lock(mutex);
        sample.players[0] = player1;
        sample.coins[0] = coins;
        coins = 0;
    }
    void InsertCoin() {
        std::lock_guard lock(mutex);
        ++coins;
    }
    void SetStart(bool down) {
        std::lock_guard lock(mutex);
        player1 = down ? kJvsStart : 0;
    }

  private:
    std::mutex mutex;
    uint16_t player1 = 0;
    uint16_t coins = 0;
};

class GameApplicationTest : public testing::Test {
  protected:
    GameApplicationTest() {
        root = fs::temp_directory_path() / ("mareldon-app-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        spy_.root = root.string() + "/";
        spy = &spy_;
        // The in-process simulated board, whatever the environment says.
        ::unsetenv("MARELDON_COM2");
        ::unsetenv("MARELDON_ROOT");
        JvsBus::SetResetDelay(20);
        SetJvsSwitchSource(&controls);
        previousSteps = PlaceholderScreen::stepsToRun;
        PlaceholderScreen::stepsToRun = 30;
    }
    ~GameApplicationTest() override {
        app.reset();
        SetJvsSwitchSource(nullptr);
        JvsBus::SetResetDelay(1000);
        PlaceholderScreen::stepsToRun = previousSteps;
        spy = nullptr;
        fs::remove_all(root);
    }

    // The archive tool's sample archive and shader data files, in the root.
    void WriteSampleData() {
        WriteBytes(root / "MARELDON.mbd", MakeSampleArchive());
        WriteBytes(root / "QVDSHDV.dat", MakeSampleVertexShaderData());
        WriteBytes(root / "QVDSHDP.dat", MakeSamplePixelShaderData());
    }

    static void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }

    GameApplication& Start() {
        const char* argv[] = {"mareldon"};
        app = std::make_unique<GameApplication>(1, argv, HeadlessPlatform());
        app->StartClock();
        return *app;
    }

    // Main-loop passes at 60 steps a second until `steps` more steps have run;
    // false once the program has ended. Each step starts after the bus cycle
    // the previous one asked for, as it would in the time a real step takes.
    bool Run(int steps) {
        for (int done = 0; done < steps;) {
            JvsBus::WaitIdle(60000);
            const auto due = [](uint64_t pass) { return static_cast<uint32_t>((pass * 1000 + 59) / 60); };
            ++passes;
            clock.Advance(due(passes) - due(passes - 1));
            if (!app->RunPass()) {
                return false;
            }
            done += static_cast<int>(app->StepsInLastPass());
        }
        return true;
    }
    // Steps until the named scene is current.
    bool RunUntil(const char* scene, int limit = 3000) {
        for (int i = 0; i < limit; ++i) {
            GameSystem* system = app->GetGameSystem();
            if (system != nullptr && system->GetCurrentSceneName().Equals(scene)) {
                return true;
            }
            if (!Run(1)) {
                return false;
            }
        }
        return false;
    }
    const HeadlessWindowBackend::Record* MainRecord() {
        return spy_.windows->Find(app->root.mainWindow->native->handle);
    }

    VirtualClock clock;
    ScopedClock useClock{clock};
    RecordingGpu gpu;
    ScopedGpuBackend useGpu{gpu};
    ScriptedControls controls;
    Spy spy_;
    fs::path root;
    std::unique_ptr<GameApplication> app;
    uint64_t passes = 0;
    int previousSteps = 0;
};

TEST_F(GameApplicationTest, BuildsTheServicesInOrderAndRunsWithoutAnArchive) {
    GameApplication& game = Start();
    EXPECT_EQ(spy_.made, (std::vector<std::string>{"files", "windows", "sound", "device"}));
    EXPECT_EQ(game.GetName(), "MARELDON");

    // The main window: a portrait top window the device and sound were made on.
    ASSERT_NE(game.root.mainWindow, nullptr);
    EXPECT_NE(dynamic_cast<MainWindow*>(game.root.mainWindow), nullptr);
    EXPECT_EQ(spy_.soundWindow, game.root.mainWindow);
    EXPECT_EQ(spy_.deviceWindow, game.root.mainWindow);
    const auto* record = MainRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, "TOPWINDOW");
    EXPECT_EQ(record->text, "MARELDON");
    EXPECT_TRUE(record->visible);
    EXPECT_TRUE(record->focused);
    // Turned a quarter by the device: a landscape back buffer.
    const WindowRect client = game.root.windowSystem->GetClientRect(game.root.mainWindow);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    const int32_t deviceArgs[5] = {0, 8, 480, 640, 3};
    EXPECT_TRUE(std::equal(deviceArgs, deviceArgs + 5, spy_.deviceArgs));

    // Every service is in the root, and the game system is its only child.
    EXPECT_TRUE(game.root.fileSystem);
    EXPECT_EQ(game.root.soundBox.Get(), spy_.sound);
    ASSERT_TRUE(game.root.graphicsDevice);
    ASSERT_TRUE(game.root.screenTarget);
    EXPECT_EQ(game.root.screenTarget->Inner().Get(), game.root.graphicsDevice->ScreenTexture().Get());
    ASSERT_NE(game.root.inputManager, nullptr);
    EXPECT_TRUE(game.root.inputManager->jvsActive) << "the simulated board answers";
    ASSERT_TRUE(game.root.renderer);
    EXPECT_EQ(game.root.renderer->GetSoundBox().Get(), spy_.sound);
    EXPECT_EQ(game.root.childCount, 1);
    GameSystem* system = game.GetGameSystem();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->renderer.Get(), game.root.renderer.Get());
    EXPECT_EQ(game.root.frameRate, 60.0f);
    EXPECT_EQ(game.root.framePeriod, 1.0f / 60.0f);

    // No archive: the one message, and the program goes on with empty lists.
    ASSERT_EQ(spy_.windows->MessageBoxes().size(), 1u);
    EXPECT_EQ(spy_.windows->MessageBoxes()[0].caption, Utf8ToCp932("これは致命的！"));
    EXPECT_NE(spy_.windows->MessageBoxes()[0].text.find("MARELDON.mbd"), std::string::npos);
    EXPECT_EQ(game.root.renderer->ModelCount(), 0);

    EXPECT_TRUE(fs::is_directory(root / "sv")) << "made for settings and rankings";
    EXPECT_TRUE(Run(120));
    EXPECT_NE(app->GetGameSystem(), nullptr);
    app.reset();
    // The sound device goes with the renderer, the last to hold it; the file
    // system outlives everything that reads through it.
    EXPECT_EQ(spy_.made, (std::vector<std::string>{"files", "windows", "sound", "device", "~sound",
                                                   "~windows", "~files"}));
    EXPECT_FALSE(fs::exists(root / "sv" / "MARELDON_income.log"));
    EXPECT_FALSE(fs::exists(root / "sv\\MARELDON_income.log"));
}

TEST_F(GameApplicationTest, LoadsTheArchiveAndShaderDataFromTheRoot) {
    WriteSampleData();
    GameApplication& game = Start();
    EXPECT_TRUE(spy_.windows->MessageBoxes().empty());
    Renderer& renderer = *game.root.renderer;
    EXPECT_EQ(renderer.ModelCount(), 2);
    EXPECT_EQ(renderer.SpriteCount(), 1);
    EXPECT_EQ(renderer.FontCount(), 1);
    EXPECT_EQ(renderer.SoundCount(), 2);
    EXPECT_TRUE(renderer.FindVertexShader("Plain "));
    EXPECT_TRUE(renderer.FindVertexShader("Normal Position:Normal: "));
    EXPECT_TRUE(renderer.FindPixelShader("Normal Diffuse "));
    EXPECT_TRUE(Run(60));
}

TEST_F(GameApplicationTest, SceneFlowCoinsAndStartThroughTheSimulatedBoard) {
    Start();
    GameSystem* system = app->GetGameSystem();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetRequestedSceneName(), "boot");
    ASSERT_TRUE(Run(1));
    EXPECT_EQ(system->GetCurrentSceneName(), "boot");
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_EQ(system->GetCredits(), 0);

    // Two coins from the cabinet's slot: the attract loop gives way to the title.
    controls.InsertCoin();
    controls.InsertCoin();
    ASSERT_TRUE(Run(10));
    EXPECT_EQ(system->GetCredits(), 2);
    ASSERT_TRUE(RunUntil("titlestart"));

    // Player 1's start takes a credit and the game begins.
    controls.SetStart(true);
    ASSERT_TRUE(Run(3));
    controls.SetStart(false);
    EXPECT_EQ(system->GetCredits(), 1);
    EXPECT_TRUE(system->IsPlayerInGame(1));
    EXPECT_TRUE(RunUntil("actualgame"));
    EXPECT_EQ(app->DroppedBlocks(), 0u) << "every step ran, none was cut";
}

// The node of that name in the tree under a task, or null.
Object3D* FindNode(TaskObject& task, const char* name) {
    Object3D* node = task.AsObject3D();
    if (node != nullptr && node->name == name) {
        return node;
    }
    TreeNode* child = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, child = child->next) {
        if (Object3D* found = FindNode(*static_cast<TaskObject*>(child), name)) {
            return found;
        }
    }
    return nullptr;
}

TEST_F(GameApplicationTest, EveryFrameOfTheAttractLoopShowsTheBackdrop) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    PlaceholderScreen::stepsToRun = 100;
    Start();
    // The portrait screen turned a quarter: the whole landscape back buffer.
    const std::string whole = "SetViewport(0, 0, 640, 480, 0, 1)";
    const std::string clear = "Clear(3, 0xFF203050, 1, 0)";
    std::string viewport = "(none yet)";
    int frames = 0;
    int cleared = 0;
    // The device sends a viewport only when it changes: follow it from the start.
    auto scan = [&](bool check) {
        for (const std::string& call : gpu.Calls()) {
            if (call.rfind("SetViewport(", 0) == 0) {
                viewport = call;
            } else if (check && call == clear) {
                ++cleared;
                EXPECT_EQ(viewport, whole) << "frame " << frames;
            } else if (check && call == "Present()") {
                EXPECT_EQ(cleared, 1) << "frame " << frames;
                cleared = 0;
                ++frames;
            }
        }
        gpu.ClearCalls();
    };
    ASSERT_TRUE(Run(1));  // the first frame comes before the first scene
    scan(false);
    for (int step = 0; step < 300; ++step) {
        ASSERT_TRUE(Run(1));
        scan(true);
    }
    EXPECT_GE(frames, 300);

    // The next scene: its cube turns a quarter in its first 60 steps.
    GameSystem* system = app->GetGameSystem();
    SceneTask* previous = system->GetCurrentScene();
    for (int i = 0; i < 200 && system->GetCurrentScene() == previous; ++i) {
        ASSERT_TRUE(Run(1));
    }
    ASSERT_NE(system->GetCurrentScene(), previous);
    ASSERT_TRUE(Run(60));
    Object3D* spin = FindNode(*system->GetCurrentScene(), "spin");
    ASSERT_NE(spin, nullptr) << system->GetCurrentSceneName().Text();
    EXPECT_NEAR(spin->GetRotation().y, float(M_PI / 2), 1e-4f);
}

// Over 300 attract steps each "Normal" shader the backdrop needs is generated and
// assembled once, and every frame's lights are those of "placeholder.lights", in
// the file's order.
TEST_F(GameApplicationTest, TheBackdropIsLitByItsLightFile) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "placeholder.lights", MakePlaceholderLightFile());
    PlaceholderScreen::stepsToRun = 100;
    GameApplication& game = Start();
    ASSERT_TRUE(Run(1));  // the first frame comes before the first scene
    gpu.ClearCalls();
    const std::vector<std::string> expected = {"AmbientLight", "DirectionalLight", "DirectionalSpecularLight",
                                               "SimpleFog"};
    int made = 0;
    for (int step = 0; step < 300; ++step) {
        ASSERT_TRUE(Run(1));
        for (const std::string& call : gpu.Calls()) {
            if (call.rfind("CreateVertexShader(", 0) == 0 || call.rfind("CreatePixelShader(", 0) == 0) {
                EXPECT_EQ(call.find(" = 0"), std::string::npos) << call;
                ++made;
            }
        }
        gpu.ClearCalls();
        const LightList& lights = game.root.renderer->Lights();
        std::vector<std::string> names;
        for (int32_t i = 0; i < lights.Count(); ++i)
            names.emplace_back(lights[i].name.Text());
        ASSERT_EQ(names, expected) << "step " << step;
    }
    // Every key in the dictionaries is a "Normal" one, made once.
    int keys = 0;
    for (const NamedNode* shaders :
         {&game.root.renderer->VertexShaders(), &game.root.renderer->PixelShaders()}) {
        for (const NamedNode* entry = shaders->NextEntry(); entry != shaders; entry = entry->NextEntry()) {
            EXPECT_EQ(std::string(entry->GetName().Text()).rfind("Normal", 0), 0u) << entry->GetName().Text();
            ++keys;
        }
    }
    EXPECT_GE(keys, 3);  // the cube's and the bar's vertex shaders and their pixel shader
    EXPECT_EQ(made, keys);
}

TEST_F(GameApplicationTest, ClosingTheWindowEndsTheProgram) {
    GameApplication& game = Start();
    ASSERT_TRUE(Run(30));
    spy_.windows->PostClose(game.root.mainWindow->native->handle);
    game.Run();  // returns once the loop has ended
    EXPECT_EQ(game.root.childCount, 0);
    EXPECT_EQ(game.GetGameSystem(), nullptr);
    EXPECT_FALSE(game.RunPass());
    app.reset();  // the services go after their window without complaint
}

}  // namespace
}  // namespace mareldon
