#include "game/system/JvsLib.h"

#include <gtest/gtest.h>

#include "tests/game/system/JvsTestBoard.h"

namespace mareldon {
namespace {

using Frames = std::vector<std::string>;

class JvsLibTest : public ::testing::Test {
  protected:
    void Open() {
        JvsLib::Open("COM2", sim.Opener());
        ASSERT_EQ(JvsBus::WaitIdle(60000), kJvsReady);
        ASSERT_EQ(JvsLib::Poll(), kJvsReady);
        sim.TakeFrames();
    }
    // One input cycle, as the input manager runs it each step.
    Frames Step() {
        JvsLib::RequestInputs();
        EXPECT_EQ(JvsBus::WaitIdle(60000), kJvsReady);
        return sim.TakeFrames();
    }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
    ScopedJvsBoard sim;
};

TEST_F(JvsLibTest, CycleRequestsSwitchesDecrementsAndCoins) {
    Open();
    EXPECT_EQ(Step(), (Frames{"E0 01 06 20 02 02 21 02 4E"}));

    JvsNodeRecord& record = *JvsLib::GetNodeRecord(1);
    EXPECT_STREQ(record.info.identity, JvsNodeConfig{}.identity.c_str());
    sim.board->SetTest(0, true);
    sim.board->SetSwitches(0, 1, kJvsStart | kJvsPush2);
    sim.board->AddCoins(0, 0, 7);
    record.pendingDecrement[0] = 3;
    EXPECT_EQ(Step(), (Frames{"E0 01 0A 20 02 02 30 01 00 03 21 02 86"}));
    EXPECT_EQ(record.pendingDecrement[0], 0);
    EXPECT_EQ(record.systemSwitches, 0x80);
    EXPECT_EQ(record.playerSwitches[2], 0x81);
    EXPECT_EQ(record.coins[0], 4);
    EXPECT_TRUE(record.coinsFresh[0]);

    // An unconfirmed decrement stays pending and goes out again.
    record.pendingDecrement[0] = 4;
    sim.board->SetFaults({.failReports = 1, .failCommand = 0x30});
    Step();
    EXPECT_EQ(record.pendingDecrement[0], 4);
    EXPECT_EQ(Step(), (Frames{"E0 01 0A 20 02 02 30 01 00 04 21 02 87"}));
    EXPECT_EQ(record.pendingDecrement[0], 0);
    EXPECT_EQ(sim.board->Coins(0, 0), 0);
    EXPECT_EQ(JvsLib::GetNodeRecord(32), nullptr);
}

TEST_F(JvsLibTest, LateReplyIsNotTakenForTheNextOne) {
    Open();
    JvsNodeRecord& record = *JvsLib::GetNodeRecord(1);
    sim.board->SetSwitches(0, 0, kJvsPush1);
    // The reply comes only after the retransmit request, so the host sees two copies.
    sim.board->SetFaults({.lateReplies = 1});
    EXPECT_EQ(Step(), (Frames{"E0 01 06 20 02 02 21 02 4E", "E0 01 02 2F 32"}));
    EXPECT_EQ(record.playerSwitches[0], 0x02);
    sim.board->SetSwitches(0, 0, kJvsPush2);
    Step();
    EXPECT_EQ(record.playerSwitches[0], 0x01);
}

TEST_F(JvsLibTest, ParserStoresWhatFitsAndStopsAtTheReplyEnd) {
    JvsNodeRecord& record = *JvsLib::GetNodeRecord(3);
    record = {};
    const uint8_t switches[] = {0x20, 0x02, 0x02};
    const uint8_t reply[] = {0x01, 0x80, 0xA1, 0xA2, 0xB1, 0xB2};
    EXPECT_EQ(JvsLib::ParseReply(3, switches, 3, reply, 6), 6);
    EXPECT_EQ(record.systemSwitches, 0x80);
    EXPECT_EQ(record.playerSwitches[3], 0xB2);
    EXPECT_EQ(JvsLib::ParseReply(3, switches, 3, reply, 5), -1);  // one byte short

    const uint8_t coins[] = {0x21, 0x02};
    const uint8_t coinReply[] = {0x01, 0x40, 0x05, 0x00, 0x02};
    EXPECT_EQ(JvsLib::ParseReply(3, coins, 2, coinReply, 5), 5);
    EXPECT_EQ(record.coins[0], 0x4005);
    const uint8_t notDone[] = {0x02};
    record.coins[1] = 9;
    EXPECT_EQ(JvsLib::ParseReply(3, coins, 2, notDone, 1), 1);
    EXPECT_EQ(record.coins[1], 9);

    const uint8_t decrement[] = {0x30, 0x02, 0x00, 0x01};
    record.pendingDecrement[1] = 1;
    EXPECT_EQ(JvsLib::ParseReply(3, decrement, 4, notDone, 1), 1);
    EXPECT_EQ(record.pendingDecrement[1], 1);
    const uint8_t done[] = {0x01};
    EXPECT_EQ(JvsLib::ParseReply(3, decrement, 4, done, 1), 1);
    EXPECT_EQ(record.pendingDecrement[1], 0);

    // Counts from the wire larger than the record: consumed, never stored past it.
    const uint8_t huge[] = {0x20, 0x09, 0x04};
    std::vector<uint8_t> big(2 + 36, 0x5A);
    big[0] = 0x01;
    EXPECT_EQ(JvsLib::ParseReply(3, huge, 3, big.data(), static_cast<int>(big.size())), 38);
    const uint8_t manySlots[] = {0x21, 0x09};
    std::vector<uint8_t> slots(19, 0x01);
    EXPECT_EQ(JvsLib::ParseReply(3, manySlots, 2, slots.data(), 19), 19);
    EXPECT_EQ(JvsLib::ParseReply(3, decrement, 4, done, 0), -1);
    const uint8_t unknown[] = {0x70};
    EXPECT_EQ(JvsLib::ParseReply(3, unknown, 1, done, 1), -1);

    // The event device: report only, or report and one byte.
    const uint8_t eventReply[] = {0x01, 0x00};
    for (uint8_t command : {0, 3, 4, 5, 7}) {
        EXPECT_EQ(JvsLib::ParseReply(0, &command, 1, eventReply, 2), 1);
    }
    for (uint8_t command : {1, 2, 6, 8}) {
        EXPECT_EQ(JvsLib::ParseReply(0, &command, 1, eventReply, 2), 2);
    }
}

TEST_F(JvsLibTest, SwitchRequestsAreBoundedByTheRecord) {
    JvsNodeInfo info{};
    int players = 0;
    int bytes = 0;
    struct Case {
        uint8_t players, switches;
        int wantPlayers, wantBytes;
    } cases[] = {{2, 13, 2, 2}, {4, 32, 4, 4}, {8, 24, 5, 3}, {1, 200, 1, 16}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        info.features[1] = {1, c.players, c.switches, 0};
        JvsLib::SwitchRequestSize(info, players, bytes);
        EXPECT_EQ(players, c.wantPlayers);
        EXPECT_EQ(bytes, c.wantBytes);
    }
    info.features[2] = {2, 7, 0, 0};
    EXPECT_EQ(JvsLib::CoinSlotCount(info), 4);
}

TEST_F(JvsLibTest, EventReportTalksToAddressZeroOnly) {
    EXPECT_EQ(JvsLib::ReportEvent(0x03000000, 0), 1);  // closed bus: returns at once
    Open();
    JvsNodeRecord& record = *JvsLib::GetNodeRecord(1);
    record.pendingDecrement[0] = 2;
    sim.board->AddCoins(0, 0, 2);
    Step();
    sim.board->AddCoins(0, 0, 5);  // coins that must survive the event's cycles
    EXPECT_EQ(JvsLib::ReportEvent(0x09000000, 1), 1);
    EXPECT_EQ(JvsLib::ReportEvent(0x03000000, 0), 1);
    EXPECT_EQ(JvsBus::WaitIdle(60000), kJvsReady);
    EXPECT_EQ(sim.TakeFrames(), (Frames{"E0 00 04 05 03 E8 F4", "E0 00 02 04 06"}));
    EXPECT_EQ(sim.board->Coins(0, 0), 5);
    // The address-0 frame stays queued as a keep-alive of every later cycle.
    EXPECT_EQ(Step(), (Frames{"E0 00 02 04 06", "E0 01 06 20 02 02 21 02 4E"}));
}

TEST_F(JvsLibTest, WithoutNodesRequestsOnlyWake) {
    ScopedJvsBoard empty(std::vector<JvsNodeConfig>{});
    JvsLib::Open("COM2", empty.Opener());
    EXPECT_EQ(JvsBus::WaitIdle(60000), kJvsError);
    EXPECT_EQ(JvsLib::Poll(), kJvsError);
    empty.TakeFrames();
    EXPECT_EQ(JvsLib::RequestInputs(), 1);
    for (int address = 1; address < 32; ++address) {
        EXPECT_EQ(JvsBus::GetSubPacket(address, 0), nullptr) << "node " << address;
    }
    EXPECT_TRUE(empty.TakeFrames().empty());
    EXPECT_EQ(JvsLib::ReportEvent(0x03000000, 0), 1);
    JvsLib::Close();

    // A ready bus whose nodes the library has not taken yet (no poll so far):
    // the request queues nothing and the cycle it wakes sends nothing new.
    JvsLib::Open("COM2", sim.Opener());
    ASSERT_EQ(JvsBus::WaitIdle(60000), kJvsReady);
    ASSERT_EQ(JvsBus::GetNodeCount(), 1);
    const uint8_t* leftover = JvsBus::GetSubPacket(1, 0);
    ASSERT_NE(leftover, nullptr) << "identification leaves its last request";
    const uint8_t command = leftover[0];
    EXPECT_EQ(JvsLib::RequestInputs(), 1);
    EXPECT_EQ(JvsBus::WaitIdle(60000), kJvsReady);
    ASSERT_NE(JvsBus::GetSubPacket(1, 0), nullptr);
    EXPECT_EQ(JvsBus::GetSubPacket(1, 0)[0], command);
    EXPECT_EQ(JvsBus::GetSubPacket(1, 1), nullptr);
}

TEST(JvsLibVersionTest, VersionTextsAsTheLibraryCarriesThem) {
    EXPECT_STREQ(JvsLib::kIncomeVersion, "Income Libraly Version 1.0 2004/04/15");
    EXPECT_STREQ(JvsLib::kJvsVersion, "JVS Libraly Version 1.2 2004/09/01");
    EXPECT_STREQ(JvsLib::kZubVersion, "ZUB Libraly Version 1.2 2004/09/01");
}

}  // namespace
}  // namespace mareldon
