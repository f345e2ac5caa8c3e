// A simulated JVS I/O board on the master side of a pseudo-terminal.
//
//   mareldon-jvs-board [--nodes N] [--no-event-device] [--long-feature-end]
//                      [--features HEX] [--sense PATH]
//
// Prints "PTY <slave path>" and "SENSE <file>" and then one line per complete
// host frame: "HOST <ms since start> <bytes in hex as on the wire>". The sense
// line is published in the file as "0" or "1" (point MARELDON_JVS_SENSE at it).
// Commands on standard input, one per line, each answered with "OK", or "ERR"
// for a line it does not know or a node, player or slot the board lacks. NODE
// counts from 0 (the first node in the chain), PLAYER and SLOT from 0 too:
//   switches NODE PLAYER MASK   player switches, bit i = switch i (hex)
//   test NODE 0|1               the TEST switch
//   hold NODE PLAYER MASK CYCLES [FROM]
//                               holds MASK (over the switches set) in CYCLES
//                               replies to the node's switch reads (one a host
//                               input cycle, counted from 1), from read FROM on
//                               (left out, or a read gone by: the next); PLAYER
//                               "test" holds the TEST switch (MASK unused). When
//                               its last reply has gone out the board prints
//                               "HELD NODE PLAYER MASK FIRST-LAST" (the reads)
//   cycles NODE                 prints "CYCLES <switch reads so far>"
//   coin NODE SLOT COUNT        insert coins
//   jam NODE SLOT 0|1           coin jam condition
//   drop N | corrupt N | lengthzero N      fault the next N replies
//   status S N                  answer the next N frames with status S
//   failreport CMD N            report 2 for the next N sub-packets of CMD (hex)
//   split PIECES DELAYMS        write every reply in pieces, with pauses
//   echo 0|1 | silent 0|1       echo host frames / answer nothing
//   senselow                    every node loses its address
//   coins NODE SLOT             prints "COINS <count>"
//   ping                        nothing; its OK follows every host frame read before it
//   quit
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/JvsProtocol.h"
#include "engine/platform/serial/JvsBoard.h"

namespace {

using namespace mareldon;

struct Options {
    int nodes = 1;
    bool eventDevice = true;
    bool longFeatureEnd = false;
    std::vector<uint8_t> features;
    std::string sensePath;
};

std::vector<uint8_t> ParseHex(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--nodes" && hasValue) {
            options.nodes = std::atoi(argv[++i]);
        } else if (arg == "--no-event-device") {
            options.eventDevice = false;
        } else if (arg == "--long-feature-end") {
            options.longFeatureEnd = true;
        } else if (arg == "--features" && hasValue) {
            options.features = ParseHex(argv[++i]);
        } else if (arg == "--sense" && hasValue) {
            options.sensePath = argv[++i];
        } else {
            return false;
        }
    }
    return options.nodes >= 0 && options.nodes <= 31;
}

class Simulator {
  public:
    Simulator(const Options& options, int master) : master_(master), sensePath_(options.sensePath) {
        JvsNodeConfig config;
        config.longFeatureEnd = options.longFeatureEnd;
        config.features = options.features;
        board_ = std::make_unique<JvsBoard>(
            std::vector<JvsNodeConfig>(static_cast<size_t>(options.nodes), config), options.eventDevice);
        start_ = std::chrono::steady_clock::now();
        PublishSense();
    }

