#include "engine/core/PlayerInput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace mareldon {
namespace {

class FakeInputManager final : public InputManagerBase {
  public:
    FakeInputManager() { std::memset(pads, 0, sizeof pads), std::memset(&keyboard, 0, sizeof keyboard); }
    ~FakeInputManager() override { DeleteChildren(); }
    void Update() override {
        for (TreeNode* child = firstChild; child != nullptr;) {
            static_cast<InputNode*>(child)->Update();
            child = child->next == firstChild ? nullptr : child->next;
        }
    }
    const PadState& GetPadState(int index) override { return pads[index]; }
    const MouseState& GetMouseState(int) override { return mouse; }
    const KeyboardState& GetKeyboardState(int) override { return keyboard; }

    PadState pads[4];
    MouseState mouse{};
    KeyboardState keyboard;
};

constexpr uint32_t kUp = 1u << 0;
constexpr uint32_t kDown = 1u << 1;
constexpr uint32_t kLeft = 1u << 2;
constexpr uint32_t kRight = 1u << 3;
constexpr uint32_t kConnected = 1u << 30;
constexpr uint32_t kNone = 1u << 31;

class PlayerInputTest : public ::testing::Test {
  protected:
    PlayerInput* Make(uint32_t flags, const std::vector<uint8_t>& replay = {}) {
        return new PlayerInput(&manager, flags, replay.empty() ? nullptr : replay.data(), replay.size());
    }
    PadState& Pad(int index) {
        manager.pads[index].connected = 1;
        return manager.pads[index];
    }
    FakeInputManager manager;
};

TEST_F(PlayerInputTest, MergesDevicesIntoButtonsAndAnalog) {
    PlayerInput& input = *Make(PlayerInput::kPad0 | PlayerInput::kPad1 | PlayerInput::kKeyboard);
    EXPECT_EQ(input.GetButtons().held, kNone);
    EXPECT_EQ(input.GetConnectedDevices(), 0u);

    struct Case {
        float x, y;
        uint32_t bits;
        float ax, ay;
    } cases[] = {
        {0.6f, -0.6f, 0, 0.6f, -0.6f},  // exactly the threshold sets nothing
        {0.6001f, -0.6001f, kRight | kUp, 0.6001f, -0.6001f},
        {0.04f, -0.05f, 0, 0.0f, -0.05f},  // inside the dead zone only strictly
        {-1.0f, 1.0f, kLeft | kDown, -0.70710677f, 0.70710677f},
    };
    for (const Case& c : cases) {
        Pad(0).axes[0] = c.x;
        Pad(0).axes[1] = c.y;
        input.Update();
        EXPECT_EQ(input.GetButtons().held, c.bits | kConnected) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(input.GetAnalog()[0], c.ax);
        EXPECT_FLOAT_EQ(input.GetAnalog()[1], c.ay);
        EXPECT_EQ(input.GetConnectedDevices(), 1u);
    }
    // Up on a second triple and down on the first cancel; so do pad up and keyboard down.
    Pad(0).axes[1] = 0.9f;
    Pad(0).axes[4] = -0.9f;
    Pad(0).axes[0] = 0.0f;
    Pad(1).buttons[23] = 1.0f;
    input.Update();
    EXPECT_EQ(input.GetButtons().held, kConnected | (1u << 29));
    manager.pads[0] = {};
    Pad(1).axes[1] = -1.0f;
    manager.keyboard.connected = 1;
    manager.keyboard.keys[0x28] = 1;  // down arrow
    input.Update();
    EXPECT_EQ(input.GetButtons().held & (kUp | kDown), 0u);
    EXPECT_EQ(input.GetConnectedDevices(), (1u << 1) | (1u << 4));

    manager.pads[1] = {};
    manager.keyboard.keys[0x28] = 0;
    manager.keyboard.keys[0x27] = 1;  // right arrow
    input.Update();
    EXPECT_FLOAT_EQ(input.GetAnalog()[0], 1.0f);
    EXPECT_FLOAT_EQ(input.GetAnalog()[1], 0.0f);
    manager.keyboard.keys[0x28] = 1;
    input.Update();
    EXPECT_NEAR(input.GetAnalog()[0], 0.7071f, 1e-4f);
    EXPECT_NEAR(input.GetAnalog()[1], 0.7071f, 1e-4f);
    EXPECT_EQ(input.GetAnalog()[2], 0.0f);
    EXPECT_EQ(input.GetKey(kLeft | kDown), 0x28);
    EXPECT_EQ(input.GetKey(0), 0);
    input.SetKey(1u << 14, 'P');
    EXPECT_EQ(input.GetSecondInterface().keys[14], 'P');
}

TEST_F(PlayerInputTest, MasksAndAutoRepeat) {
    const uint32_t push = 1u << 6;
    Pad(0).buttons[0] = 1.0f;
    PlayerInput& input = *Make(PlayerInput::kPad0);
    // Right after the reset: nothing pressed, what is down repeats, the rest released.
    EXPECT_EQ(input.GetButtons().pressed, 0u);
    EXPECT_EQ(input.GetButtons().repeat, push | kConnected);
    EXPECT_EQ(input.GetButtons().released, ~(push | kConnected));

    manager.pads[0].buttons[0] = 0.0f;
    input.Update();
    EXPECT_TRUE(input.TestButtons({0, 0, 0, push}));
    std::vector<int> repeats;
    manager.pads[0].buttons[0] = 1.0f;
    for (int step = 0; step < 40; ++step) {
        input.Update();
        if (input.GetButtons().repeat & push) {
            repeats.push_back(step);
        }
        if (step == 0) {
            EXPECT_TRUE(input.TestButtons({push, push, push, 0}));
        }
    }
    EXPECT_EQ(repeats, (std::vector<int>{0, 21, 27, 33, 39}));
    input.SetRepeat(push, 2, 1);
    manager.pads[0].buttons[0] = 0.0f;
    input.Update();
    repeats.clear();
    manager.pads[0].buttons[0] = 1.0f;
    for (int step = 0; step < 8; ++step) {
        input.Update();
        if (input.GetButtons().repeat & push) {
            repeats.push_back(step);
        }
    }
    EXPECT_EQ(repeats, (std::vector<int>{0, 3, 5, 7}));
}

TEST_F(PlayerInputTest, RecordsAndReplaysByteForByte) {
    PlayerInput& recorder = *Make(PlayerInput::kPad0 | PlayerInput::kRecord);
    std::vector<ButtonSet> seen{recorder.GetButtons()};
    const int steps = 300;
    for (int step = 0; step < steps; ++step) {
        manager.pads[0].connected = step % 7 != 0;
        manager.pads[0].axes[0] = static_cast<float>((step * 37) % 200 - 100) / 80.0f;
        manager.pads[0].axes[1] = static_cast<float>((step * 11) % 90 - 45) / 40.0f;
        manager.pads[0].buttons[step % 24] = (step / 5) % 2 ? 1.0f : 0.0f;
        recorder.Update();
        seen.push_back(recorder.GetButtons());
    }
    const uint8_t* trace = recorder.FinishTrace();
    ASSERT_NE(trace, nullptr);
    const int bytes = recorder.GetRecordBytes();
    EXPECT_EQ(bytes, (steps + 2) * 16);
    const uint8_t header[] = {'V', 'J', 'T', 'R', 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(trace, header, 8), 0);
    EXPECT_EQ(trace[8] | trace[9] << 8, bytes);
    EXPECT_EQ(trace[12] | trace[13] << 8, steps + 1);

    std::vector<uint8_t> recording(trace, trace + bytes);
    PlayerInput& player = *Make(PlayerInput::kPad0 | PlayerInput::kReplay, recording);
    std::vector<ButtonSet> replayed{player.GetButtons()};
    for (int step = 0; step < steps; ++step) {
        player.Update();
        replayed.push_back(player.GetButtons());
    }
    for (size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(std::memcmp(&seen[i], &replayed[i], sizeof(ButtonSet)), 0) << "step " << i;
    }
    // Past the end: an all-zero word.
    player.Update();
    EXPECT_EQ(player.GetButtons().held, 0u);
}

// A headless run has no input manager: inputs asking for devices read none (no crash)
// and record "no device answered".
TEST(PlayerInputHeadlessTest, DevicesWithoutAnInputManagerReadNothing) {
    PlayerInput input(nullptr, PlayerInput::kPad0 | PlayerInput::kKeyboard | PlayerInput::kRecord);
    input.Update();
    EXPECT_EQ(input.GetButtons().held, 1u << 31);
    EXPECT_EQ(input.GetButtons().pressed & ~(1u << 31), 0u);
}

TEST_F(PlayerInputTest, RecordTableGrowsByDoubling) {
    PlayerInput& recorder = *Make(PlayerInput::kRecord);
    EXPECT_EQ(recorder.tableCapacity, 3600);
    for (int i = 0; i < 3598; ++i) {
        recorder.Update();
    }
    EXPECT_EQ(recorder.tableIndex, 3600);
    EXPECT_EQ(recorder.tableCapacity, 3600);
    recorder.Update();
    EXPECT_EQ(recorder.tableCapacity, 7200);
    EXPECT_EQ(recorder.GetRecordBytes(), 3601 * 16);
    EXPECT_EQ(Make(0)->FinishTrace(), nullptr);
}

std::vector<uint8_t> Trace(std::vector<uint32_t> words, int32_t count) {
    std::vector<uint8_t> bytes(16 * (words.size() + 1), 0);
    const uint32_t header[] = {PlayerInput::kTraceTag, 0, static_cast<uint32_t>(bytes.size()),
                               static_cast<uint32_t>(count)};
    for (int i = 0; i < 4; ++i) {
        for (int b = 0; b < 4; ++b) {
            bytes[4 * i + b] = static_cast<uint8_t>(header[i] >> (8 * b));
        }
    }
    for (size_t r = 0; r < words.size(); ++r) {
        for (int b = 0; b < 4; ++b) {
            bytes[16 * (r + 1) + b] = static_cast<uint8_t>(words[r] >> (8 * b));
        }
    }
    return bytes;
}

TEST_F(PlayerInputTest, ReplayTakesOnlyWhatTheBlockHolds) {
    Pad(0).buttons[1] = 1.0f;  // live input that a replay must not show
    // A block that installs no table replays nothing, not the live pad.
    const uint32_t none = 0;
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        std::vector<uint32_t> expected;  // held at the reset, then per step
    } cases[] = {
        {"two records", Trace({5, 9}, 2), {5, 9, 0, 0}},
        {"count larger than the block", Trace({5, 9, 12}, 1000000), {5, 9, 12, 0}},
        {"truncated mid-record",
         [] {
             auto b = Trace({5, 9, 12}, 3);
             b.resize(b.size() - 3);
             return b;
         }(),
         {5, 9, 0}},
        {"negative count", Trace({5}, -1), {none, none}},
        {"wrong tag",
         [] {
             auto b = Trace({5}, 1);
             b[0] = 'X';
             return b;
         }(),
         {none, none}},
        {"shorter than a header", std::vector<uint8_t>(9, 0x56), {none, none}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerInput& input = *Make(PlayerInput::kPad0 | PlayerInput::kReplay, c.block);
        EXPECT_EQ(input.GetButtons().held, c.expected[0]);
        for (size_t i = 1; i < c.expected.size(); ++i) {
            input.Update();
            EXPECT_EQ(input.GetButtons().held, c.expected[i]);
        }
        // Reset rewinds a replay.
        input.Reset();
        EXPECT_EQ(input.GetButtons().held, c.expected[0]);
    }
}

}  // namespace
}  // namespace mareldon
