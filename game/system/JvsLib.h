#pragma once

#include <cstdint>

#include "game/system/JvsBus.h"

namespace mareldon {

// What the library keeps per bus address.
struct JvsNodeRecord {
    JvsNodeInfo info;
    uint8_t systemSwitches;  // bit 7: the cabinet's TEST switch
    uint8_t playerSwitches[16];
    uint16_t coins[4];  // top two bits the slot condition (0x4000 jam), low 14 the count
    uint16_t pendingDecrement[4];
    // Set when this cycle's coin reply filled coins[s]; the coin counter clears it.
    bool coinsFresh[4];
};

// The upper half of the I/O library: the per-step requests, the reply parser
// and the event reports. Plain functions over one static state.
namespace JvsLib {

constexpr int kMaxSwitchBytes = 16;
constexpr int kMaxCoinSlots = 4;

int Open(const char* portName);
int Close();
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
