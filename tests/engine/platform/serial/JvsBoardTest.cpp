#include "engine/platform/serial/JvsBoard.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace mareldon {
namespace {

using Bytes = std::vector<uint8_t>;

class JvsBoardTest : public ::testing::Test {
  protected:
    // Sends one framed request and returns every reply byte that came out.
    Bytes Ask(uint8_t address, Bytes data) {
        uint8_t wire[kJvsMaxWire];
        const int size = EncodeJvsFrame(address, data.data(), static_cast<int>(data.size()), wire);
        board.HostWrite(wire, size);
        return Drain();
    }
    Bytes Drain() {
        Bytes out;
        uint8_t chunk[600];
        while (int n = board.TakeReply(chunk, sizeof chunk)) {
            out.insert(out.end(), chunk, chunk + n);
        }
        return out;
    }
    // The reply's data, or empty when it is not one good frame.
    Bytes Reply(const Bytes& wire) {
        JvsFrameDecoder decoder(0);
        Bytes data;
        for (uint8_t byte : wire) {
            if (decoder.Feed(byte) == JvsFrameDecoder::Event::Frame) {
                data.assign(decoder.Data(), decoder.Data() + decoder.Size());
            }
        }
        return data;
    }
    void Address() {
        Ask(0xFF, {0xF0, 0xD9});
        Ask(0xFF, {0xF1, 0x01});
    }

