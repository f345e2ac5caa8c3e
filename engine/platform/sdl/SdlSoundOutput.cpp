#include "engine/platform/sdl/SdlSoundOutput.h"

#include "engine/core/Log.h"
#include "engine/platform/SoundBoxDX.h"

#include <SDL.h>

namespace mareldon {

SdlSoundOutput::~SdlSoundOutput() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for the callback to finish
    }
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlSoundOutput::Open() {
    if (device_ != 0) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        LOG_WARN("sound", "no audio: %s", SDL_GetError());
        return false;
    }
    subsystem_ = true;
    SDL_AudioSpec want{};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlSoundOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0) {
        LOG_WARN("sound", "cannot open the audio device: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
        return false;
    }
    SetOutputRate(have.freq);
    LOG_INFO("sound", "audio on \"%s\" at %d Hz", SDL_GetCurrentAudioDriver(), have.freq);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlSoundOutput::SetMonitor(Monitor monitor, void* user) {
    if (device_ != 0) {
        SDL_LockAudioDevice(device_);
    }
    monitor_ = monitor;
    monitorUser_ = user;
    if (device_ != 0) {
        SDL_UnlockAudioDevice(device_);
    }
}

void SdlSoundOutput::Callback(void* user, uint8_t* stream, int length) {
    auto* self = static_cast<SdlSoundOutput*>(user);
    auto* out = reinterpret_cast<float*>(stream);
    const int frames = length / static_cast<int>(2 * sizeof(float));
    self->Mix(out, frames);
    if (self->monitor_ != nullptr) {
        self->monitor_(out, frames, self->monitorUser_);
    }
}

SoundBox* CreateSoundBox(Window* window) {
    return new SoundBoxDX(window, std::make_shared<SdlSoundOutput>());
}

}  // namespace mareldon
