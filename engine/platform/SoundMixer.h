#pragma once

#include "engine/platform/SoundOutput.h"

#include <memory>
#include <mutex>
#include <vector>

namespace mareldon {

// Gain of a level in hundredths of a decibel: 10^(mB/2000), and -10000 or
// below is silence.
float GainFromMillibels(int32_t millibels);

// Software mixer of static buffers into interleaved stereo float frames. The
// controls run on the main thread and Mix on the audio thread; the voice table
// is the only thing they share, under one lock. Mixing allocates nothing.
class SoundMixer : public SoundOutput {
  public:
    SoundMixer();
    ~SoundMixer() override;

    // A mixer alone has no device to open; backends override this.
    bool Open() override;
    int CreateBuffer(int bits, int rate, int channels, const uint8_t* samples, uint32_t bytes) override;
    int CreateStream(std::shared_ptr<SoundStream> stream) override;
    void ReleaseBuffer(int buffer) override;
    void SetVolume(int buffer, int32_t millibels) override;
    void SetPan(int buffer, int32_t millibels) override;
    void SetMasterVolume(int32_t millibels) override;
    void SetMasterPan(int32_t millibels) override;
    void SetPosition(int buffer, uint32_t frame) override;
    void Play(int buffer, bool loop) override;
    void Stop(int buffer) override;
    uint32_t Status(int buffer) override;

    // Rate of the frames Mix writes. Set before mixing starts.
    void SetOutputRate(int rate);
    int OutputRate() const { return outputRate_; }
    // Writes frames stereo frames (2 floats each), clipped to [-1, 1].
    void Mix(float* out, int frames);
    // Buffers made and not yet released.
    int LiveVoices() const;

  private:
    struct Voice;
    Voice* Find(int buffer);
    int AddVoice(std::unique_ptr<Voice> voice);
    void UpdateGains(Voice& v);
    void MixStream(Voice& v, float* out, int frames, float gl, float gr);

    mutable std::mutex lock_;
    std::vector<std::unique_ptr<Voice>> voices_;  // a released slot is null
    int outputRate_ = 48000;
    float masterLeft_ = 1.0f;
    float masterRight_ = 1.0f;
    float masterGain_ = 1.0f;
};

}  // namespace mareldon