    JvsBoard board;
};

TEST_F(JvsBoardTest, ResetAndAddressDriveTheSenseLine) {
    EXPECT_EQ(board.Sense(), 0);
    EXPECT_TRUE(Ask(0xFF, {0xF0, 0xD9}).empty());
    EXPECT_EQ(Ask(0xFF, {0xF1, 0x01}), (Bytes{0xE0, 0x00, 0x03, 0x01, 0x01, 0x05}));
    EXPECT_EQ(board.Sense(), 1);
    // Nobody is left to take a second address.
    EXPECT_TRUE(Ask(0xFF, {0xF1, 0x02}).empty());
    board.DropAddresses();
    EXPECT_EQ(board.Sense(), 0);
    EXPECT_TRUE(Ask(0x01, {0x10}).empty());
}

TEST_F(JvsBoardTest, AnswersIdentificationAndInputs) {
    Address();
    EXPECT_EQ(Reply(Ask(1, {0x11})), (Bytes{0x01, 0x01, 0x13}));
    EXPECT_EQ(Reply(Ask(1, {0x14})),
              (Bytes{0x01, 0x01, 0x01, 0x02, 0x0D, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00}));

    board.SetTest(0, true);
    board.SetSwitches(0, 0, kJvsStart | kJvsUp | kJvsPush3);
    board.SetSwitches(0, 1, kJvsRight | kJvsPush1);
    board.AddCoins(0, 0, 5);
    board.SetCoinCondition(0, 1, 0x4000);
    // Switches, a decrement of 2 on slot 1, coins: one frame, reports in order.
    EXPECT_EQ(Reply(Ask(1, {0x20, 0x02, 0x02, 0x30, 0x01, 0x00, 0x02, 0x21, 0x02})),
              (Bytes{0x01, 0x01, 0x80, 0xA0, 0x80, 0x06, 0x00, 0x01, 0x01, 0x00, 0x03, 0x40, 0x00}));
    // A decrement beyond the count stops at zero; a slot the node lacks is refused.
    EXPECT_EQ(Reply(Ask(1, {0x30, 0x01, 0x01, 0x00, 0x30, 0x03, 0x00, 0x01})), (Bytes{0x01, 0x01, 0x02}));
    EXPECT_EQ(board.Coins(0, 0), 0);
    EXPECT_EQ(Reply(Ask(1, {0x77})), (Bytes{0x02}));
}

// A hold lasts for switch reads, not time: each read of the node is one, and
// the hold goes back to the switches set once its count is used up.
TEST_F(JvsBoardTest, HoldsSwitchesForACountOfReads) {
    Address();
    board.SetSwitches(0, 0, 0x0100);                      // set by hand: stays under every hold
    ASSERT_TRUE(board.HoldSwitches(0, 0, 0x0041, 3, 2));  // START and PUSH 1, reads 2 to 4
    ASSERT_TRUE(board.HoldSwitches(0, -1, 0, 2));         // TEST, the next two reads
    ASSERT_TRUE(board.HoldSwitches(0, 1, 0x0020, 1, 6));  // player 2 RIGHT, read 6
    EXPECT_FALSE(board.HoldSwitches(0, 2, 1, 1));         // no third player
    EXPECT_FALSE(board.HoldSwitches(1, 0, 1, 1));         // no second node
    EXPECT_FALSE(board.HoldSwitches(0, 0, 1, 0));         // no reads to hold for
    EXPECT_EQ(board.SwitchReads(0), 0);
    EXPECT_EQ(board.SwitchReads(1), -1);
    // Read: system byte, player 1's two bytes, player 2's first byte.
    const struct {
        uint8_t system, player1, player1Low, player2;
    } kReads[] = {
        {0x80, 0x00, 0x80, 0x00}, {0x80, 0x82, 0x80, 0x00}, {0x00, 0x82, 0x80, 0x00},
        {0x00, 0x82, 0x80, 0x00}, {0x00, 0x00, 0x80, 0x00}, {0x00, 0x00, 0x80, 0x04},
        {0x00, 0x00, 0x80, 0x00},
    };
    for (size_t i = 0; i < std::size(kReads); ++i) {
        const auto& read = kReads[i];
        EXPECT_EQ(Reply(Ask(1, {0x20, 0x02, 0x02})),
                  (Bytes{0x01, 0x01, read.system, read.player1, read.player1Low, read.player2, 0x00}))
            << "read " << i + 1;
        // Identification and coin reads are no switch reads.
        Ask(1, {0x21, 0x02});
    }
    EXPECT_EQ(board.SwitchReads(0), 7);
    const std::vector<JvsSwitchHold> ended = board.TakeEndedHolds();
    ASSERT_EQ(ended.size(), 3u);
    EXPECT_EQ(ended[0].player, -1);  // TEST: reads 1 and 2
    EXPECT_EQ(ended[0].first, 1);
    EXPECT_EQ(ended[1].mask, 0x0041);
    EXPECT_EQ(ended[1].first, 2);
    EXPECT_EQ(ended[2].first, 6);
    EXPECT_TRUE(board.TakeEndedHolds().empty());
    // Asked for a read gone by: from the next one.
    ASSERT_TRUE(board.HoldSwitches(0, 0, 0x0001, 1, 3));
    EXPECT_EQ(Reply(Ask(1, {0x20, 0x01, 0x01})), (Bytes{0x01, 0x01, 0x00, 0x80}));
    ASSERT_EQ(board.TakeEndedHolds().size(), 1u);
}

TEST_F(JvsBoardTest, ResendsAndReportsSumErrors) {
    Address();
    const Bytes first = Ask(1, {0x13});
    EXPECT_EQ(Ask(1, {0x2F}), first);
    // A damaged host frame is answered with status 3 and not carried out.
    board.AddCoins(0, 0, 2);
    const uint8_t damaged[] = {0xE0, 0x01, 0x05, 0x30, 0x01, 0x00, 0x02, 0x00};
    board.HostWrite(damaged, sizeof damaged);
    EXPECT_EQ(Reply(Drain()), (Bytes{0x03}));
    EXPECT_EQ(board.Coins(0, 0), 2);
}

TEST_F(JvsBoardTest, EventDeviceAnswersReportSizes) {
    EXPECT_EQ(Ask(0, {0x04}), (Bytes{0xE0, 0x00, 0x03, 0x01, 0x01, 0x05}));
    EXPECT_EQ(Reply(Ask(0, {0x05, 0x03, 0xE8, 0x01})), (Bytes{0x01, 0x01, 0x01, 0x00}));
    JvsBoard quiet({JvsNodeConfig{}}, false);
    const uint8_t wire[] = {0xE0, 0x00, 0x02, 0x04, 0x06};
    quiet.HostWrite(wire, sizeof wire);
    EXPECT_EQ(quiet.ReadyReplyBytes(), 0);
}

TEST_F(JvsBoardTest, FaultsShapeTheReplies) {
    Address();
    JvsBoardFaults faults;
    faults.splitReplies = 3;
    board.SetFaults(faults);
    uint8_t wire[16];
    const int size = EncodeJvsFrame(1, Bytes{0x11}.data(), 1, wire);
    board.HostWrite(wire, size);
    int pieces = 0;
    Bytes joined;
    uint8_t chunk[64];
    while (int n = board.TakeReply(chunk, sizeof chunk)) {
        ++pieces;
        joined.insert(joined.end(), chunk, chunk + n);
    }
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(Reply(joined), (Bytes{0x01, 0x01, 0x13}));

    faults = {};
    faults.dropReplies = 1;
    faults.failReports = 1;
    faults.failCommand = 0x21;
    board.SetFaults(faults);
    EXPECT_TRUE(Ask(1, {0x21, 0x01}).empty());
    EXPECT_EQ(Reply(Ask(1, {0x2F})), (Bytes{0x01, 0x02}));

    faults = {};
    faults.corruptSums = 1;
    board.SetFaults(faults);
    EXPECT_TRUE(Reply(Ask(1, {0x11})).empty());
    EXPECT_EQ(Reply(Ask(1, {0x2F})), (Bytes{0x01, 0x01, 0x13}));
}

}  // namespace
}  // namespace mareldon
