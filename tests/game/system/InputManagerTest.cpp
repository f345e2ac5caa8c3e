#include "game/system/InputManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>

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

// A link that can hold the bus thread in the middle of a cycle, so a test can
// run a game step while the cycle is still busy, at a step of its choosing.
class GatedLink final : public SerialLink {
  public:
    explicit GatedLink(std::shared_ptr<JvsBoard> board) : inner_(std::move(board)) {}
    int Write(const uint8_t* data, int length) override { return inner_.Write(data, length); }
    int Available() override { return inner_.Available(); }
    int Read(uint8_t* buffer, int max, uint32_t timeoutMs) override {
        {
            std::unique_lock lock(mutex_);
            if (closed_) {
                held_ = true;
                changed_.notify_all();
                changed_.wait(lock, [this] { return !closed_; });
                held_ = false;
            }
        }
        return inner_.Read(buffer, max, timeoutMs);
    }
    int ReadSense() override { return inner_.ReadSense(); }
    void SetRts(bool on) override { inner_.SetRts(on); }

    // Reads after this wait until Open.
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    void Open() {
        {
            std::lock_guard lock(mutex_);
            closed_ = false;
        }
        changed_.notify_all();
    }
    // Waits until the bus thread is held at the gate.
    void WaitHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return held_; });
    }

  private:
    SimulatedSerialLink inner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool closed_ = false;
    bool held_ = false;
};

// However the bus cycles fall on the game's steps, every coin the board counts
// reaches the game as its own press, and each is taken off the board once.
TEST_F(InputManagerTest, EveryCoinIsOnePressWhateverTheBusTiming) {
    struct Case {
        int coins[2];           // per slot
        std::vector<int> busy;  // steps that find the previous cycle still running
    } cases[] = {
        {{1, 0}, {}},
        {{0, 1}, {1, 2}},
        {{2, 0}, {2}},
        {{0, 2}, {3, 5, 7}},
        {{5, 0}, {2, 4, 6, 8}},
        {{3, 2}, {1, 3, 4, 5, 9, 10}},
        {{20, 0}, {3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
        {{0, 20}, {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43}},
        {{12, 8}, {1, 2, 3, 4, 8, 16, 32, 33, 34, 35, 36}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.coins[0] << "+" << c.coins[1] << " coins");
        ScopedJvsBoard sim;
        GatedLink* gate = nullptr;
        InputManager manager(nullptr, 4, 1, 1, nullptr, [&](const char*) {
            auto link = std::make_unique<GatedLink>(sim.board);
            gate = link.get();
            return link;
        });
        // A failed check must not leave the bus thread held when the link closes.
        struct OpenAtEnd {
            GatedLink*& gate;
            ~OpenAtEnd() {
                if (gate != nullptr) {
                    gate->Open();
                }
            }
        } openAtEnd{gate};
        ASSERT_TRUE(manager.jvsActive);
        PlayerInput* input = new PlayerInput(&manager, PlayerInput::kPad0);
        JvsBus::WaitIdle(60000);
        sim.board->AddCoins(0, 0, c.coins[0]);
        sim.board->AddCoins(0, 1, c.coins[1]);
        sim.TakeFrames();
        const auto busy = [&](int step) { return std::count(c.busy.begin(), c.busy.end(), step) != 0; };
        int presses = 0;
        for (int step = 0; step <= 120; ++step) {
            if (busy(step)) {
                gate->WaitHeld();
                manager.Update();
                ASSERT_NE(JvsBus::GetState(), kJvsReady) << "step " << step;
            } else {
                gate->Open();
                JvsBus::WaitIdle(60000);
                if (busy(step + 1)) {
                    gate->Close();
                }
                manager.Update();
            }
            presses += (input->GetButtons().pressed & (1u << 10)) != 0 ? 1 : 0;
        }
        gate->Open();
        JvsBus::WaitIdle(60000);
        EXPECT_EQ(presses, c.coins[0] + c.coins[1]);
        EXPECT_EQ(manager.coinsToEmit, 0);
        EXPECT_EQ(sim.board->Coins(0, 0), 0);
        EXPECT_EQ(sim.board->Coins(0, 1), 0);
        // Only the coins passed on are taken off, each once.
        int decremented[2] = {};
        for (const std::string& frame : sim.TakeFrames()) {
            for (size_t at = frame.find("30 0"); at != std::string::npos; at = frame.find("30 0", at + 1)) {
                const int slot = std::stoi(frame.substr(at + 3, 2), nullptr, 16) - 1;
                ASSERT_TRUE(slot == 0 || slot == 1) << frame;
                decremented[slot] +=
                    std::stoi(frame.substr(at + 6, 2) + frame.substr(at + 9, 2), nullptr, 16);
            }
        }
        EXPECT_EQ(decremented[0], c.coins[0]);
        EXPECT_EQ(decremented[1], c.coins[1]);
    }
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
