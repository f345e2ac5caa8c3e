#include "game/system/JvsBus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "tests/game/system/JvsTestBoard.h"

namespace mareldon {
namespace {

using Frames = std::vector<std::string>;

class JvsBusTest : public ::testing::Test {
  protected:
    // Starts the bus against the board and waits for start-up to end.
    int StartBus(const SerialLinkOpener& open, JvsReplyCallback callback = nullptr) {
        EXPECT_EQ(JvsBus::Start("COM2", open, callback), 1);
        return JvsBus::WaitIdle(60000);
    }
    // One cycle carrying the given frame for node 1.
    int Cycle(std::vector<uint8_t> request = {0x21, 0x02}) {
        JvsBus::QueuePacket(1, nullptr, 0);
        JvsBus::QueuePacket(1, request.data(), static_cast<int>(request.size()));
        EXPECT_EQ(JvsBus::Wake(), 1);
        return JvsBus::WaitIdle(60000);
    }
    size_t Count(const Frames& frames, const std::string& frame) {
        return static_cast<size_t>(std::count(frames.begin(), frames.end(), frame));
    }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
};

TEST_F(JvsBusTest, StartUpResetsAddressesAndIdentifies) {
    ScopedJvsBoard sim;
    ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
    EXPECT_EQ(sim.TakeFrames(),
              (Frames{"E0 FF 03 F0 D9 CB", "E0 FF 03 F1 01 F4", "E0 01 02 10 13", "E0 01 02 11 14",
                      "E0 01 02 12 15", "E0 01 02 13 16", "E0 01 02 14 17"}));
    // Idle between cycles: RTS released.
    ASSERT_NE(sim.link, nullptr);
    EXPECT_FALSE(sim.link->Rts());
    // One reset pause on the virtual clock, not a real second.
    EXPECT_GE(clock.Milliseconds(), 1000u);
    EXPECT_EQ(JvsBus::GetNodeCount(), 1);
    const JvsNodeInfo& info = *JvsBus::GetNodeInfo(1);
    EXPECT_STREQ(info.identity, JvsNodeConfig{}.identity.c_str());
    EXPECT_EQ(info.commandRevision, 0x13);
    EXPECT_EQ(info.jvsRevision, 0x30);
    EXPECT_EQ(info.commVersion, 0x10);
    EXPECT_EQ(info.features[1].param1, 2);
    EXPECT_EQ(info.features[1].param2, 13);
    EXPECT_EQ(info.features[2].param1, 2);
    EXPECT_EQ(JvsBus::GetNodeInfo(32), nullptr);
}

TEST_F(JvsBusTest, StartUpOutcomesForOddBuses) {
    JvsNodeConfig repeated;
    // Code 2 twice (the later entry holds), an unknown code 40, and a one-byte end mark.
    repeated.features = {0x02, 0x01, 0x00, 0x00, 0x28, 0x09, 0x09, 0x09, 0x02, 0x03, 0x00, 0x00, 0x00};
    {
        ScopedJvsBoard sim({repeated});
        ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
        EXPECT_EQ(JvsBus::GetNodeInfo(1)->features[2].param1, 3);
    }
    {
        ScopedJvsBoard sim({JvsNodeConfig{}, JvsNodeConfig{}});
        ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
        EXPECT_EQ(JvsBus::GetNodeCount(), 2);
    }
    {
        // No board: the sense line never drops, ten resets, then the error.
        ScopedJvsBoard sim(std::vector<JvsNodeConfig>{});
        EXPECT_EQ(StartBus(sim.Opener()), kJvsError);
        EXPECT_EQ(Count(sim.TakeFrames(), "E0 FF 03 F0 D9 CB"), 10u);
    }
    {
        ScopedJvsBoard sim(std::vector<JvsNodeConfig>(31));
        EXPECT_EQ(StartBus(sim.Opener()), kJvsAddressesExhausted);
    }
    JvsBus::Stop();
    EXPECT_EQ(JvsBus::GetState(), kJvsClosed);
}

TEST_F(JvsBusTest, RecoversFromReplyFaults) {
    ScopedJvsBoard sim;
    ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
    const std::string request = "E0 01 03 21 02 27";
    const std::string resend = "E0 01 02 2F 32";
    struct Case {
        const char* name;
        JvsBoardFaults faults;
        Frames expected;
    } cases[] = {
        {"drop", {.dropReplies = 1}, {request, resend}},
        {"sum", {.corruptSums = 2}, {request, resend, resend}},
        {"status 3", {.statusReplies = 1, .status = 3}, {request, request}},
        {"split", {.splitReplies = 3}, {request}},
        {"length 0", {.lengthZeroReplies = 1}, {request, resend}},
        {"echo", {.echo = true}, {request}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.board->SetFaults(c.faults);
        sim.TakeFrames();
        EXPECT_EQ(Cycle(), kJvsReady);
        EXPECT_EQ(sim.TakeFrames(), c.expected);
    }
}

TEST_F(JvsBusTest, FailsForGoodWhenTheBoardMisbehaves) {
    struct Case {
        const char* name;
        JvsBoardFaults faults;
        bool dropAddresses;
    } cases[] = {
        {"silent", {.silent = true}, false},
        {"status 2", {.statusReplies = 1, .status = 2}, false},
        {"status 4", {.statusReplies = 1, .status = 4}, false},
        {"sense lost", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedJvsBoard sim;
        ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
        sim.board->SetFaults(c.faults);
        if (c.dropAddresses) {
            sim.board->DropAddresses();
        }
        sim.TakeFrames();
        const uint32_t before = clock.Milliseconds();
        EXPECT_EQ(Cycle(), kJvsError);
        EXPECT_EQ(JvsBus::Wake(), 0);
        if (c.faults.silent) {
            // Six silent reads of 20 ms, a retransmit request after each of the first five.
            EXPECT_EQ(clock.Milliseconds() - before, 120u);
            EXPECT_EQ(Count(sim.TakeFrames(), "E0 01 02 2F 32"), 5u);
        }
    }
}

// A line that never stops sending bytes, none of them a reply for the host.
class BabblingLink final : public SerialLink {
  public:
    int Write(const uint8_t*, int length) override { return length; }
    int Available() override { return 64; }
    int Read(uint8_t* buffer, int max, uint32_t) override {
        static const uint8_t kForNode[] = {0xE0, 0x01, 0x03, 0x01, 0x01, 0x06, 0x55, 0xAA};
        const int n = std::min(max, 64);
        for (int i = 0; i < n; ++i) {
            buffer[i] = kForNode[i % sizeof kForNode];
        }
        return n;
    }
    int ReadSense() override { return 0; }
    void SetRts(bool) override {}
};

TEST_F(JvsBusTest, BabblingLineFailsInsteadOfHanging) {
    JvsBus::SetResetDelay(1);
    EXPECT_EQ(StartBus([](const char*) { return std::make_unique<BabblingLink>(); }), kJvsError);
    JvsBus::Stop();
    JvsBus::SetResetDelay(1000);
}

TEST_F(JvsBusTest, QueuesRefuseWhatCannotBeSent) {
    JvsBus::ClearQueues();
    std::vector<uint8_t> bytes(254, 0x11);
    EXPECT_EQ(JvsBus::QueuePacket(5, bytes.data(), 0), 0);
    EXPECT_EQ(JvsBus::QueuePacket(5, bytes.data(), 254), 1);
    EXPECT_EQ(JvsBus::SendFrame(5), 0);  // 254 data bytes do not fit one frame
    JvsBus::QueuePacket(5, nullptr, 0);
    EXPECT_EQ(JvsBus::QueuePacket(5, bytes.data(), 253), 1);
    EXPECT_EQ(JvsBus::SendFrame(5), 1);
    EXPECT_EQ(JvsBus::QueuePacket(5, bytes.data(), 3), 0);  // the data would reach 256
    EXPECT_NE(JvsBus::GetSubPacket(5, 0), nullptr);
    EXPECT_EQ(JvsBus::GetSubPacket(5, 1), nullptr);
    // One-byte sub-packets stop at 255, inside the start table.
    JvsBus::QueuePacket(0xFF, nullptr, 0);
    int accepted = 0;
    while (JvsBus::QueuePacket(0xFF, bytes.data(), 1) == 1) {
        ++accepted;
    }
    EXPECT_EQ(accepted, 255);
    EXPECT_EQ(JvsBus::GetSubPacket(32, 254), JvsBus::GetSubPacket(0xFF, 254));
    EXPECT_EQ(JvsBus::SendFrame(0xFF), 0);
    JvsBus::ClearQueues();
    EXPECT_EQ(JvsBus::SendFrame(0xFF), 0);
}

TEST_F(JvsBusTest, NoWakeIsLostAndStopIsPrompt) {
    ScopedJvsBoard sim;
    ASSERT_EQ(StartBus(sim.Opener()), kJvsReady);
    sim.TakeFrames();
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(Cycle(), kJvsReady);
    }
    EXPECT_EQ(sim.TakeFrames().size(), 500u);

    // A stop in the middle of a real one-second reset pause does not wait for it.
    SetClock(nullptr);
    JvsBus::Stop();
    ASSERT_EQ(JvsBus::Start("COM2", sim.Opener(), nullptr), 1);
    const auto begin = std::chrono::steady_clock::now();
    JvsBus::Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(200));
    EXPECT_EQ(JvsBus::GetState(), kJvsClosed);
}

}  // namespace
}  // namespace mareldon
