#include "game/system/InputManager.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/PlayerInput.h"
#include "engine/platform/InputDevices.h"
#include "tests/game/system/JvsTestBoard.h"

namespace mareldon {
namespace {

constexpr float kRoot2 = 1.4142135f;

class FakeDevices final : public InputDevices {
  public:
    int PadCount() override { return 4; }
    bool PadConnected(int slot) override { return slot == 2; }
    bool MouseConnected() override { return true; }
};

class InputManagerTest : public ::testing::Test {
  protected:
    // One game step, after the previous cycle has finished (the game runs the
    // cycle during the rest of its step).
    const PadState& Step(InputManager& manager, int pad = 0) {
        JvsBus::WaitIdle(60000);
        manager.Update();
        return manager.GetPadState(pad);
    }
    static bool Pressed(const PadState& pad, int button) { return pad.buttons[button] > 0.6f; }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
};

TEST_F(InputManagerTest, CoinsBecomePressesOnEvenStepsAndAreTakenOffOnce) {
    ScopedJvsBoard sim;
    InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
    ASSERT_TRUE(manager.jvsActive);
    EXPECT_EQ(manager.jvsCoinSlots, 2);
    JvsBus::WaitIdle(60000);
    sim.board->AddCoins(0, 0, 3);
    sim.TakeFrames();
    std::vector<uint32_t> pressSteps;
    for (int i = 0; i < 12; ++i) {
        const PadState& pad = Step(manager);
        if (Pressed(pad, 4)) {
            pressSteps.push_back(manager.stepCounter);
        }
        EXPECT_FALSE(Pressed(pad, 22));
        EXPECT_FALSE(Pressed(pad, 23));
    }
    ASSERT_EQ(pressSteps.size(), 3u);
    EXPECT_EQ(pressSteps[1] - pressSteps[0], 2u);
    EXPECT_EQ(pressSteps[2] - pressSteps[1], 2u);
    const auto frames = sim.TakeFrames();
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E0 01 0A 20 02 02 30 01 00 03 21 02 86"), 1);
    EXPECT_EQ(sim.board->Coins(0, 0), 0);
    EXPECT_EQ(manager.coinsToEmit, 0);
}

TEST_F(InputManagerTest, UnconfirmedDecrementDoesNotCountCoinsTwice) {
    ScopedJvsBoard sim;
    InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
    JvsBus::WaitIdle(60000);
    int presses = 0;
    const auto run = [&](int steps) {
        for (int i = 0; i < steps; ++i) {
            presses += Pressed(Step(manager), 4) ? 1 : 0;
        }
    };
    sim.board->AddCoins(0, 1, 2);
    run(2);  // the cycle that reads the two coins, then the step that counts them
    // The board does not carry out the decrement and a coin comes in meanwhile;
    // later a coin reply goes missing.
    sim.board->SetFaults({.failReports = 1, .failCommand = 0x30});
    sim.board->AddCoins(0, 1, 1);
    run(1);
    sim.board->SetFaults({.failReports = 1, .failCommand = 0x21});
    run(20);
    EXPECT_EQ(presses, 3);
    EXPECT_EQ(manager.coinsToEmit, 0);
    EXPECT_EQ(sim.board->Coins(0, 1), 0);
}

TEST_F(InputManagerTest, CoinJamRaisesTheCoinError) {
    ScopedJvsBoard sim;
    InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
    JvsBus::WaitIdle(60000);
    sim.board->SetCoinCondition(0, 0, 0x4000);
    sim.board->AddCoins(0, 0, 1);  // the word 40 01
    int coins = 0;
    for (int i = 0; i < 8; ++i) {
        const PadState& pad = Step(manager);
        coins += Pressed(pad, 4) ? 1 : 0;
        if (i >= 3) {
            EXPECT_EQ(Pressed(pad, 22), manager.stepCounter % 2 == 0) << manager.stepCounter;
        }
    }
    EXPECT_EQ(coins, 1);
}

TEST_F(InputManagerTest, PlayersFollowTheLeverAndButtons) {
    FakeDevices devices;
    ScopedJvsBoard sim;
    InputManager manager(nullptr, 4, 1, 1, &devices, sim.Opener());
    struct Case {
        uint16_t switches;
        float x, y;
        std::vector<int> buttons;
    } cases[] = {
        {kJvsUp | kJvsLeft, -kRoot2, -kRoot2, {}},
        {kJvsDown | kJvsRight, kRoot2, kRoot2, {}},
        {kJvsUp | kJvsDown, 0.0f, 0.0f, {}},
        {kJvsLeft | kJvsRight, 0.0f, 0.0f, {}},
        {kJvsLeft | kJvsRight | kJvsUp, 0.0f, 0.0f, {}},
        {kJvsRight, 1.0f, 0.0f, {}},
        {kJvsPush1 | kJvsPush2 | kJvsPush3, 0.0f, 0.0f, {0, 1, 2}},
        {kJvsStart | kJvsService, 0.0f, 0.0f, {3, 5}},
    };
    for (const Case& c : cases) {
        sim.board->SetSwitches(0, 1, c.switches);
        sim.board->SetSwitches(0, 0, 0);
        Step(manager);
        Step(manager);
        const PadState& pad = Step(manager, 1);
        EXPECT_EQ(pad.connected, 1);
        EXPECT_EQ(pad.axes[0], c.x) << c.switches;
        EXPECT_EQ(pad.axes[1], c.y) << c.switches;
        for (int button = 0; button < 24; ++button) {
            const bool want = std::find(c.buttons.begin(), c.buttons.end(), button) != c.buttons.end();
            EXPECT_EQ(Pressed(pad, button), want) << c.switches << " button " << button;
        }
        EXPECT_EQ(manager.GetPadState(0).axes[0], 0.0f);
    }
    sim.board->SetTest(0, true);
    Step(manager);
    Step(manager);
    EXPECT_TRUE(Pressed(manager.GetPadState(0), 8));
    EXPECT_TRUE(Pressed(manager.GetPadState(1), 8));
    // Pads beyond the board's players only carry the connected mark.
    EXPECT_EQ(manager.GetPadState(2).connected, 1);
    EXPECT_FALSE(Pressed(manager.GetPadState(2), 8));
    EXPECT_EQ(manager.GetPadState(3).connected, 0);
    EXPECT_EQ(manager.GetMouseState(0).connected, 1);
    EXPECT_EQ(manager.GetKeyboardState(0).connected, 0);
}

TEST_F(InputManagerTest, IoErrorForEveryUnusableLink) {
    JvsNodeConfig oneSwitch;
    oneSwitch.switches = 1;
    JvsNodeConfig coinsOnly;
    coinsOnly.features = {0x02, 0x02, 0x00, 0x00, 0x00};
    struct Case {
        const char* name;
        std::vector<JvsNodeConfig> nodes;
        bool everyStep;
    } cases[] = {
        {"no board", {}, true},
        {"one switch per player", {oneSwitch}, true},
        {"no switch inputs", {coinsOnly}, true},
        {"two nodes", {JvsNodeConfig{}, JvsNodeConfig{}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedJvsBoard sim(c.nodes);
        InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
        EXPECT_EQ(manager.jvsActive, !c.everyStep);
        sim.board->SetSwitches(0, 0, kJvsPush1);
        for (int i = 0; i < 6; ++i) {
            const PadState& pad = Step(manager);
            EXPECT_EQ(Pressed(pad, 23), c.everyStep || manager.stepCounter % 2 == 0) << manager.stepCounter;
            if (!c.everyStep && i >= 2) {
                EXPECT_TRUE(Pressed(pad, 0));  // node 1 keeps working
            }
        }
    }
    {
        // A port that cannot be opened.
        InputManager manager(nullptr, 4, 1, 1, nullptr,
                             [](const char*) { return std::unique_ptr<SerialLink>(); });
        EXPECT_FALSE(manager.jvsActive);
        EXPECT_TRUE(Pressed(Step(manager), 23));
        EXPECT_TRUE(Pressed(Step(manager), 23));
    }
    {
        // A board that goes quiet later, and a link the error screen closed.
        ScopedJvsBoard sim;
        InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
        ASSERT_TRUE(manager.jvsActive);
        sim.board->SetFaults({.silent = true});
        Step(manager);
        for (int i = 0; i < 3; ++i) {
            const PadState& pad = Step(manager);
            EXPECT_TRUE(Pressed(pad, 23));
            EXPECT_EQ(pad.connected, 1);
        }
        manager.CloseJvs();
        EXPECT_EQ(JvsBus::GetState(), kJvsClosed);
        EXPECT_TRUE(Pressed(Step(manager), 23));
        EXPECT_TRUE(Pressed(Step(manager), 23));
    }
}

TEST_F(InputManagerTest, HeldButtonRepeatsThroughPlayerInput) {
    ScopedJvsBoard sim;
    InputManager manager(nullptr, 4, 1, 1, nullptr, sim.Opener());
    PlayerInput* input = new PlayerInput(&manager, PlayerInput::kPad0);
    Step(manager);
    sim.board->SetSwitches(0, 0, kJvsPush1);
    std::vector<int> repeats;
    int pressedAt = -1;
    for (int step = 0; step < 50; ++step) {
        Step(manager);
        const ButtonSet& buttons = input->GetButtons();
        if (buttons.pressed & (1u << 6)) {
            pressedAt = step;
        }
        if (pressedAt >= 0 && (buttons.repeat & (1u << 6))) {
            repeats.push_back(step - pressedAt);
        }
    }
    ASSERT_GE(repeats.size(), 4u);
    EXPECT_EQ(std::vector<int>(repeats.begin(), repeats.begin() + 4), (std::vector<int>{0, 21, 27, 33}));
}

}  // namespace
}  // namespace mareldon
