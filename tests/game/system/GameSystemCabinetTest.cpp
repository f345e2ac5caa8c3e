// The game system on the real input path: a simulated JVS board on "COM2", the
// input manager, the system inputs the game system builds itself, and events
// through the I/O library.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/platform/WindowSystem.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"
#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/screens/RegisterScreens.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/testmode/RegisterTestMode.h"
#include "tests/game/system/JvsTestBoard.h"

namespace mareldon {
namespace {

class GameSystemCabinetTest : public testing::Test {
  protected:
    GameSystemCabinetTest() {
        PlaceholderScreen::stepsToRun = 3;
        RegisterScreens(scenes);
        RegisterTestMode(scenes);
        ports.scenes = &scenes;
    }
    // One main-loop step after the previous bus cycle finished; false once the
    // game system is gone.
    bool Step() {
        JvsBus::WaitIdle(60000);
        manager.Update();
        root.Update();
        root.CollectDead();
        root.Draw();
        return root.childCount > 0;
    }
    bool RunUntil(GameSystem& system, const char* scene) {
        for (int i = 0; i < 200; ++i) {
            if (system.GetCurrentSceneName().Equals(scene)) {
                return true;
            }
            Step();
        }
        return false;
    }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
    ScopedJvsBoard sim;
    InputManager manager{nullptr, 4, 1, 1, nullptr, sim.Opener()};
    TaskObject root{nullptr, 0};
    SceneRegistry scenes;
    GameSystemPorts ports;
};

TEST_F(GameSystemCabinetTest, BoardCoinsAndTestSwitchReachTheGameSystem) {
    root.inputManager = &manager;
    GameSystem* system = new GameSystem(&root, ports);
    ASSERT_TRUE(RunUntil(*system, "notice"));
    // The notice scene tells the board the attract loop began.
    const auto frames = sim.TakeFrames();
    EXPECT_NE(std::find(frames.begin(), frames.end(), "E0 00 04 05 03 E8 F4"), frames.end());

    ASSERT_TRUE(RunUntil(*system, "logo1"));
    sim.board->AddCoins(0, 0, 2);
    for (int i = 0; i < 8; ++i) {
        Step();
    }
    EXPECT_EQ(system->GetCredits(), 2);
    EXPECT_EQ(system->GetCurrentSceneName(), "titlestart");

    sim.board->SetTest(0, true);
    ASSERT_TRUE(RunUntil(*system, "testmode"));
}

TEST_F(GameSystemCabinetTest, CoinJamShowsTheErrorAndStopsTheInputs) {
    root.inputManager = &manager;
    GameSystem* system = new GameSystem(&root, ports);
    ASSERT_TRUE(RunUntil(*system, "logo1"));
    sim.board->SetCoinCondition(0, 0, 0x4000);
    ASSERT_TRUE(RunUntil(*system, "coinerror"));
    Step();
    EXPECT_FALSE(manager.enabled);
    EXPECT_FALSE(manager.jvsActive);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(Step());
    }
    EXPECT_EQ(system->GetCurrentSceneName(), "coinerror");
}

TEST_F(GameSystemCabinetTest, ClosedMainWindowEndsTheProgram) {
    RecordingGpu gpu;
    RecordingDeviceWindow window;
    root.graphicsDevice.Reset(new GraphicsDeviceDX(&gpu, &window, 1, 8, 480, 640, 3));
    GameSystem* system = new GameSystem(&root, ports);
    ASSERT_TRUE(RunUntil(*system, "logo1"));
    window.open = false;
    EXPECT_FALSE(Step());
}

TEST_F(GameSystemCabinetTest, StartHidesTheCursorAndTakesTheClockAndCursorPosition) {
    HeadlessWindowBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> windows(CreateHeadlessWindowSystem(backend));
    WindowLayout layout;
    layout.rightOffset = 480;
    layout.bottomOffset = 640;
    Window* top = new Window(windows.get(), "TOPWINDOW", "main", 0, layout);
    ASSERT_NE(top->native, nullptr);
    backend->SetCursorPosition(top->native->handle, 12, 34);
    ASSERT_TRUE(backend->IsCursorShown());
    root.mainWindow = top;
    clock.Set(5000);

    auto* system = new GameSystem(&root, ports);
    EXPECT_FALSE(backend->IsCursorShown());
    EXPECT_EQ(system->GetStopwatch().start, 5000u);
    EXPECT_EQ(system->GetStartCursorPosition().x, 12.0f);
    EXPECT_EQ(system->GetStartCursorPosition().y, 34.0f);
    root.DeleteChildren();
}

}  // namespace
}  // namespace mareldon
