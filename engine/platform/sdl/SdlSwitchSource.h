#pragma once

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/platform/JvsSwitchSource.h"

namespace mareldon {

// Cabinet controls from the keyboard and SDL game controllers, for the simulated
// I/O board. Keys as arcade emulators have them: 5/6 coin, 1/2 start, 9 service,
// F2 test; player 1 arrows with Left Ctrl, Left Alt, Space; player 2 R F D G
// with A S Q. Controllers (hot-plugged, SDL_GAMECONTROLLERCONFIG honoured) take
// the players in the order they arrive: stick or pad, A B X as the three
// buttons, Start, Back for a coin.
//
// It follows SDL's event stream through an event watch, so whoever pumps the
// events (the window's message loop) keeps it current.
class SdlSwitchSource final : public JvsSwitchSource {
  public:
    SdlSwitchSource();
    ~SdlSwitchSource() override;
    SdlSwitchSource(const SdlSwitchSource&) = delete;
    SdlSwitchSource& operator=(const SdlSwitchSource&) = delete;

    void Sample(JvsSwitchSample& sample) override;
    void HandleEvent(const SDL_Event& event);

  private:
    struct Pad {
        SDL_GameController* controller;
        SDL_JoystickID id;
        int player;
        uint16_t buttons;
        uint16_t stick;
    };

    static int SDLCALL Watch(void* self, SDL_Event* event);
    void HandleKey(SDL_Scancode key, bool down, bool repeat);
    void OpenController(int deviceIndex);
    Pad* FindPad(SDL_JoystickID id);

    std::mutex mutex_;
    bool initialised_ = false;
    uint16_t keys_[2] = {};
    bool testKey_ = false;
    uint16_t coins_[2] = {};
    std::vector<Pad> pads_;
};

}  // namespace mareldon
