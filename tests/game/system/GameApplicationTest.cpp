#include "game/system/GameApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/core/Cp932.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/WindowSystem.h"
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/movie/ThreadedMoviePlayer.h"
#include "engine/render/scene/Object3D.h"
#include "game/screens/MovieScreen.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/screens/RegisterScreens.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/JvsBus.h"
#include "game/system/MainWindow.h"
#include "game/testmode/RegisterTestMode.h"
#include "tests/game/system/TestPlatform.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/LightFileWriter.h"
#include "tools/archive/PlaceholderMovies.h"

namespace mareldon {
namespace {

namespace fs = std::filesystem;

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
        fs::remove_all(root);
        fs::create_directories(root);
        // The in-process simulated board, whatever the environment says.
        ::unsetenv("MARELDON_COM2");
        ::unsetenv("MARELDON_ROOT");
        JvsBus::SetResetDelay(20);
        // A pass may run several steps: each must find the cycle the step before
        // it started already done, however slowly the bus thread runs.
        JvsBus::SetWaitForCycles(true);
        previousSteps = PlaceholderScreen::stepsToRun;
        PlaceholderScreen::stepsToRun = 30;
        // The placeholder backdrop stands in for the demonstration play and the
        // ranking after it, registered before the real screens take those names.
        platform.scenes = SceneRegistry();
        for (const char* scene : {"playdemo1", "ranking1"}) {
            platform.scenes.Add(scene, [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
                return new PlaceholderScreen(&s, at.breakIn, at.successor, "backdrop");
            });
        }
        RegisterScreens(platform.scenes);
        RegisterTestMode(platform.scenes);
    }
    ~GameApplicationTest() override {
        app.reset();
        JvsBus::SetWaitForCycles(false);
        JvsBus::SetResetDelay(1000);
        PlaceholderScreen::stepsToRun = previousSteps;
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
        app = std::make_unique<GameApplication>(1, argv, platform.Make());
        app->StartClock();
        return *app;
    }

