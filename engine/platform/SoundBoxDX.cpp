#include "engine/platform/SoundBoxDX.h"

#include "engine/core/Cp932.h"
#include "engine/core/Log.h"
#include "engine/core/Math.h"
#include "engine/platform/MessageBox.h"
#include "engine/platform/WindowSystem.h"

#include <algorithm>
#include <cstdint>

namespace mareldon {

SoundBuffer::~SoundBuffer() {
    if (output_ != nullptr && buffer_ >= 0) {
        output_->Stop(buffer_);
        output_->ReleaseBuffer(buffer_);
    }
}

RefPtr<SoundBuffer> SoundBox::CreateStreamedSound(const std::shared_ptr<SoundStream>&) {
    return RefPtr<SoundBuffer>();
}

// Levels outside 0..1 and -1..1 (or NaN) still give a defined level, which the
// output clamps; NaN volume is silence and NaN pan the centre.
int32_t VolumeToMillibels(float volume) {
    const float d = 1.0f - volume;
    const int64_t level = -10000 - static_cast<int64_t>(TruncateToInt32((1.0f - d * d) * -10000.0f));
    return static_cast<int32_t>(std::max<int64_t>(level, INT32_MIN));
}

int32_t PanToMillibels(float pan) {
    if (pan < 0.0f) {
        return TruncateToInt32((0.0f - pan) * -10000.0f);
    }
    return TruncateToInt32(pan * 10000.0f);
}

SoundBoxDX::SoundBoxDX(Window* window, std::shared_ptr<SoundOutput> output) : output_(std::move(output)) {
    // The device is the whole machine's, not the window's: no cooperative
    // level, speaker set-up or primary buffer to make, and no music engine.
    if (output_ == nullptr || !output_->Open()) {
        MessageBoxPresenter* presenter =
            window != nullptr && window->system != nullptr ? &window->system->Backend() : nullptr;
        ShowMessageBox(presenter, "SOUNDBOXDX",
                       Utf8ToCp932("DirectSound オブジェクトの作成に失敗しました。").c_str());
        output_.reset();
    }
}

int SoundBoxDX::BufferOf(const RefPtr<SoundBuffer>& sound) const {
    if (output_ == nullptr || !sound) {
        return -1;
    }
    return sound->Buffer();
}

RefPtr<SoundBuffer> SoundBoxDX::CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t, uint32_t,
                                            const RefPtr<PcmRecord>& record) {
    RefPtr<SoundBuffer> sound;
    if (output_ == nullptr || !record) {
        return sound;
    }
    const uint32_t bytes =
        std::min<uint32_t>(record->byteCount, static_cast<uint32_t>(record->samples.size()));
    ++record->useCount;
    const int buffer = output_->CreateBuffer(bits, rate, channels, record->samples.data(), bytes);
    --record->useCount;
    if (buffer < 0) {
        LOG_WARN("sound", "unusable sound: %d bits, %d Hz, %d channels, %u bytes", bits, rate, channels,
                 bytes);
        return sound;  // a sound without buffer: every operation ignores it
    }
    output_->SetVolume(buffer, 0);
    output_->SetPan(buffer, 0);
    sound.Reset(new SoundBuffer(output_, buffer));
    return sound;
}

RefPtr<SoundBuffer> SoundBoxDX::CreateStreamedSound(const std::shared_ptr<SoundStream>& stream) {
    RefPtr<SoundBuffer> sound;
    if (output_ == nullptr || stream == nullptr) {
        return sound;
    }
    const int buffer = output_->CreateStream(stream);
    if (buffer < 0) {
        LOG_WARN("sound", "unusable sound stream");
        return sound;
    }
    // Full level: the game's cue volumes do not reach it.
    output_->SetVolume(buffer, 0);
    output_->SetPan(buffer, 0);
    sound.Reset(new SoundBuffer(output_, buffer));
    return sound;
}

void SoundBoxDX::SetSoundVolume(const RefPtr<SoundBuffer>& sound, float volume) {
    const int buffer = BufferOf(sound);
    if (buffer >= 0) {
        output_->SetVolume(buffer, VolumeToMillibels(volume));
    }
}

void SoundBoxDX::SetMasterVolume(float volume) {
    // Kept as the original had it: the master level never attenuates.
    const float d = 1.0f - volume;
    if (output_ != nullptr) {
        output_->SetMasterVolume(TruncateToInt32((1.0f - d * d) * 0.0f));
    }
}

void SoundBoxDX::SetSoundPan(const RefPtr<SoundBuffer>& sound, float pan) {
    const int buffer = BufferOf(sound);
    if (buffer >= 0) {
        output_->SetPan(buffer, PanToMillibels(pan));
    }
}

void SoundBoxDX::SetMasterPan(float pan) {
    if (output_ != nullptr) {
        output_->SetMasterPan(PanToMillibels(pan));
    }
}

void SoundBoxDX::Play(const RefPtr<SoundBuffer>& sound, uint8_t loop) {
    const int buffer = BufferOf(sound);
    if (buffer < 0) {
        return;
    }
    sound->loop = loop;
    output_->SetPosition(buffer, 0);
    output_->Play(buffer, loop != 0);
}

void SoundBoxDX::Stop(const RefPtr<SoundBuffer>& sound) {
    const int buffer = BufferOf(sound);
    if (buffer < 0) {
        return;
    }
    output_->SetPosition(buffer, 0);
    output_->Stop(buffer);
}

void SoundBoxDX::Pause(const RefPtr<SoundBuffer>& sound) {
    const int buffer = BufferOf(sound);
    if (buffer >= 0) {
        output_->Stop(buffer);
    }
}

void SoundBoxDX::Resume(const RefPtr<SoundBuffer>& sound) {
    const int buffer = BufferOf(sound);
    if (buffer >= 0) {
        output_->Play(buffer, sound->loop != 0);
    }
}

bool SoundBoxDX::IsLooping(const RefPtr<SoundBuffer>& sound) {
    const int buffer = BufferOf(sound);
    return buffer >= 0 && (output_->Status(buffer) & kSoundLooping) != 0;
}

bool SoundBoxDX::IsPlaying(const RefPtr<SoundBuffer>& sound) {
    const int buffer = BufferOf(sound);
    return buffer >= 0 && (output_->Status(buffer) & kSoundPlaying) != 0;
}

}  // namespace mareldon
