#pragma once

#include <cstdint>

namespace mareldon {

// Event reports to the I/O library: the top byte is the kind. The values are
// the board's; never renumber them.
namespace IoEvent {
constexpr uint32_t kNoticeShown = 0x03000000;
constexpr uint32_t kNoticeEnded = 0x04000000;
constexpr uint32_t kTestMode = 0x05000000;
constexpr uint32_t kSettingsStored = 0x06000000;
constexpr uint32_t kSystemError = 0x07000000;
constexpr uint32_t kQuit = 0x08000000;
constexpr uint32_t kCredits = 0x09010000;        // argument: credit units
constexpr uint32_t kServiceCredit = 0x0A010000;  // argument: credit units
constexpr uint32_t kStart = 0x0B010000;          // argument: the price
constexpr uint32_t kGameStartOrOver = 0x0D000000;
// The next four carry a stage in bits 16-23; the player ones the player in bits 8-15.
constexpr uint32_t kStageStart = 0x0F000000;
constexpr uint32_t kStageEnd = 0x10000000;
constexpr uint32_t kFirstJoin = 0x11000000;
constexpr uint32_t kNameEntry = 0x12000000;
constexpr uint32_t kFurtherJoin = 0x13000000;

constexpr uint32_t WithStage(uint32_t kind, int32_t stage) {
    return kind | (static_cast<uint32_t>(stage) & 0xFF) << 16;
}
constexpr uint32_t WithPlayer(uint32_t kind, int32_t stage, int player) {
    return WithStage(kind, stage) | static_cast<uint32_t>(player) << 8;
}
}  // namespace IoEvent

}  // namespace mareldon
