#pragma once

#include <SDL.h>

#include <vector>

#include "engine/platform/InputDevices.h"

namespace mareldon {

// The joysticks attached at start, in SDL's order, and the mouse.
class SdlInputDevices final : public InputDevices {
  public:
    explicit SdlInputDevices(int maxPads);
    ~SdlInputDevices() override;
    SdlInputDevices(const SdlInputDevices&) = delete;
    SdlInputDevices& operator=(const SdlInputDevices&) = delete;

    int PadCount() override { return static_cast<int>(joysticks_.size()); }
    bool PadConnected(int slot) override;
    bool MouseConnected() override;

  private:
    bool initialised_ = false;
    std::vector<SDL_Joystick*> joysticks_;
};

}  // namespace mareldon
