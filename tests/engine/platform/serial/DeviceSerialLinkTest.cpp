#include "engine/platform/serial/DeviceSerialLink.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/platform/JvsFrame.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/SerialLinkFactory.h"

namespace mareldon {
namespace {

// The far end of a pseudo-terminal, as a board on the wire would hold it.
class PtyPeer {
  public:
    PtyPeer() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master);
        ::unlockpt(master);
        termios tio{};
        ::tcgetattr(master, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(master, TCSANOW, &tio);
        slave = ::ptsname(master);
        sense = "/tmp/mareldon-sense-test-" + std::to_string(::getpid());
    }
    ~PtyPeer() {
        if (master >= 0) {
            ::close(master);
        }
        std::remove(sense.c_str());
    }
    void SetSense(char value) {
        FILE* f = std::fopen(sense.c_str(), "w");
        std::fputc(value, f);
        std::fclose(f);
    }

    int master = -1;
    std::string slave;
    std::string sense;
};

TEST(DeviceSerialLinkTest, SenseSourcesParse) {
    SenseSource source;
    EXPECT_TRUE(SenseSource::Parse(nullptr, source));
    EXPECT_EQ(source.kind, SenseSource::Kind::Cts);
    EXPECT_TRUE(SenseSource::Parse("dcd", source));
    EXPECT_EQ(source.kind, SenseSource::Kind::Dcd);
    EXPECT_TRUE(SenseSource::Parse("file:/run/sense", source));
    EXPECT_EQ(source.kind, SenseSource::Kind::File);
    EXPECT_EQ(source.path, "/run/sense");
    EXPECT_TRUE(SenseSource::Parse("/tmp/x", source));
    EXPECT_EQ(source.path, "/tmp/x");
    EXPECT_FALSE(SenseSource::Parse("file:", source));
}

TEST(DeviceSerialLinkTest, CarriesBytesAndTheSideChannelSense) {
    PtyPeer peer;
    SenseSource sense;
    ASSERT_TRUE(SenseSource::Parse(("file:" + peer.sense).c_str(), sense));
    auto link = DeviceSerialLink::Open(peer.slave, sense);
    ASSERT_NE(link, nullptr);

    EXPECT_EQ(link->ReadSense(), -1);  // nothing published yet
    peer.SetSense('0');
    EXPECT_EQ(link->ReadSense(), 0);
    peer.SetSense('1');
    EXPECT_EQ(link->ReadSense(), 1);
    link->SetRts(true);  // a pty has no RTS; harmless

    // Raw both ways: E0, D0, CR and LF pass untouched.
    const uint8_t frame[] = {0xE0, 0x01, 0x0D, 0x0A, 0xD0, 0x03, 0x11};
    ASSERT_EQ(link->Write(frame, sizeof frame), static_cast<int>(sizeof frame));
    uint8_t got[16] = {};
    ASSERT_EQ(::read(peer.master, got, sizeof got), static_cast<ssize_t>(sizeof frame));
    EXPECT_EQ(std::memcmp(got, frame, sizeof frame), 0);

    uint8_t buffer[16];
    EXPECT_EQ(link->Available(), 0);
    EXPECT_EQ(link->Read(buffer, 1, 20), 0);  // the timeout passes
    ASSERT_EQ(::write(peer.master, frame, 3), 3);
    EXPECT_EQ(link->Read(buffer, 16, 200), 3);

    ::close(peer.master);
    peer.master = -1;
    EXPECT_EQ(link->Read(buffer, 1, 200), -1);  // the peer hung up
}

TEST(DeviceSerialLinkTest, PtyWithoutSideChannelHasNoSense) {
    PtyPeer peer;
    auto link = DeviceSerialLink::Open(peer.slave, SenseSource{});
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->ReadSense(), -1);
    EXPECT_EQ(DeviceSerialLink::Open("/nonexistent/tty", SenseSource{}), nullptr);
    EXPECT_EQ(DeviceSerialLink::Open("/dev/null", SenseSource{}), nullptr);  // not a terminal
}

class FixedSource final : public JvsSwitchSource {
  public:
    void Sample(JvsSwitchSample& sample) override {
        sample.test = true;
        sample.players[0] = kJvsPush1;
        sample.coins[1] = 2;
    }
};

TEST(DeviceSerialLinkTest, PortNamesPickTheBackend) {
    PtyPeer peer;
    ::setenv("MARELDON_COM2", peer.slave.c_str(), 1);
    EXPECT_NE(dynamic_cast<DeviceSerialLink*>(OpenSerialLink("COM2", nullptr).get()), nullptr);
    ::setenv("MARELDON_JVS_SENSE", "file:", 1);
    EXPECT_EQ(OpenSerialLink("COM2", nullptr), nullptr);
    ::unsetenv("MARELDON_JVS_SENSE");
    ::unsetenv("MARELDON_COM2");

    // Without a device the simulated board answers, with the given controls.
    FixedSource source;
    auto link = OpenSerialLink("COM2", &source);
    ASSERT_NE(link, nullptr);
    const uint8_t address[] = {0xF1, 0x01};
    const uint8_t inputs[] = {0x20, 0x01, 0x01, 0x21, 0x02};
    uint8_t wire[32];
    link->Write(wire, EncodeJvsFrame(0xFF, address, 2, wire));
    uint8_t reply[64];
    link->Read(reply, sizeof reply, 0);
    EXPECT_EQ(link->ReadSense(), 1);
    link->Write(wire, EncodeJvsFrame(0x01, inputs, 5, wire));
    const int n = link->Read(reply, sizeof reply, 0);
    const uint8_t expected[] = {0xE0, 0x00, 0x0A, 0x01, 0x01, 0x80, 0x02, 0x01, 0x00, 0x00, 0x00, 0x02, 0x91};
    ASSERT_EQ(n, static_cast<int>(sizeof expected));
    EXPECT_EQ(std::memcmp(reply, expected, sizeof expected), 0);
}

}  // namespace
}  // namespace mareldon