    void HostBytes(const uint8_t* data, int size) {
        board_->HostWrite(data, size);
        for (const auto& frame : board_->HostFrames()) {
            std::printf("HOST %lld",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                   std::chrono::steady_clock::now() - start_)
                                                   .count()));
            for (uint8_t byte : frame) {
                std::printf(" %02X", byte);
            }
            std::printf("\n");
        }
        board_->ClearHostFrames();
        for (const JvsSwitchHold& hold : board_->TakeEndedHolds()) {
            if (hold.player < 0) {
                std::printf("HELD %d test 0 %d-%d\n", hold.node, hold.first, hold.first + hold.cycles - 1);
            } else {
                std::printf("HELD %d %d %X %d-%d\n", hold.node, hold.player, hold.mask, hold.first,
                            hold.first + hold.cycles - 1);
            }
        }
        std::fflush(stdout);
        // The host reads the sense line right after a set-address reply.
        PublishSense();
        uint8_t piece[600];
        bool first = true;
        while (int n = board_->TakeReply(piece, sizeof piece)) {
            if (!first && splitDelayMs_ > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(splitDelayMs_));
            }
            first = false;
            if (::write(master_, piece, static_cast<size_t>(n)) != n) {
                std::fprintf(stderr, "write to the pty failed\n");
            }
        }
    }

    // false on quit.
    bool Command(const std::string& line) {
        std::istringstream in(line);
        std::string word;
        in >> word;
        int a = 0;
        int b = 0;
        std::string c;
        bool ok = true;
        JvsBoardFaults faults = board_->Faults();
        if (word == "quit") {
            return false;
        } else if (word == "ping") {
        } else if (word == "switches" && in >> a >> b >> c) {
            ok = board_->SetSwitches(a, b, static_cast<uint16_t>(std::stoul(c, nullptr, 16)));
        } else if (word == "hold" && in >> a >> c) {
            std::string mask;
            int cycles = 0;
            int from = 0;
            ok = static_cast<bool>(in >> mask >> cycles);
            if (ok && !(in >> from)) {
                from = 0;
            }
            const int player = c == "test" ? -1 : std::stoi(c);
            ok = ok && (c == "test" || player >= 0) &&
                 board_->HoldSwitches(a, player, static_cast<uint16_t>(std::stoul(mask, nullptr, 16)), cycles,
                                      from);
        } else if (word == "cycles" && in >> a) {
            const int reads = board_->SwitchReads(a);
            ok = reads >= 0;
            if (ok) {
                std::printf("CYCLES %d\n", reads);
            }
        } else if (word == "test" && in >> a >> b) {
            ok = board_->SetTest(a, b != 0);
        } else if (word == "coin" && in >> a >> b >> c) {
            ok = board_->AddCoins(a, b, std::stoi(c));
        } else if (word == "coins" && in >> a >> b) {
            const int coins = board_->Coins(a, b);
            ok = coins >= 0;
            if (ok) {
                std::printf("COINS %d\n", coins);
            }
        } else if (word == "jam" && in >> a >> b >> c) {
            ok = board_->SetCoinCondition(a, b, c == "1" ? kJvsCoinJam : 0);
        } else if (word == "drop" && in >> a) {
            faults.dropReplies = a;
        } else if (word == "corrupt" && in >> a) {
            faults.corruptSums = a;
        } else if (word == "lengthzero" && in >> a) {
            faults.lengthZeroReplies = a;
        } else if (word == "status" && in >> a >> b) {
            faults.status = static_cast<uint8_t>(a);
            faults.statusReplies = b;
        } else if (word == "failreport" && in >> c >> b) {
            faults.failCommand = static_cast<uint8_t>(std::stoul(c, nullptr, 16));
            faults.failReports = b;
        } else if (word == "split" && in >> a >> b) {
            faults.splitReplies = a;
            splitDelayMs_ = b;
        } else if (word == "echo" && in >> a) {
            faults.echo = a != 0;
        } else if (word == "silent" && in >> a) {
            faults.silent = a != 0;
        } else if (word == "senselow") {
            board_->DropAddresses();
            PublishSense();
        } else {
            ok = false;
        }
        board_->SetFaults(faults);
        if (ok) {
            std::printf("OK\n");
        } else {
            std::printf("ERR %s\n", line.c_str());
        }
        std::fflush(stdout);
        return true;
    }

  private:
    void PublishSense() {
        const int sense = board_->Sense();
        if (sense == lastSense_) {
            return;
        }
        lastSense_ = sense;
        // Written aside and renamed, so a reader never sees an empty file.
        const std::string temp = sensePath_ + ".new";
        if (FILE* f = std::fopen(temp.c_str(), "w")) {
            std::fputc('0' + sense, f);
            std::fclose(f);
            std::rename(temp.c_str(), sensePath_.c_str());
        }
    }

    int master_;
    std::string sensePath_;
    std::unique_ptr<JvsBoard> board_;
    int splitDelayMs_ = 0;
    int lastSense_ = -1;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--nodes N] [--no-event-device] [--long-feature-end] [--features HEX] "
                     "[--sense PATH]\n",
                     argv[0]);
        return 2;
    }
    // A board answers within the host's 20-ms reply window whatever else runs;
    // the simulator asks for the same real-time class the host's bus thread
    // uses (best effort: without the right it runs as it is).
    sched_param param{};
    param.sched_priority = std::min(sched_get_priority_max(SCHED_FIFO), 20);
    sched_setscheduler(0, SCHED_FIFO, &param);

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("posix_openpt");
        return 1;
    }
    const std::string slavePath = ::ptsname(master);
    // Raw both ways before the host opens its end: no echo, no CR/LF handling.
    termios tio{};
    ::tcgetattr(master, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(master, TCSANOW, &tio);
    // Holding the slave open keeps the master from reporting a hang-up while
    // the host has not opened (or has closed) its end.
    const int keeper = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (options.sensePath.empty()) {
        options.sensePath = "/tmp/mareldon-jvs-sense-" + std::to_string(::getpid());
    }
    std::remove(options.sensePath.c_str());

    Simulator simulator(options, master);
    std::printf("PTY %s\nSENSE %s\n", slavePath.c_str(), options.sensePath.c_str());
    std::fflush(stdout);

    std::string pending;
    for (;;) {
        pollfd fds[2] = {{master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            uint8_t buffer[600];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                simulator.HostBytes(buffer, static_cast<int>(n));
            }
        }
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            pending.append(buffer, static_cast<size_t>(n));
            size_t end;
            bool quit = false;
            while ((end = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                bool keepGoing = true;
                try {
                    keepGoing = simulator.Command(line);
                } catch (const std::exception&) {
                    // A number that does not parse.
                    std::printf("ERR %s\n", line.c_str());
                    std::fflush(stdout);
                }
                if (!keepGoing) {
                    quit = true;
                    break;
                }
            }
            if (quit) {
                break;
            }
        }
    }
    std::remove(options.sensePath.c_str());
    ::close(keeper);
    ::close(master);
    return 0;
}
