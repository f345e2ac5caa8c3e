#pragma once

#include <cstdint>

#include "engine/core/PlayerInput.h"

namespace mareldon {

// Logical buttons the game system reads from its two system inputs.
namespace SystemButton {
constexpr uint32_t kStart = 0x200;           // bit 9
constexpr uint32_t kCoin = 0x400;            // bit 10
constexpr uint32_t kService = 0x800;         // bit 11
constexpr uint32_t kTest = 0x4000;           // bit 14
constexpr uint32_t kTurnLeft = 0x8000;       // bit 15: screen rotation - 1
constexpr uint32_t kTurnRight = 0x10000;     // bit 16: screen rotation + 1
constexpr uint32_t kWindowToggle = 0x20000;  // bit 17: window / full screen
constexpr uint32_t kCoinError = 0x10000000;  // bit 28
constexpr uint32_t kIoError = 0x20000000;    // bit 29
}  // namespace SystemButton

// Stands in for the game system's two system inputs (0: controller 0 and the
// keyboard, 1: controller 1), so tests can script the cabinet's buttons.
class SystemInputs {
  public:
    virtual ~SystemInputs() = default;
    virtual ButtonSet GetButtons(int input) const = 0;
};

// I/O library event report (the shape of the I/O library's own): the top
// byte of `code` is the event kind.
using EventReporter = int (*)(uint32_t code, uint32_t argument);

}  // namespace mareldon
