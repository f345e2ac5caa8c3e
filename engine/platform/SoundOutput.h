#pragma once

#include <cstdint>
#include <memory>

namespace mareldon {

class SoundStream;

// Status bits of a sound buffer, as the sound device reports them.
enum : uint32_t { kSoundPlaying = 0x1, kSoundLooping = 0x4 };

// The audio device under the sound device: static PCM buffers with the
// controls the game uses. Levels are hundredths of a decibel: volume -10000
// (silent) to 0, pan -10000 (left only) to 10000 (right only).
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Opens the device; false when there is none (the sound device stays silent).
    virtual bool Open() = 0;
    // A buffer holding a copy of the samples (8-bit unsigned or 16-bit signed
    // little-endian, interleaved); -1 when the format makes no sense.
    virtual int CreateBuffer(int bits, int rate, int channels, const uint8_t* samples, uint32_t bytes) = 0;
    // A buffer that plays what another thread writes into the stream (mono or
    // stereo); -1 when the format makes no sense. Setting its position to 0
    // clears the stream; it never loops.
    virtual int CreateStream(std::shared_ptr<SoundStream> stream) = 0;
    virtual void ReleaseBuffer(int buffer) = 0;
    virtual void SetVolume(int buffer, int32_t millibels) = 0;
    virtual void SetPan(int buffer, int32_t millibels) = 0;
    virtual void SetMasterVolume(int32_t millibels) = 0;
    virtual void SetMasterPan(int32_t millibels) = 0;
    // Play position in sample frames.
    virtual void SetPosition(int buffer, uint32_t frame) = 0;
    virtual void Play(int buffer, bool loop) = 0;
    virtual void Stop(int buffer) = 0;
    virtual uint32_t Status(int buffer) = 0;
};

}  // namespace mareldon