    // Main-loop passes at 60 steps a second until `steps` more steps have run;
    // false once the program has ended.
    bool Run(int steps) {
        for (int done = 0; done < steps;) {
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
    // Past the front-end screens to "playdemo1", which shows the placeholder backdrop
    // here; false when it is not reached.
    bool RunToBackdrop() {
        if (!RunUntil("logo1")) {
            return false;
        }
        app->GetGameSystem()->GetCurrentScene()->RequestSuccessor("playdemo1");
        return RunUntil("playdemo1", 5);
    }
    const HeadlessWindowBackend::Record* MainRecord() {
        return platform.windows->Find(app->root.mainWindow->native->handle);
    }

    static fs::path TestRoot() {
        return fs::temp_directory_path() / ("mareldon-app-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    VirtualClock clock;
    ScopedClock useClock{clock};
    ScriptedControls controls;
    fs::path root = TestRoot();
    TestPlatform platform{root.string() + "/", &controls};
    std::unique_ptr<GameApplication> app;
    uint64_t passes = 0;
    int previousSteps = 0;
};

TEST_F(GameApplicationTest, BuildsTheServicesInOrderAndRunsWithoutAnArchive) {
    GameApplication& game = Start();
    EXPECT_EQ(platform.made, (std::vector<std::string>{"files", "windows", "sound", "device"}));
    EXPECT_EQ(game.GetName(), "MARELDON");

    // The main window: a portrait top window the device and sound were made on.
    ASSERT_NE(game.root.mainWindow, nullptr);
    EXPECT_NE(dynamic_cast<MainWindow*>(game.root.mainWindow), nullptr);
    EXPECT_EQ(platform.soundWindow, game.root.mainWindow);
    EXPECT_EQ(platform.deviceWindow, game.root.mainWindow);
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
    EXPECT_TRUE(std::equal(deviceArgs, deviceArgs + 5, platform.deviceArgs));

    // Every service is in the root, and the game system is its only child.
    EXPECT_TRUE(game.root.fileSystem);
    EXPECT_EQ(game.root.soundBox.Get(), platform.sound);
    ASSERT_TRUE(game.root.graphicsDevice);
    ASSERT_TRUE(game.root.screenTarget);
    EXPECT_EQ(game.root.screenTarget->Inner().Get(), game.root.graphicsDevice->ScreenTexture().Get());
    ASSERT_NE(game.root.inputManager, nullptr);
    EXPECT_TRUE(game.root.inputManager->jvsActive) << "the simulated board answers";
    ASSERT_TRUE(game.root.renderer);
    EXPECT_EQ(game.root.renderer->GetSoundBox().Get(), platform.sound);
    EXPECT_EQ(game.root.childCount, 1);
    GameSystem* system = game.GetGameSystem();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->renderer.Get(), game.root.renderer.Get());
    EXPECT_EQ(game.root.frameRate, 60.0f);
    EXPECT_EQ(game.root.framePeriod, 1.0f / 60.0f);

    // No archive: the one message, and the program goes on with empty lists.
    ASSERT_EQ(platform.windows->MessageBoxes().size(), 1u);
    EXPECT_EQ(platform.windows->MessageBoxes()[0].caption, Utf8ToCp932("これは致命的！"));
    EXPECT_NE(platform.windows->MessageBoxes()[0].text.find("MARELDON.mbd"), std::string::npos);
    EXPECT_EQ(game.root.renderer->ModelCount(), 0);

    EXPECT_TRUE(fs::is_directory(root / "sv")) << "made for settings and rankings";
    EXPECT_TRUE(Run(120));
    EXPECT_NE(app->GetGameSystem(), nullptr);
    app.reset();
    // The sound device goes with the renderer, the last to hold it; the file
    // system outlives everything that reads through it.
    EXPECT_EQ(platform.made, (std::vector<std::string>{"files", "windows", "sound", "device", "~sound",
                                                       "~windows", "~files"}));
    EXPECT_FALSE(fs::exists(root / "sv" / "MARELDON_income.log"));
    EXPECT_FALSE(fs::exists(root / "sv\\MARELDON_income.log"));
}

TEST_F(GameApplicationTest, LoadsTheArchiveAndShaderDataFromTheRoot) {
    WriteSampleData();
    GameApplication& game = Start();
    EXPECT_TRUE(platform.windows->MessageBoxes().empty());
    Renderer& renderer = *game.root.renderer;
    EXPECT_EQ(renderer.ModelCount(), 2);
    EXPECT_EQ(renderer.SpriteCount(), 1);
    EXPECT_EQ(renderer.FontCount(), 1);
    EXPECT_EQ(renderer.SoundCount(), 2);
    EXPECT_TRUE(renderer.FindVertexShader("Plain"));
    EXPECT_TRUE(renderer.FindVertexShader("NormalPosition:Normal:"));
    EXPECT_TRUE(renderer.FindPixelShader("NormalSetMatTex 1 [L] "));
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

    // Player 1's start takes a credit and the game begins (the title ignores
    // starts in its first 31 steps).
    ASSERT_TRUE(Run(31));
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
    // Each backdrop scene outlasts the 300 frames checked.
    PlaceholderScreen::stepsToRun = 1000;
    Start();
    ASSERT_TRUE(RunToBackdrop());
    // The portrait screen turned a quarter: the whole landscape back buffer.
    const std::string whole = "SetViewport(0, 0, 640, 480, 0, 1)";
    const std::string clear = "Clear(3, 0xFF203050, 1, 0)";
    std::string viewport = "(none yet)";
    int frames = 0;
    int cleared = 0;
    // The device sends a viewport only when it changes: follow it from the start.
    auto scan = [&](bool check) {
        for (const std::string& call : platform.gpu.Calls()) {
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
        platform.gpu.ClearCalls();
    };
    scan(false);
    for (int step = 0; step < 300; ++step) {
        ASSERT_TRUE(Run(1));
        scan(true);
    }
    EXPECT_GE(frames, 300);

    // The next scene: its cube turns a quarter in its first 60 steps. By name: it may
    // take the address of the one it follows.
    GameSystem* system = app->GetGameSystem();
    const std::string previous = system->GetCurrentSceneName().Text();
    for (int i = 0; i < 1000 && previous == system->GetCurrentSceneName().Text(); ++i) {
        ASSERT_TRUE(Run(1));
    }
    ASSERT_EQ(system->GetCurrentSceneName(), "ranking1");
    Object3D* spin = FindNode(*system->GetCurrentScene(), "spin");
    ASSERT_NE(spin, nullptr) << system->GetCurrentSceneName().Text();
    EXPECT_LT(spin->GetRotation().y, 0.03f) << "at most a step in";
    const float start = spin->GetRotation().y;
    ASSERT_TRUE(Run(60));
    EXPECT_NEAR(spin->GetRotation().y - start, float(M_PI / 2), 1e-4f);
}

// Over 300 attract steps each shader the backdrop needs ("Normal", the shadow map's
// "Makeshadow", the swarm's "LightWeight") is generated and assembled once, and every
// frame's lights are those of "placeholder.lights", in the file's order.
TEST_F(GameApplicationTest, TheBackdropIsLitByItsLightFile) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "placeholder.lights", MakePlaceholderLightFile());
    // Long enough that the placeholder "demo-tut" covers every step checked.
    PlaceholderScreen::stepsToRun = 1000;
    GameApplication& game = Start();
    ASSERT_TRUE(RunToBackdrop());
    platform.gpu.ClearCalls();
    auto countKeys = [&game] {
        int keys = 0;
        for (const NamedNode* shaders :
             {&game.root.renderer->VertexShaders(), &game.root.renderer->PixelShaders()}) {
            for (const NamedNode* entry = shaders->NextEntry(); entry != shaders;
                 entry = entry->NextEntry()) {
                const std::string name = entry->GetName().Text();
                EXPECT_TRUE(name.rfind("Normal", 0) == 0 || name.rfind("Makeshadow", 0) == 0 ||
                            name.rfind("LightWeight", 0) == 0)
                    << name;
                ++keys;
            }
        }
        return keys;
    };
    // The screens before drew their sprites with "Normal" already.
    const int keysBefore = countKeys();
    const std::vector<std::string> expected = {"AmbientLight", "DirectionalLight", "DirectionalSpecularLight",
                                               "SimpleFog", "Shadowmap"};
    int made = 0;
    for (int step = 0; step < 300; ++step) {
        ASSERT_TRUE(Run(1));
        for (const std::string& call : platform.gpu.Calls()) {
            if (call.rfind("CreateVertexShader(", 0) == 0 || call.rfind("CreatePixelShader(", 0) == 0) {
                EXPECT_EQ(call.find(" = 0"), std::string::npos) << call;
                ++made;
            }
        }
        platform.gpu.ClearCalls();
        const LightList& lights = game.root.renderer->Lights();
        std::vector<std::string> names;
        for (int32_t i = 0; i < lights.Count(); ++i)
            names.emplace_back(lights[i].name.Text());
        ASSERT_EQ(names, expected) << "step " << step;
    }
    // Every key in the dictionaries is one of the backdrop's materials, made once.
    const int keys = countKeys() - keysBefore;
    EXPECT_GE(keys, 3);  // the cube's and the bar's vertex shaders and their pixel shader
    EXPECT_EQ(made, keys);
}

// "demo" plays "demo.mpg" (250 pictures, 10 s of sound) full screen: its clock is
// the sound the device has taken, 1/60 s a step, and each step uploads the
// picture that became due, so the movie's 25 pictures a second show on the
// steps they fall in; the screen hands over when the movie ends, not after the
// placeholder's steps.
TEST_F(GameApplicationTest, TheDemoScenePlaysItsMovieAndHandsOverAtItsEnd) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "demo.mpg", MakePlaceholderMovie("demo.mpg"));
    Start();
    platform.soundOutput->SetOutputRate(kPlaceholderSoundRate);
    ASSERT_TRUE(RunUntil("demo"));
    GameSystem* system = app->GetGameSystem();
    auto* screen = dynamic_cast<MovieScreen*>(system->GetCurrentScene());
    ASSERT_NE(screen, nullptr);
    auto* player = dynamic_cast<ThreadedMoviePlayer*>(screen->Player());
    ASSERT_NE(player, nullptr) << "the movie did not open";
    EXPECT_EQ(player->GetWidth(), kPlaceholderMovieWidth);
    EXPECT_EQ(player->GetHeight(), kPlaceholderMovieHeight);

