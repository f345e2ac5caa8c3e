#pragma once

#include <cstdint>

#include "engine/platform/SerialLink.h"
#include "game/system/JvsBus.h"

namespace mareldon {

// What the library keeps per bus address.
struct JvsNodeRecord {
    JvsNodeInfo info;
    uint8_t systemSwitches;  // bit 7: the cabinet's TEST switch
    uint8_t playerSwitches[16];
    uint16_t coins[4];  // a coin word per slot (JvsProtocol.h)
    uint16_t pendingDecrement[4];
    // Set when this cycle's coin reply filled coins[s]; the coin counter clears it.
    bool coinsFresh[4];
};

// The upper half of the I/O library: the per-step requests, the reply parser
// and the event reports. Plain functions over one static state.
namespace JvsLib {

// The version texts the library carries, spelling and all; nothing reads them.
constexpr const char* kIncomeVersion = "Income Libraly Version 1.0 2004/04/15";
constexpr const char* kJvsVersion = "JVS Libraly Version 1.2 2004/09/01";
constexpr const char* kZubVersion = "ZUB Libraly Version 1.2 2004/09/01";

constexpr int kMaxSwitchBytes = 16;
constexpr int kMaxCoinSlots = 4;

// Opens the port through `open` and starts the bus; 1 whether or not it started
// (Poll tells).
int Open(const char* portName, const SerialLinkOpener& open);
int Close();
// Whether the port opened (a bus that failed keeps it open until Close).
bool IsPortOpen();
// Waits until the bus is ready, has failed or is closed, at most timeoutMs on
// the process clock; the state found (at once when no bus runs).
int WaitIdle(uint32_t timeoutMs);
int Poll();
int GetNodeCount();
JvsNodeRecord* GetNodeRecord(int address);
int RequestInputs();
int ParseReply(int address, const uint8_t* request, int requestLength, const uint8_t* reply, int replyLength);
int ReportEvent(uint32_t code, uint32_t argument);

// Players and bytes per player of the node's switch request, bounded by the
// record (at most 16 bytes in all); coin slots, at most 4.
void SwitchRequestSize(const JvsNodeInfo& info, int& players, int& bytesPerPlayer);
int CoinSlotCount(const JvsNodeInfo& info);

}  // namespace JvsLib

}  // namespace mareldon
