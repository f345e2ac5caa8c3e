#pragma once

#include "engine/platform/SoundMixer.h"

#include <cstdint>

namespace mareldon {

// The mixer played through one SDL audio device: stereo float frames at the
// device's rate, mixed on SDL's audio thread.
class SdlSoundOutput final : public SoundMixer {
  public:
    SdlSoundOutput() = default;
    ~SdlSoundOutput() override;

    bool Open() override;

    // Sees every mixed block on the audio thread (tests check levels with it).
    using Monitor = void (*)(const float* frames, int count, void* user);
    void SetMonitor(Monitor monitor, void* user);

  private:
    static void Callback(void* user, uint8_t* stream, int length);

    uint32_t device_ = 0;
    bool subsystem_ = false;
    Monitor monitor_ = nullptr;
    void* monitorUser_ = nullptr;
};

class SoundBox;
class Window;

// The sound device on SDL audio, for the main window.
SoundBox* CreateSoundBox(Window* window);

}  // namespace mareldon