    constexpr int kFramesPerStep = kPlaceholderSoundRate / 60;
    std::vector<float> mixed(size_t(kFramesPerStep) * 2);
    const int pictures = PlaceholderMovieSeconds("demo.mpg") * kPlaceholderMovieRate;
    // No sound taken yet: the clock stands at the start.
    ASSERT_TRUE(player->WaitUntilSettled());
    ASSERT_TRUE(Run(1));
    int step = 0;
    int uploads = screen->Uploads();
    EXPECT_LE(uploads, 1);
    // The screen deletes its player when it goes: read its count while it is there.
    size_t dropped = 0;
    for (; step < 700 && system->GetCurrentScene() == screen; ++step) {
        platform.soundOutput->Mix(mixed.data(), kFramesPerStep);
        ASSERT_TRUE(player->WaitUntilSettled());
        dropped = player->DroppedPictures();
        ASSERT_TRUE(Run(1));
        if (system->GetCurrentScene() != screen) {
            break;  // the screen and its player are gone
        }
        // Picture i is due at i / 25 s, here after step (i * 60 / 25); the
        // container starts the pictures a little after the sound, so one may
        // come a step later, never earlier. One upload a step at most: none dropped.
        const int due = std::min(pictures, ((step + 1) * kPlaceholderMovieRate) / 60 + 1);
        const int now = screen->Uploads();
        EXPECT_LE(now - uploads, 1) << "step " << step;
        EXPECT_LE(now, due) << "step " << step;
        EXPECT_GE(now, due - 1) << "step " << step;
        uploads = now;
    }
    EXPECT_EQ(uploads, pictures);
    EXPECT_EQ(dropped, 0u);
    // The end: the last picture's time and the sound both over, at 10 s.
    EXPECT_NEAR(step, PlaceholderMovieSeconds("demo.mpg") * 60, 3);
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("title1")) << system->GetCurrentSceneName().Text();
}

