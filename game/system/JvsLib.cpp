#include "game/system/JvsLib.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Log.h"
#include "engine/platform/JvsProtocol.h"
#include "game/system/SerialPort.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "jvs";
// How long an event report waits for a running cycle to finish. Cycles are
// bounded by the bus's own timeouts; this only guards against a bus that
// stopped moving.
constexpr uint32_t kEventWaitMs = 1000;

int g_nodeCount = 0;
JvsNodeRecord g_records[32];

// Event cycles carry only the address-0 frame: a node queue still holding the
// last input cycle would repeat an already confirmed coin decrement.
void ClearNodeQueues() {
    for (int address = 1; address < JvsBus::kQueueCount; ++address) {
        JvsBus::QueuePacket(address, nullptr, 0);
    }
}

}  // namespace

namespace JvsLib {

int Open(const char* portName, const SerialLinkOpener& open) {
    g_nodeCount = 0;
    JvsBus::Start(portName, open, ParseReply);
    return 1;
}

int Close() {
    g_nodeCount = 0;
    JvsBus::Stop();
    return 1;
}

bool IsPortOpen() {
    return SerialPort::IsOpen();
}

int WaitIdle(uint32_t timeoutMs) {
    return JvsBus::WaitIdle(timeoutMs);
}

int Poll() {
    const int state = JvsBus::GetState();
    if (state != kJvsReady) {
        return state;
    }
    if (g_nodeCount == 0) {
        g_nodeCount = JvsBus::GetNodeCount();
        for (int address = 1; address <= g_nodeCount && address < 32; ++address) {
            g_records[address].info = *JvsBus::GetNodeInfo(address);
        }
    }
    return kJvsReady;
}

int GetNodeCount() {
    return JvsBus::GetNodeCount();
}

JvsNodeRecord* GetNodeRecord(int address) {
    return address >= 0 && address < 32 ? &g_records[address] : nullptr;
}

void SwitchRequestSize(const JvsNodeInfo& info, int& players, int& bytesPerPlayer) {
    const JvsFeature& switches = info.features[kJvsFeatureSwitches];
    players = switches.param1;
    bytesPerPlayer = (switches.param2 + 7) / 8;
    bytesPerPlayer = std::min(bytesPerPlayer, kMaxSwitchBytes);
    if (bytesPerPlayer > 0) {
        players = std::min(players, kMaxSwitchBytes / bytesPerPlayer);
    }
}

int CoinSlotCount(const JvsNodeInfo& info) {
    return std::min<int>(info.features[kJvsFeatureCoins].param1, kMaxCoinSlots);
}

int RequestInputs() {
    for (int address = 1; address <= g_nodeCount && address < 32; ++address) {
        const JvsNodeInfo& info = *JvsBus::GetNodeInfo(address);
        const JvsNodeRecord& record = g_records[address];
        int players = 0;
        int bytes = 0;
        SwitchRequestSize(info, players, bytes);
        const int slots = CoinSlotCount(info);

        JvsBus::QueuePacket(address, nullptr, 0);
        const uint8_t switches[] = {kJvsReadSwitches, static_cast<uint8_t>(players),
                                    static_cast<uint8_t>(bytes)};
        JvsBus::QueuePacket(address, switches, 3);
        for (int slot = 0; slot < slots; ++slot) {
            const uint16_t amount = record.pendingDecrement[slot];
            if (amount != 0) {
                const uint8_t decrement[] = {kJvsCoinDecrement, static_cast<uint8_t>(slot + 1),
                                             static_cast<uint8_t>(amount >> 8), static_cast<uint8_t>(amount)};
                JvsBus::QueuePacket(address, decrement, 4);
            }
        }
        const uint8_t coins[] = {kJvsReadCoins, static_cast<uint8_t>(slots)};
        JvsBus::QueuePacket(address, coins, 2);
    }
    JvsBus::Wake();
    return 1;
}

int ParseReply(int address, const uint8_t* request, int requestLength, const uint8_t* reply,
               int replyLength) {
    if (requestLength < 1 || replyLength < 1 || address < 0 || address >= 32) {
        return -1;
    }
    const uint8_t command = request[0];
    const bool done = reply[0] == kJvsReportOk;
    if (address == 0) {
        if (!done) {
            return 1;
        }
        if (command > kJvsEventLastCommand) {
            return -1;
        }
        const int size = 1 + JvsEventReplyBytes(command);
        return replyLength >= size ? size : -1;
    }
    JvsNodeRecord& record = g_records[address];
    const uint8_t* data = reply + 1;
    const int available = replyLength - 1;
    switch (command) {
        case kJvsReadSwitches: {
            if (!done) {
                return 1;
            }
            if (requestLength < 3) {
                return -1;
            }
            const int bytes = request[1] * request[2];
            if (available < 1 + bytes) {
                return -1;
            }
            record.systemSwitches = data[0];
            std::memcpy(record.playerSwitches, data + 1,
                        static_cast<size_t>(std::min(bytes, kMaxSwitchBytes)));
            return 2 + bytes;
        }
        case kJvsReadCoins: {
            if (!done) {
                return 1;
            }
            if (requestLength < 2) {
                return -1;
            }
            const int slots = request[1];
            if (available < 2 * slots) {
                return -1;
            }
            for (int slot = 0; slot < slots && slot < kMaxCoinSlots; ++slot) {
                record.coins[slot] = static_cast<uint16_t>(data[2 * slot] * 256 + data[2 * slot + 1]);
                record.coinsFresh[slot] = true;
            }
            return 1 + 2 * slots;
        }
        case kJvsCoinDecrement: {
            if (requestLength < 2) {
                return -1;
            }
            const int slot = request[1] - 1;
            if (done && slot >= 0 && slot < kMaxCoinSlots) {
                record.pendingDecrement[slot] = 0;
            }
            return 1;
        }
        default:
            return -1;
    }
}

int ReportEvent(uint32_t code, uint32_t /*argument*/) {
    if ((code >> 24) != 3) {
        return 1;
    }
    // The event device's command 05 with the value 1000, then its command 04.
    static const uint8_t kFirst[] = {0x05, 0x03, 0xE8};
    static const uint8_t kSecond[] = {0x04};
    const struct {
        const uint8_t* bytes;
        int length;
    } frames[] = {{kFirst, 3}, {kSecond, 1}};
    for (const auto& frame : frames) {
        // A closed or failed bus never becomes ready again: report nothing.
        if (JvsBus::WaitIdle(kEventWaitMs) != kJvsReady) {
            LOG_WARN(kLog, "event 0x%08x not sent: the bus is not ready", static_cast<unsigned>(code));
            return 1;
        }
        ClearNodeQueues();
        JvsBus::QueuePacket(0, nullptr, 0);
        JvsBus::QueuePacket(0, frame.bytes, frame.length);
        JvsBus::Wake();
    }
    return 1;
}

}  // namespace JvsLib

}  // namespace mareldon
