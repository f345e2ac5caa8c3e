#pragma once

#include "engine/platform/SoundBox.h"

namespace mareldon {

// The sound device over an audio output. When the output cannot be opened it
// says so once in a message box (through the window's system; on stderr without
// a window) and stays silent.
class SoundBoxDX final : public SoundBox {
  public:
    SoundBoxDX(Window* window, std::shared_ptr<SoundOutput> output);
    ~SoundBoxDX() override = default;

    RefPtr<SoundBuffer> CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t unused1,
                                    uint32_t unused2, const RefPtr<PcmRecord>& record) override;
    void SetSoundVolume(const RefPtr<SoundBuffer>& sound, float volume) override;
    void SetMasterVolume(float volume) override;
    void SetSoundPan(const RefPtr<SoundBuffer>& sound, float pan) override;
    void SetMasterPan(float pan) override;
    void Play(const RefPtr<SoundBuffer>& sound, uint8_t loop) override;
    void Stop(const RefPtr<SoundBuffer>& sound) override;
    void Pause(const RefPtr<SoundBuffer>& sound) override;
    void Resume(const RefPtr<SoundBuffer>& sound) override;
    bool IsLooping(const RefPtr<SoundBuffer>& sound) override;
    bool IsPlaying(const RefPtr<SoundBuffer>& sound) override;
    RefPtr<SoundBuffer> CreateStreamedSound(const std::shared_ptr<SoundStream>& stream) override;

    bool IsSilent() const { return output_ == nullptr; }

  private:
    // The buffer of a usable sound, or -1.
    int BufferOf(const RefPtr<SoundBuffer>& sound) const;

    std::shared_ptr<SoundOutput> output_;
};

}  // namespace mareldon