// The two endings play their own movies and hand over to their successors when
// the movie ends.
TEST_F(GameApplicationTest, TheEndingScenesPlayTheirMoviesToTheEnd) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    for (const char* movie : {"ending01.mpg", "ending02.mpg"}) {
        WriteBytes(root / movie, MakePlaceholderMovie(movie));
    }
    Start();
    platform.soundOutput->SetOutputRate(kPlaceholderSoundRate);
    ASSERT_TRUE(RunUntil("logo1"));
    GameSystem* system = app->GetGameSystem();
    struct Case {
        const char* scene;
        const char* movie;
        const char* successor;
    };
    constexpr int kFramesPerStep = kPlaceholderSoundRate / 60;
    std::vector<float> mixed(size_t(kFramesPerStep) * 2);
    for (const Case& c :
         {Case{"ending?", "ending01.mpg", "gameover"}, Case{"ending", "ending02.mpg", "allclear"}}) {
        system->GetCurrentScene()->RequestSuccessor(c.scene);
        ASSERT_TRUE(RunUntil(c.scene, 5));
        auto* screen = dynamic_cast<MovieScreen*>(system->GetCurrentScene());
        ASSERT_NE(screen, nullptr) << c.scene;
        auto* player = dynamic_cast<ThreadedMoviePlayer*>(screen->Player());
        ASSERT_NE(player, nullptr) << c.movie;
        int step = 0;
        for (; step < 400 && system->GetCurrentScene() == screen; ++step) {
            platform.soundOutput->Mix(mixed.data(), kFramesPerStep);
            // A player still in play with a ranked score keeps "allclear" on the name
            // entry, where with nobody it would go on to "gameover" at once. Set each
            // step: the game-over screen before resets the records when it goes.
            system->GetPlayer(1).shipStock = 3;
            system->GetPlayer(1).score = 50'000'000'000'000ull;
            ASSERT_TRUE(player->WaitUntilSettled());
            ASSERT_TRUE(Run(1));
        }
        EXPECT_NEAR(step, PlaceholderMovieSeconds(c.movie) * 60, 3) << c.movie;
        EXPECT_TRUE(system->GetCurrentSceneName().Equals(c.successor))
            << c.scene << " went to " << system->GetCurrentSceneName().Text();
    }
}

