#include "game/system/SoundCueRef.h"

#include "engine/platform/SoundBox.h"
#include "engine/render/archive/ResourceManager.h"

namespace mareldon {

SoundCueRef::SoundCueRef(ResourceManager* resources, const RefPtr<SoundBox>& device, const String& name) {
    if (resources == nullptr || !device || resources->SoundCount() == 0) {
        return;
    }
    // A missing name (-1) is out of range, which the lookup turns into the first sound.
    sound_ = resources->AcquireSound(resources->FindSoundIndex(name));
    if (sound_) {
        device_ = device;
    }
}

void SoundCueRef::SetVolume(float volume) {
    if (!IsEmpty()) {
        device_->SetSoundVolume(sound_, volume);
    }
}

void SoundCueRef::SetPan(float pan) {
    if (!IsEmpty()) {
        device_->SetSoundPan(sound_, pan);
    }
}

void SoundCueRef::Play(uint8_t loop) {
    if (!IsEmpty()) {
        device_->Play(sound_, loop);
    }
}

void SoundCueRef::Stop() {
    if (!IsEmpty()) {
        device_->Stop(sound_);
    }
}

void SoundCueRef::Pause() {
    if (!IsEmpty()) {
        device_->Pause(sound_);
    }
}

void SoundCueRef::Resume() {
    if (!IsEmpty()) {
        device_->Resume(sound_);
    }
}

void SoundCueRef::Release() {
    sound_ = RefPtr<SoundBuffer>();
    device_ = RefPtr<SoundBox>();
}

}  // namespace mareldon
