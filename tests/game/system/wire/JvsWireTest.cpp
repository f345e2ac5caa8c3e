// The link against the standalone board simulator over a real pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/SerialLinkFactory.h"
#include "game/system/JvsBus.h"
#include "game/system/JvsLib.h"

#ifdef MARELDON_JVS_BOARD_TOOL

namespace mareldon {
namespace {

using Frames = std::vector<std::string>;

struct TimedFrame {
    long ms;
    std::string bytes;
};

// The simulator as a child process, driven through its standard input.
class BoardProcess {
  public:
    explicit BoardProcess(std::vector<std::string> args = {}) {
        int in[2];
        int out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(in[1]);
            ::close(out[0]);
            std::vector<char*> argv;
            std::string tool = MARELDON_JVS_BOARD_TOOL;
            argv.push_back(tool.data());
            for (auto& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
        std::string line;
        while (ReadLine(line, 5000)) {
            if (line.rfind("PTY ", 0) == 0) {
                pty_ = line.substr(4);
            } else if (line.rfind("SENSE ", 0) == 0) {
                sense_ = line.substr(6);
                break;
            }
        }
        ::setenv("MARELDON_COM2", pty_.c_str(), 1);
        ::setenv("MARELDON_JVS_SENSE", ("file:" + sense_).c_str(), 1);
    }

    ~BoardProcess() {
        JvsLib::Close();
        JvsBus::SetResetDelay(1000);
        ::unsetenv("MARELDON_COM2");
        ::unsetenv("MARELDON_JVS_SENSE");
        Quit();
    }

    bool Started() const { return !pty_.empty() && !sense_.empty(); }

    // Sends one command and waits for its answer.
    bool Command(const std::string& command) {
        const std::string line = command + "\n";
        if (::write(toChild_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            return false;
        }
        std::string answer;
        while (ReadLine(answer, 5000)) {
            if (answer == "OK") {
                return true;
            }
            if (answer == "ERR") {
                return false;
            }
        }
        return false;
    }

    std::vector<TimedFrame> TakeTimedFrames() {
        // Every frame the host has written by now is logged before the answer.
        Command("ping");
        std::vector<TimedFrame> frames;
        frames.swap(frames_);
        return frames;
    }

    Frames TakeFrames() {
        Frames frames;
        for (const auto& frame : TakeTimedFrames()) {
            frames.push_back(frame.bytes);
        }
        return frames;
    }

    void Quit() {
        if (pid_ <= 0) {
            return;
        }
        Command("quit");
        ::close(toChild_);
        ::close(fromChild_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

  private:
    // One line of output; HOST lines are collected on the way.
    bool ReadLine(std::string& line, int timeoutMs) {
        for (;;) {
            const size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (line.rfind("HOST ", 0) == 0) {
                    const size_t space = line.find(' ', 5);
                    frames_.push_back({std::stol(line.substr(5, space - 5)), line.substr(space + 1)});
                    continue;
                }
                return true;
            }
            pollfd p{fromChild_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) {
                return false;
            }
            char chunk[512];
            const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
            if (n <= 0) {
                return false;
            }
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string pty_;
    std::string sense_;
    std::string buffer_;
    std::vector<TimedFrame> frames_;
};

bool IsResendRequest(const std::string& frame) {
    return frame.find(" 02 2F ") == 5;
}

// A loaded machine may hold the simulator back past the 20 ms read timeout; the
// host then rightly asks for a retransmission. Frames are compared without
// those, and at least the expected number of them must be there.
void ExpectFrames(const Frames& actual, const Frames& expected) {
    Frames actualOthers;
    Frames expectedOthers;
    std::copy_if(actual.begin(), actual.end(), std::back_inserter(actualOthers),
                 [](const std::string& f) { return !IsResendRequest(f); });
    std::copy_if(expected.begin(), expected.end(), std::back_inserter(expectedOthers),
                 [](const std::string& f) { return !IsResendRequest(f); });
    EXPECT_EQ(actualOthers, expectedOthers);
    EXPECT_GE(actual.size() - actualOthers.size(), expected.size() - expectedOthers.size());
}

class JvsWireTest : public ::testing::Test {
  protected:
    void SetUp() override { ::signal(SIGPIPE, SIG_IGN); }

    int OpenLink(uint32_t resetDelayMs = 50) {
        JvsBus::SetResetDelay(resetDelayMs);
        // The program's own opener, on the device the environment names.
        JvsLib::Open("COM2", [](const char* port) { return OpenSerialLink(port, nullptr); });
        JvsBus::WaitIdle(10000);
        return JvsLib::Poll();
    }
    int Step() {
        JvsLib::RequestInputs();
        return JvsBus::WaitIdle(10000);
    }
};

TEST_F(JvsWireTest, StartUpAndCyclesOnTheWire) {
    BoardProcess sim;
    ASSERT_TRUE(sim.Started());
    ASSERT_EQ(OpenLink(1000), kJvsReady);
    auto frames = sim.TakeTimedFrames();
    std::erase_if(frames, [](const TimedFrame& f) { return IsResendRequest(f.bytes); });
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[0].bytes, "E0 FF 03 F0 D9 CB");
    EXPECT_EQ(frames[1].bytes, "E0 FF 03 F1 01 F4");
    EXPECT_GE(frames[1].ms - frames[0].ms, 990);
    EXPECT_LT(frames[1].ms - frames[0].ms, 1500);
    const char* identify[] = {"E0 01 02 10 13", "E0 01 02 11 14", "E0 01 02 12 15", "E0 01 02 13 16",
                              "E0 01 02 14 17"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(frames[2 + i].bytes, identify[i]);
    }

    ASSERT_TRUE(sim.Command("switches 0 0 0045"));  // Start, Up, Push 1
    ASSERT_TRUE(sim.Command("test 0 1"));
    ASSERT_TRUE(sim.Command("coin 0 0 3"));
    ASSERT_EQ(Step(), kJvsReady);
    ExpectFrames(sim.TakeFrames(), Frames{"E0 01 06 20 02 02 21 02 4E"});
    JvsNodeRecord& record = *JvsLib::GetNodeRecord(1);
    EXPECT_EQ(record.systemSwitches, 0x80);
    EXPECT_EQ(record.playerSwitches[0], 0xA2);
    EXPECT_EQ(record.playerSwitches[1], 0x00);
    EXPECT_EQ(record.coins[0], 3);

    record.pendingDecrement[0] = 3;
    ASSERT_EQ(Step(), kJvsReady);
    ExpectFrames(sim.TakeFrames(), Frames{"E0 01 0A 20 02 02 30 01 00 03 21 02 86"});
    EXPECT_EQ(record.coins[0], 0);
    EXPECT_EQ(record.pendingDecrement[0], 0);
    ASSERT_TRUE(sim.Command("jam 0 1 1"));
    ASSERT_EQ(Step(), kJvsReady);
    EXPECT_EQ(record.coins[1], 0x4000);
    sim.TakeFrames();

    EXPECT_EQ(JvsLib::ReportEvent(0x03000000, 0), 1);
    ASSERT_EQ(JvsBus::WaitIdle(10000), kJvsReady);
    ExpectFrames(sim.TakeFrames(), Frames{"E0 00 04 05 03 E8 F4", "E0 00 02 04 06"});

    // Data bytes E0 and D0 and a sum of D0 go out escaped; the board reads them back.
    const uint8_t escaped[] = {0x05, 0xE0, 0xD0};
    JvsBus::QueuePacket(0, nullptr, 0);
    JvsBus::QueuePacket(0, escaped, 3);
    const uint8_t sumD0[] = {0x04, 0x05, 0xC3, 0x47};
    JvsBus::QueuePacket(0, sumD0, 4);
    JvsBus::Wake();
    ASSERT_EQ(JvsBus::WaitIdle(10000), kJvsReady);
    ExpectFrames(sim.TakeFrames(), Frames{"E0 00 08 05 D0 DF D0 CF 04 05 C3 47 D0 CF"});
}

TEST_F(JvsWireTest, RecoversFromFaultsOnTheWire) {
    BoardProcess sim;
    ASSERT_TRUE(sim.Started());
    ASSERT_EQ(OpenLink(), kJvsReady);
    sim.TakeFrames();
    const std::string request = "E0 01 06 20 02 02 21 02 4E";
    const std::string resend = "E0 01 02 2F 32";
    struct Case {
        const char* command;
        Frames expected;
    } cases[] = {
        {"drop 1", {request, resend}},      {"corrupt 1", {request, resend}},
        {"status 3 1", {request, request}}, {"lengthzero 1", {request, resend}},
        {"split 3 4", {request}},           {"echo 1", {request}},
        {"failreport 21 1", {request}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(sim.Command(c.command));
        EXPECT_EQ(Step(), kJvsReady);
        ExpectFrames(sim.TakeFrames(), c.expected);
        sim.Command("split 1 0");
        sim.Command("echo 0");
    }
}

TEST_F(JvsWireTest, FailsWithoutHangingWhenTheLineBreaks) {
    for (const char* command : {"silent 1", "status 2 1", "senselow", "quit"}) {
        SCOPED_TRACE(command);
        BoardProcess sim;
        ASSERT_TRUE(sim.Started());
        ASSERT_EQ(OpenLink(), kJvsReady);
        sim.TakeFrames();
        if (std::string(command) == "quit") {
            sim.Quit();
        } else {
            ASSERT_TRUE(sim.Command(command));
        }
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(Step(), kJvsError);
        const auto spent = std::chrono::steady_clock::now() - begin;
        EXPECT_LT(spent, std::chrono::seconds(2));
        if (std::string(command) == "silent 1") {
            // Six silent reads of 20 ms, with a retransmit request after each of the first five.
            EXPECT_GE(spent, std::chrono::milliseconds(115));
            const Frames frames = sim.TakeFrames();
            EXPECT_EQ(std::count(frames.begin(), frames.end(), "E0 01 02 2F 32"), 5);
        }
    }
}

}  // namespace
}  // namespace mareldon

#endif