// A player in the game may skip the ending with start; a start of anybody else does nothing.
TEST_F(GameApplicationTest, AStartOfAPlayerInTheGameSkipsTheEnding) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "ending01.mpg", MakePlaceholderMovie("ending01.mpg"));
    Start();
    ASSERT_TRUE(RunUntil("logo1"));
    GameSystem* system = app->GetGameSystem();
    system->GetCurrentScene()->RequestSuccessor("ending?");
    ASSERT_TRUE(RunUntil("ending?", 5));
    auto* screen = dynamic_cast<MovieScreen*>(system->GetCurrentScene());
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->Player(), nullptr);
    ASSERT_TRUE(Run(5));
    controls.SetStart(true);
    ASSERT_TRUE(Run(3));
    controls.SetStart(false);
    ASSERT_TRUE(Run(3));
    EXPECT_EQ(system->GetCurrentScene(), screen) << "player 1 is not in the game";
    system->GetPlayer(1).shipStock = 1;
    controls.SetStart(true);
    ASSERT_TRUE(Run(3));
    controls.SetStart(false);
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("gameover")) << system->GetCurrentSceneName().Text();
}

// A coin breaks into the playing movie: the screen and its player go mid-movie.
TEST_F(GameApplicationTest, ACoinBreaksIntoTheDemoMovie) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "demo.mpg", MakePlaceholderMovie("demo.mpg"));
    Start();
    ASSERT_TRUE(RunUntil("demo"));
    auto* screen = dynamic_cast<MovieScreen*>(app->GetGameSystem()->GetCurrentScene());
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->Player(), nullptr);
    ASSERT_TRUE(Run(10));
    controls.InsertCoin();
    EXPECT_TRUE(RunUntil("titlestart", 60));
}

// Without its movie file "demo" counts its movie as ended and hands over at once.
TEST_F(GameApplicationTest, TheDemoSceneWithoutItsMovieHandsOverAtOnce) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    Start();
    ASSERT_TRUE(RunUntil("demo"));
    GameSystem* system = app->GetGameSystem();
    auto* screen = dynamic_cast<MovieScreen*>(system->GetCurrentScene());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Player(), nullptr);
    int step = 0;
    while (step < 100 && system->GetCurrentScene() == screen) {
        ASSERT_TRUE(Run(1));
        step += int(app->StepsInLastPass());
    }
    EXPECT_LE(step, 2);  // the first step requests it
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("title1"));
}

