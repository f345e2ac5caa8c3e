#include "engine/platform/sdl/SdlSwitchSource.h"

#include <algorithm>

#include "engine/core/Log.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "input";
// Half deflection counts as a direction.
constexpr int kStickThreshold = 16384;

struct KeyBinding {
    SDL_Scancode key;
    int player;
    uint16_t switches;
};

constexpr KeyBinding kKeys[] = {
    {SDL_SCANCODE_1, 0, kJvsStart},     {SDL_SCANCODE_2, 1, kJvsStart},     {SDL_SCANCODE_9, 0, kJvsService},
    {SDL_SCANCODE_UP, 0, kJvsUp},       {SDL_SCANCODE_DOWN, 0, kJvsDown},   {SDL_SCANCODE_LEFT, 0, kJvsLeft},
    {SDL_SCANCODE_RIGHT, 0, kJvsRight}, {SDL_SCANCODE_LCTRL, 0, kJvsPush1}, {SDL_SCANCODE_LALT, 0, kJvsPush2},
    {SDL_SCANCODE_SPACE, 0, kJvsPush3}, {SDL_SCANCODE_R, 1, kJvsUp},        {SDL_SCANCODE_F, 1, kJvsDown},
    {SDL_SCANCODE_D, 1, kJvsLeft},      {SDL_SCANCODE_G, 1, kJvsRight},     {SDL_SCANCODE_A, 1, kJvsPush1},
    {SDL_SCANCODE_S, 1, kJvsPush2},     {SDL_SCANCODE_Q, 1, kJvsPush3},
};

uint16_t ButtonSwitch(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return kJvsPush1;
        case SDL_CONTROLLER_BUTTON_B:
            return kJvsPush2;
        case SDL_CONTROLLER_BUTTON_X:
            return kJvsPush3;
        case SDL_CONTROLLER_BUTTON_START:
            return kJvsStart;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return kJvsUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return kJvsDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return kJvsLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return kJvsRight;
        default:
            return 0;
    }
}

}  // namespace

SdlSwitchSource::SdlSwitchSource() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        LOG_WARN(kLog, "no game controllers: %s", SDL_GetError());
        return;
    }
    initialised_ = true;
    // Controllers already attached are announced as added events too, but only
    // to a watch installed before the first pump; open them here to be sure.
    SDL_AddEventWatch(Watch, this);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        OpenController(i);
    }
}

SdlSwitchSource::~SdlSwitchSource() {
    if (!initialised_) {
        return;
    }
    SDL_DelEventWatch(Watch, this);
    for (Pad& pad : pads_) {
        SDL_GameControllerClose(pad.controller);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SDLCALL SdlSwitchSource::Watch(void* self, SDL_Event* event) {
    static_cast<SdlSwitchSource*>(self)->HandleEvent(*event);
    return 0;
}

void SdlSwitchSource::Sample(JvsSwitchSample& sample) {
    std::lock_guard lock(mutex_);
    sample.test = testKey_;
    for (int player = 0; player < 2; ++player) {
        uint16_t switches = keys_[player];
        for (const Pad& pad : pads_) {
            if (pad.player == player) {
                switches = static_cast<uint16_t>(switches | pad.buttons | pad.stick);
            }
        }
        sample.players[player] = switches;
        sample.coins[player] = coins_[player];
        coins_[player] = 0;
    }
}

void SdlSwitchSource::HandleEvent(const SDL_Event& event) {
    // SDL calls go outside the lock: opening or closing a controller sends
    // events of its own, which come straight back here.
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        OpenController(event.cdevice.which);
        return;
    }
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* controller = nullptr;
        {
            std::lock_guard lock(mutex_);
            auto it = std::find_if(pads_.begin(), pads_.end(),
                                   [&](const Pad& p) { return p.id == event.cdevice.which; });
            if (it != pads_.end()) {
                LOG_INFO(kLog, "game controller for player %d removed", it->player + 1);
                controller = it->controller;
                pads_.erase(it);
            }
        }
        if (controller != nullptr) {
            SDL_GameControllerClose(controller);
        }
        return;
    }
    std::lock_guard lock(mutex_);
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(event.key.keysym.scancode, event.type == SDL_KEYDOWN, event.key.repeat != 0);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = FindPad(event.cbutton.which)) {
                const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
                if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) {
                    if (down && coins_[pad->player] < 0xFF) {
                        ++coins_[pad->player];
                    }
                    break;
                }
                const uint16_t bit = ButtonSwitch(event.cbutton.button);
                pad->buttons = static_cast<uint16_t>(down ? pad->buttons | bit : pad->buttons & ~bit);
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = FindPad(event.caxis.which)) {
                const int value = event.caxis.value;
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                    pad->stick = static_cast<uint16_t>(pad->stick & ~(kJvsLeft | kJvsRight));
                    pad->stick |= value <= -kStickThreshold  ? kJvsLeft
                                  : value >= kStickThreshold ? kJvsRight
                                                             : 0;
                } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                    pad->stick = static_cast<uint16_t>(pad->stick & ~(kJvsUp | kJvsDown));
                    pad->stick |= value <= -kStickThreshold  ? kJvsUp
                                  : value >= kStickThreshold ? kJvsDown
                                                             : 0;
                }
            }
            break;
        default:
            break;
    }
}

void SdlSwitchSource::HandleKey(SDL_Scancode key, bool down, bool repeat) {
    if (key == SDL_SCANCODE_F2) {
        testKey_ = down;
        return;
    }
    if (key == SDL_SCANCODE_5 || key == SDL_SCANCODE_6) {
        const int slot = key == SDL_SCANCODE_5 ? 0 : 1;
        if (down && !repeat && coins_[slot] < 0xFF) {
            ++coins_[slot];
        }
        return;
    }
    for (const KeyBinding& binding : kKeys) {
        if (binding.key == key) {
            uint16_t& bits = keys_[binding.player];
            bits = static_cast<uint16_t>(down ? bits | binding.switches : bits & ~binding.switches);
        }
    }
}

void SdlSwitchSource::OpenController(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    {
        std::lock_guard lock(mutex_);
        if (id < 0 || FindPad(id) != nullptr) {
            return;
        }
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        LOG_WARN(kLog, "cannot open game controller %d: %s", deviceIndex, SDL_GetError());
        return;
    }
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(deviceIndex), guid, sizeof guid);
    const char* name = SDL_GameControllerName(controller);
    {
        std::lock_guard lock(mutex_);
        // Opening may have announced the same controller again.
        if (FindPad(id) == nullptr) {
            // The first free player takes it; a third controller joins player 2.
            int player = 0;
            while (player < 1 && std::any_of(pads_.begin(), pads_.end(),
                                             [&](const Pad& p) { return p.player == player; })) {
                ++player;
            }
            LOG_INFO(kLog, "game controller \"%s\" (GUID %s) is player %d", name != nullptr ? name : "?",
                     guid, player + 1);
            pads_.push_back({controller, id, player, 0, 0});
            return;
        }
    }
    SDL_GameControllerClose(controller);
}

SdlSwitchSource::Pad* SdlSwitchSource::FindPad(SDL_JoystickID id) {
    for (Pad& pad : pads_) {
        if (pad.id == id) {
            return &pad;
        }
    }
    return nullptr;
}

}  // namespace mareldon
