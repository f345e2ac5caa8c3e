#pragma once

#include <cstdint>

#include "engine/core/PlayerInput.h"

namespace mareldon {

class SystemTask;

// A screen's own view of one player's controls: a player input under the input
// manager on the given devices, with the game's key map; or, when the game
// system's buttons are scripted (tests), that script's input `scriptedInput`.
class ScreenInput {
  public:
    // Device flags of the usual pairs.
    static constexpr uint32_t kPlayer1 = PlayerInput::kPad0 | PlayerInput::kKeyboard;      // 0x11
    static constexpr uint32_t kPlayer2 = PlayerInput::kPad1;                               // 0x02
    static constexpr uint32_t kPlayer2Keys = PlayerInput::kPad1 | PlayerInput::kKeyboard;  // 0x12

    ScreenInput(SystemTask& task, uint32_t deviceFlags, int scriptedInput);
    ~ScreenInput();
    ScreenInput(const ScreenInput&) = delete;
    ScreenInput& operator=(const ScreenInput&) = delete;

    ButtonSet Buttons() const;
    bool Pressed(uint32_t bits) const { return (Buttons().pressed & bits) != 0; }
    bool Repeated(uint32_t bits) const { return (Buttons().repeat & bits) != 0; }
    bool Released(uint32_t bits) const { return (Buttons().released & bits) != 0; }

  private:
    SystemTask& task_;
    int scriptedInput_;
    PlayerInput* input_ = nullptr;
};

// Logical buttons the screens test.
namespace ScreenButton {
constexpr uint32_t kUp = 0x1;
constexpr uint32_t kDown = 0x2;
constexpr uint32_t kLeft = 0x4;
constexpr uint32_t kRight = 0x8;
constexpr uint32_t kFirst = 0x40;
constexpr uint32_t kSecond = 0x80;
constexpr uint32_t kStart = 0x200;
constexpr uint32_t kCoin = 0x400;
constexpr uint32_t kService = 0x800;
}  // namespace ScreenButton

}  // namespace mareldon
