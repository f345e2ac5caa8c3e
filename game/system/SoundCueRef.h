#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class ResourceManager;
class SoundBox;
class SoundBuffer;

// A counted reference to the sound of a named sound entry and the device it
// plays on. A name the archive lacks gives its first sound; an archive without
// sounds (or no device) gives an empty cue, whose every operation does nothing.
class SoundCueRef {
  public:
    SoundCueRef() = default;
    SoundCueRef(ResourceManager* resources, const RefPtr<SoundBox>& device, const String& name);

    bool IsEmpty() const { return !sound_ || !device_; }
    const RefPtr<SoundBuffer>& Sound() const { return sound_; }

    // volume 0..1, pan -1..1
    void SetVolume(float volume);
    void SetPan(float pan);
    // From the start; looped when loop is not 0.
    void Play(uint8_t loop);
    // Stops and rewinds.
    void Stop();
    // Stops where it is; Resume plays on from there.
    void Pause();
    void Resume();
    void Release();

  private:
    RefPtr<SoundBox> device_;
    RefPtr<SoundBuffer> sound_;
};

}  // namespace mareldon