// On the recording device, every frame clears and draws the shadow map (white) before
// the backdrop's view (its clear colour), and the swarm's 16 quads (64 vertices, 32
// triangles) are drawn instanced in the backdrop's view, all 16 in one draw with the
// device's 256 vertex constants, and never in the shadow map's.
TEST_F(GameApplicationTest, TheShadowMapIsDrawnBeforeTheBackdropAndTheSwarmInstanced) {
    WriteBytes(root / "MARELDON.mbd", MakeGameArchive());
    WriteBytes(root / "QVDSHDV.dat", {});
    WriteBytes(root / "QVDSHDP.dat", {});
    WriteBytes(root / "placeholder.lights", MakePlaceholderLightFile());
    // Long enough that the placeholder "demo-tut" covers every step checked.
    PlaceholderScreen::stepsToRun = 1000;
    GameApplication& game = Start();
    ASSERT_TRUE(RunToBackdrop());
    ASSERT_EQ(game.root.renderer->GetDevice()->MaxVertexShaderConstants(), 256u);
    // A frame begins with the shadow map's clear.
    struct Frame {
        bool backdropCleared = false;
        int swarmInShadow = 0, swarmDraws = 0, swarmTriangles = 0;
    };
    std::vector<Frame> frames;
    platform.gpu.ClearCalls();
    ASSERT_TRUE(Run(30));
    const std::string swarm = "DrawIndexedPrimitive(TRIANGLELIST, 0, 64, 0, ";
    for (const std::string& call : platform.gpu.Calls()) {
        if (call.rfind("Clear(", 0) == 0 && call.find("0xFFFFFFFF") != std::string::npos) {
            frames.emplace_back();
        } else if (frames.empty()) {
            continue;
        } else if (call.rfind("Clear(", 0) == 0 && call.find("0xFF203050") != std::string::npos) {
            frames.back().backdropCleared = true;
        } else if (call.rfind(swarm, 0) == 0) {
            Frame& f = frames.back();
            f.swarmInShadow += f.backdropCleared ? 0 : 1;
            ++f.swarmDraws;
            f.swarmTriangles += std::stoi(call.substr(swarm.size()));
        }
    }
    ASSERT_GE(frames.size(), 30u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(frames[i].backdropCleared) << "frame " << i;
        EXPECT_EQ(frames[i].swarmInShadow, 0) << "frame " << i;
        EXPECT_EQ(frames[i].swarmTriangles, 32) << "frame " << i;
        EXPECT_EQ(frames[i].swarmDraws, 1) << "frame " << i;
    }
}

// A stop request ends the start-up where it finds it: the services not yet made
// are never made (the graphics device, the board's wait, the archive, the game),
// and the main loop ends at once.
TEST_F(GameApplicationTest, AStopDuringStartUpSkipsTheRestOfIt) {
    WriteSampleData();
    const struct {
        size_t stopOnceMade;  // services made before the stop comes in
        std::vector<std::string> made;
    } kCases[] = {
        {2, {"files", "windows"}},
        {3, {"files", "windows", "sound"}},
        {4, {"files", "windows", "sound", "device"}},
    };
    for (const auto& c : kCases) {
        platform.made.clear();
        GamePlatform made = platform.Make();
        made.stopRequested = [this, &c] { return platform.made.size() >= c.stopOnceMade; };
        const char* argv[] = {"mareldon"};
        app = std::make_unique<GameApplication>(1, argv, made);
        EXPECT_EQ(platform.made, c.made) << c.stopOnceMade;
        EXPECT_EQ(app->root.inputManager, nullptr) << c.stopOnceMade;
        EXPECT_FALSE(app->root.renderer) << c.stopOnceMade;
        EXPECT_EQ(app->GetGameSystem(), nullptr) << c.stopOnceMade;
        EXPECT_FALSE(app->RunPass());
        app.reset();
    }
}

// A capture named by step draws that step's picture before the pass runs the
// steps it still owes the clock.
TEST_F(GameApplicationTest, ACaptureByStepDrawsRightAfterThatStep) {
    GamePlatform made = platform.Make();
    ASSERT_TRUE(ParseCaptureRequest("step:3:unused.png", made.capture));
    const char* argv[] = {"mareldon"};
    app = std::make_unique<GameApplication>(1, argv, made);
    app->StartClock();
    while (TakeArmedCapture()) {
    }
    clock.Advance(99);  // five steps are due
    ASSERT_TRUE(app->RunPass());
    EXPECT_EQ(app->StepsInLastPass(), 3u);
    EXPECT_TRUE(TakeArmedCapture());
    ASSERT_TRUE(app->RunPass());
    EXPECT_EQ(app->StepsInLastPass(), 2u) << "the steps owed are run after the picture";
    EXPECT_FALSE(TakeArmedCapture());
}

TEST_F(GameApplicationTest, ClosingTheWindowEndsTheProgram) {
    GameApplication& game = Start();
    ASSERT_TRUE(Run(30));
    platform.windows->PostClose(game.root.mainWindow->native->handle);
    game.Run();  // returns once the loop has ended
    EXPECT_EQ(game.root.childCount, 0);
    EXPECT_EQ(game.GetGameSystem(), nullptr);
    EXPECT_FALSE(game.RunPass());
    app.reset();  // the services go after their window without complaint
}

}  // namespace
}  // namespace mareldon
