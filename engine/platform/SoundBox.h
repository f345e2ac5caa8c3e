#pragma once

#include "engine/core/RefPtr.h"
#include "engine/platform/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace mareldon {

class SoundStream;
class Window;

// The samples of one sound as the data archive reads them. useCount is raised
// while the device copies the samples.
struct PcmRecord {
    uint32_t byteCount = 0;
    std::vector<uint8_t> samples;
    int32_t useCount = 0;
};

// One static buffer of the sound device. Destroying it stops and frees it; it
// may outlive the device that made it.
class SoundBuffer {
  public:
    SoundBuffer(std::shared_ptr<SoundOutput> output, int buffer)
        : output_(std::move(output)), buffer_(buffer) {}
    virtual ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    int Buffer() const { return buffer_; }

    uint8_t loop = 0;  // the flag of the last Play
    uint8_t reserved = 0;

  private:
    std::shared_ptr<SoundOutput> output_;
    int buffer_;
};

// The sound device: every sound effect and all music are sounds made from PCM.
// Every operation does nothing on an empty handle or a sound without buffer.
class SoundBox {
  public:
    virtual ~SoundBox() = default;
    // unused1 and unused2 are the archive's two further sound words.
    virtual RefPtr<SoundBuffer> CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t unused1,
                                            uint32_t unused2, const RefPtr<PcmRecord>& record) = 0;
    // volume 0..1
    virtual void SetSoundVolume(const RefPtr<SoundBuffer>& sound, float volume) = 0;
    virtual void SetMasterVolume(float volume) = 0;
    // pan -1 (left) .. 1 (right)
    virtual void SetSoundPan(const RefPtr<SoundBuffer>& sound, float pan) = 0;
    virtual void SetMasterPan(float pan) = 0;
    // From the start; looped when loop is not 0.
    virtual void Play(const RefPtr<SoundBuffer>& sound, uint8_t loop) = 0;
    // Stops and rewinds.
    virtual void Stop(const RefPtr<SoundBuffer>& sound) = 0;
    // Stops where it is.
    virtual void Pause(const RefPtr<SoundBuffer>& sound) = 0;
    // Goes on from where it is, looped as by the last Play.
    virtual void Resume(const RefPtr<SoundBuffer>& sound) = 0;
    // True only while the sound plays looped.
    virtual bool IsLooping(const RefPtr<SoundBuffer>& sound) = 0;
    // True while the sound plays, looped or not.
    virtual bool IsPlaying(const RefPtr<SoundBuffer>& sound) = 0;
    // A sound that plays what another thread writes into the stream (a movie's
    // sound track), at full level. Play and Stop clear the stream, Pause and
    // Resume keep it. An empty handle when the device is silent or cannot stream.
    virtual RefPtr<SoundBuffer> CreateStreamedSound(const std::shared_ptr<SoundStream>& stream);
};

// Volume 0..1 in hundredths of a decibel: -10000 - trunc((1 - (1 - v)^2) * -10000).
int32_t VolumeToMillibels(float volume);
// Pan -1..1 in hundredths of a decibel, symmetric around 0.
int32_t PanToMillibels(float pan);

}  // namespace mareldon
