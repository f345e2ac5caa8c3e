// Wire bytes from a board: through the host's receive path and the reply
// parser, and, as host bytes, through the simulated board.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "engine/platform/JvsProtocol.h"
#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/JvsBoard.h"
#include "game/system/JvsBus.h"
#include "game/system/JvsLib.h"
#include "game/system/SerialPort.h"

namespace {

using namespace mareldon;

// Hands out the input in pieces; the first byte of the input sets their size.
class FuzzLink final : public SerialLink {
  public:
    void Load(const uint8_t* data, size_t size) {
        chunk_ = size > 0 ? 1 + data[0] % 32 : 1;
        bytes_.assign(data + std::min<size_t>(size, 1), data + size);
        at_ = 0;
    }
    int Write(const uint8_t*, int length) override { return length; }
    int Available() override { return std::min<int>(chunk_, static_cast<int>(bytes_.size() - at_)); }
    int Read(uint8_t* buffer, int max, uint32_t timeoutMs) override {
        const int n = std::min(max, Available());
        if (n == 0) {
            GetClock().Sleep(timeoutMs);
            return 0;
        }
        std::memcpy(buffer, bytes_.data() + at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        return n;
    }
    int ReadSense() override { return 1; }
    void SetRts(bool) override {}

  private:
    std::vector<uint8_t> bytes_;
    size_t at_ = 0;
    int chunk_ = 1;
};

FuzzLink* g_link = nullptr;
VirtualClock g_clock;

void Setup() {
    SetLogSink([](LogLevel, const char*, const char*) {});
    SetClock(&g_clock);
    SerialPort::Open("COM2", [](const char*) {
        auto link = std::make_unique<FuzzLink>();
        g_link = link.get();
        return link;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (Setup(), true);
    (void)ready;
    g_link->Load(data, size);

    // The requests of one input cycle, so the parser sees what the bus walks.
    static const uint8_t kRequests[][4] = {
        {kJvsReadSwitches, 0x02, 0x02}, {kJvsCoinDecrement, 0x01, 0x00, 0x03}, {kJvsReadCoins, 0x02}};
    static const int kLengths[] = {3, 4, 2};
    uint8_t reply[258];
    const int n = JvsBus::ReceiveFrame(reply);
    if (n > 0) {
        int at = 1;
        for (int i = 0; i < 3 && at <= n; ++i) {
            const int consumed = JvsLib::ParseReply(1, kRequests[i], kLengths[i], reply + at, n - at);
            if (consumed < 0) {
                break;
            }
            at = std::min(n, at + consumed);
        }
        const uint8_t event = static_cast<uint8_t>(n > 1 ? reply[1] : 0);
        JvsLib::ParseReply(0, &event, 1, reply + 1, n - 1);
    }

    JvsBoard board({JvsNodeConfig{}, JvsNodeConfig{}});
    board.HostWrite(data, static_cast<int>(size));
    uint8_t out[600];
    while (board.TakeReply(out, sizeof out) > 0) {
    }
    return 0;
}
