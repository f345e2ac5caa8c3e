// The program's simulated board is polled for as long as the cabinet is on; what
// it takes from the host must not pile up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/platform/JvsFrame.h"
#include "engine/platform/serial/SerialLinkFactory.h"
#include "engine/platform/serial/SimulatedSerialLink.h"

namespace mareldon {
namespace {

// Writes one request and reads its reply; the reply's size.
int Ask(SerialLink& link, uint8_t address, const uint8_t* data, int size, uint8_t* reply, int room) {
    uint8_t wire[kJvsMaxWire];
    link.Write(wire, EncodeJvsFrame(address, data, size, wire));
    return link.Read(reply, room, 0);
}

// A minute of the input manager's polls (two requests a step at 60 steps a
// second) leaves no frame behind in the board the program opens; a board made
// directly, as the tests and the board tool make it, keeps them for its reader.
TEST(SimulatedBoardMemoryTest, TheProgramsBoardKeepsNoHostFrames) {
    ::unsetenv("MARELDON_COM7");
    auto link = OpenSerialLink("COM7", nullptr);
    auto* simulated = dynamic_cast<SimulatedSerialLink*>(link.get());
    ASSERT_NE(simulated, nullptr);
    const uint8_t address[] = {0xF1, 0x01};
    const uint8_t inputs[] = {0x20, 0x02, 0x02, 0x21, 0x02};
    uint8_t reply[64];
    Ask(*link, 0xFF, address, 2, reply, sizeof reply);
    uint8_t first[64];
    const int firstSize = Ask(*link, 0x01, inputs, 5, first, sizeof first);
    ASSERT_GT(firstSize, 0);
    int size = 0;
    for (int i = 0; i < 2 * 60 * 60; ++i) {
        size = Ask(*link, 0x01, inputs, 5, reply, sizeof reply);
    }
    ASSERT_EQ(size, firstSize) << "the board still answers";
    EXPECT_EQ(std::memcmp(reply, first, size_t(size)), 0);
    EXPECT_TRUE(simulated->Board().HostFrames().empty());

    JvsBoard board;
    uint8_t wire[kJvsMaxWire];
    board.HostWrite(wire, EncodeJvsFrame(0xFF, address, 2, wire));
    EXPECT_EQ(board.HostFrames().size(), 1u);
    board.KeepHostFrames(false);
    board.HostWrite(wire, EncodeJvsFrame(0xFF, address, 2, wire));
    EXPECT_TRUE(board.HostFrames().empty());
}

}  // namespace
}  // namespace mareldon
