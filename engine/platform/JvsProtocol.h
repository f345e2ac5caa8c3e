#pragma once

#include <cstdint>

namespace mareldon {

// The numbers of the JVS protocol, as the host (bus, I/O library, input manager)
// and the simulated board both use them. They are the wire's: never renumber.
// The framing bytes (sync, escape, broadcast address) are in JvsFrame.h.

// Commands: the first byte of a sub-packet.
enum JvsCommand : uint8_t {
    kJvsReadIdentity = 0x10,     // reply: the identity text, zero-terminated
    kJvsCommandRevision = 0x11,  // reply: 1 byte
    kJvsJvsRevision = 0x12,      // reply: 1 byte
    kJvsCommVersion = 0x13,      // reply: 1 byte
    kJvsFeatureCheck = 0x14,     // reply: 4-byte entries {code, 3 parameters} ending with code 0
    kJvsReadSwitches = 0x20,     // players, bytes per player; reply: system byte, then the players' bytes
    kJvsReadCoins = 0x21,        // slots; reply: one coin word per slot, high byte first
    kJvsRetransmit = 0x2F,       // resend the last reply
    kJvsCoinDecrement = 0x30,    // slot (from 1), amount high byte, amount low byte
    kJvsReset = 0xF0,            // followed by kJvsResetCheck, to the broadcast address; no reply
    kJvsSetAddress = 0xF1,       // address, to the broadcast address
};
// The second byte of a reset; a reset without it is none.
constexpr uint8_t kJvsResetCheck = 0xD9;

// First byte of a reply frame.
enum JvsStatus : uint8_t {
    kJvsStatusOk = 1,
    kJvsStatusUnsupported = 2,
    kJvsStatusSumError = 3,  // the node asks for the host's frame again
    kJvsStatusOverflow = 4,
};

// The byte ahead of each sub-packet's reply data; anything but ok means the
// command was not carried out.
enum JvsReport : uint8_t {
    kJvsReportOk = 1,
    kJvsReportParameterError = 2,
};

// Feature codes of the feature check.
enum JvsFeatureCode : uint8_t {
    kJvsFeatureEnd = 0,
    kJvsFeatureSwitches = 1,  // players, switches per player
    kJvsFeatureCoins = 2,     // coin slots
};

// A player's switches in the order a node sends them: switch 0 in the top bit
// of the player's first byte.
enum JvsPlayerSwitch : int {
    kJvsSwitchStart,
    kJvsSwitchService,
    kJvsSwitchUp,
    kJvsSwitchDown,
    kJvsSwitchLeft,
    kJvsSwitchRight,
    kJvsSwitchPush1,
    kJvsSwitchPush2,
    kJvsSwitchPush3,
};

// The system byte of a switch reply: the cabinet's TEST switch.
constexpr uint8_t kJvsSystemTest = 0x80;

// A coin word: the slot's condition in the top two bits, the count below.
constexpr uint16_t kJvsCoinCountMask = 0x3FFF;
constexpr uint16_t kJvsCoinConditionMask = 0xC000;
constexpr uint16_t kJvsCoinJam = 0x4000;

// The event-report device at address 0 answers commands 0 to 8 of its own.
// What it does with them lies beyond the program; only the sizes are fixed.
constexpr uint8_t kJvsEventLastCommand = 8;
// Bytes an event-device command carries after its code: 05 a 16-bit value.
constexpr int JvsEventArgumentBytes(uint8_t command) {
    return command == 0x05 ? 2 : 0;
}
// Data bytes after the report in the event device's reply to a command.
constexpr int JvsEventReplyBytes(uint8_t command) {
    return command == 1 || command == 2 || command == 6 || command == 8 ? 1 : 0;
}

}  // namespace mareldon
