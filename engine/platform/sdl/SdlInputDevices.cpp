#include "engine/platform/sdl/SdlInputDevices.h"

#include "engine/core/Log.h"

namespace mareldon {

SdlInputDevices::SdlInputDevices(int maxPads) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        LOG_WARN("input", "no joysticks: %s", SDL_GetError());
        return;
    }
    initialised_ = true;
    for (int i = 0; i < SDL_NumJoysticks() && static_cast<int>(joysticks_.size()) < maxPads; ++i) {
        if (SDL_Joystick* joystick = SDL_JoystickOpen(i)) {
            joysticks_.push_back(joystick);
        }
    }
}

SdlInputDevices::~SdlInputDevices() {
    for (SDL_Joystick* joystick : joysticks_) {
        SDL_JoystickClose(joystick);
    }
    if (initialised_) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
}

bool SdlInputDevices::PadConnected(int slot) {
    return slot >= 0 && slot < PadCount() && SDL_JoystickGetAttached(joysticks_[static_cast<size_t>(slot)]);
}

// SDL cannot tell whether a mouse is plugged in; a video subsystem means a pointer.
bool SdlInputDevices::MouseConnected() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

}  // namespace mareldon
