#include "engine/platform/SoundMixer.h"

#include "engine/platform/SoundStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mareldon {

namespace {

constexpr int32_t kSilence = -10000;
constexpr float kSampleScale = 1.0f / 32768.0f;
// Source frames a stream voice looks at per pass; its scratch holds two more.
constexpr uint32_t kStreamChunk = 1024;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) {
    return std::min(std::max(v, lo), hi);
}

// The pan law of the original sound device: the far side is attenuated by |pan|.
void PanGains(int32_t pan, float& left, float& right) {
    left = pan > 0 ? GainFromMillibels(-pan) : 1.0f;
    right = pan < 0 ? GainFromMillibels(pan) : 1.0f;
}

}  // namespace

float GainFromMillibels(int32_t millibels) {
    if (millibels <= kSilence) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, millibels / 2000.0));
}

struct SoundMixer::Voice {
    std::vector<int16_t> samples;  // interleaved, converted to 16-bit at creation
    uint32_t frames = 0;
    int channels = 1;
    int rate = 0;
    uint64_t position = 0;  // frames, 32.32 fixed point
    bool playing = false;
    bool looping = false;
    int32_t volume = 0;
    int32_t pan = 0;
    float gainLeft = kSampleScale;
    float gainRight = kSampleScale;
    // A streamed voice plays what its writer queues; position holds only the
    // fraction between its first two frames.
    std::shared_ptr<SoundStream> stream;
    std::vector<int16_t> scratch;
};

SoundMixer::SoundMixer() = default;
SoundMixer::~SoundMixer() = default;

bool SoundMixer::Open() {
    return true;
}

void SoundMixer::SetOutputRate(int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    outputRate_ = rate > 0 ? rate : 48000;
}

int SoundMixer::CreateBuffer(int bits, int rate, int channels, const uint8_t* samples, uint32_t bytes) {
    if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2) || rate <= 0 || samples == nullptr) {
        return -1;
    }
    const uint32_t frameBytes = static_cast<uint32_t>(bits / 8 * channels);
    const uint32_t frames = bytes / frameBytes;  // a partial last frame is dropped
    if (frames == 0) {
        return -1;
    }
    auto voice = std::make_unique<Voice>();
    voice->frames = frames;
    voice->channels = channels;
    voice->rate = rate;
    const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(channels);
    voice->samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (bits == 8) {
            voice->samples[i] = static_cast<int16_t>((samples[i] - 128) * 256);
        } else {
            voice->samples[i] = static_cast<int16_t>(samples[2 * i] | (samples[2 * i + 1] << 8));
        }
    }
    return AddVoice(std::move(voice));
}

int SoundMixer::CreateStream(std::shared_ptr<SoundStream> stream) {
    if (stream == nullptr || (stream->Channels() != 1 && stream->Channels() != 2) || stream->Rate() <= 0) {
        return -1;
    }
    auto voice = std::make_unique<Voice>();
    voice->channels = stream->Channels();
    voice->rate = stream->Rate();
    voice->scratch.resize(static_cast<size_t>(kStreamChunk + 2) * static_cast<size_t>(voice->channels));
    voice->stream = std::move(stream);
    return AddVoice(std::move(voice));
}

int SoundMixer::AddVoice(std::unique_ptr<Voice> voice) {
    std::lock_guard<std::mutex> guard(lock_);
    UpdateGains(*voice);
    for (size_t i = 0; i < voices_.size(); ++i) {
        if (!voices_[i]) {
            voices_[i] = std::move(voice);
            return static_cast<int>(i);
        }
    }
    voices_.push_back(std::move(voice));
    return static_cast<int>(voices_.size() - 1);
}

void SoundMixer::ReleaseBuffer(int buffer) {
    std::unique_ptr<Voice> gone;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (Find(buffer) != nullptr) {
            gone = std::move(voices_[static_cast<size_t>(buffer)]);
        }
    }
    // The samples are freed outside the lock, away from the audio thread's way.
}

int SoundMixer::LiveVoices() const {
    std::lock_guard<std::mutex> guard(lock_);
    int live = 0;
    for (const std::unique_ptr<Voice>& voice : voices_) {
        live += voice != nullptr ? 1 : 0;
    }
    return live;
}

SoundMixer::Voice* SoundMixer::Find(int buffer) {
    if (buffer < 0 || static_cast<size_t>(buffer) >= voices_.size()) {
        return nullptr;
    }
    return voices_[static_cast<size_t>(buffer)].get();
}

void SoundMixer::UpdateGains(Voice& v) {
    float left, right;
    PanGains(v.pan, left, right);
    const float gain = GainFromMillibels(v.volume) * kSampleScale;
    v.gainLeft = gain * left;
    v.gainRight = gain * right;
}

void SoundMixer::SetVolume(int buffer, int32_t millibels) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(buffer)) {
        v->volume = Clamp(millibels, kSilence, 0);
        UpdateGains(*v);
    }
}

void SoundMixer::SetPan(int buffer, int32_t millibels) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(buffer)) {
        v->pan = Clamp(millibels, -10000, 10000);
        UpdateGains(*v);
    }
}

void SoundMixer::SetMasterVolume(int32_t millibels) {
    std::lock_guard<std::mutex> guard(lock_);
    masterGain_ = GainFromMillibels(Clamp(millibels, kSilence, 0));
}

void SoundMixer::SetMasterPan(int32_t millibels) {
    std::lock_guard<std::mutex> guard(lock_);
    PanGains(Clamp(millibels, -10000, 10000), masterLeft_, masterRight_);
}

void SoundMixer::SetPosition(int buffer, uint32_t frame) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(buffer)) {
        if (v->stream != nullptr) {
            v->stream->Clear();
            v->position = 0;
            return;
        }
        v->position = static_cast<uint64_t>(std::min(frame, v->frames)) << 32;
    }
}

void SoundMixer::Play(int buffer, bool loop) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(buffer)) {
        if (v->stream == nullptr && (v->position >> 32) >= v->frames) {
            v->position = 0;
        }
        v->playing = true;
        v->looping = loop && v->stream == nullptr;
    }
}

void SoundMixer::Stop(int buffer) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(buffer)) {
        v->playing = false;
    }
}

uint32_t SoundMixer::Status(int buffer) {
    std::lock_guard<std::mutex> guard(lock_);
    const Voice* v = Find(buffer);
    if (v == nullptr || !v->playing) {
        return 0;
    }
    return kSoundPlaying | (v->looping ? kSoundLooping : 0u);
}

void SoundMixer::Mix(float* out, int frames) {
    std::memset(out, 0, sizeof(float) * 2 * static_cast<size_t>(std::max(frames, 0)));
    std::lock_guard<std::mutex> guard(lock_);
    for (const std::unique_ptr<Voice>& slot : voices_) {
        Voice* v = slot.get();
        if (v == nullptr || !v->playing) {
            continue;
        }
        if (v->stream != nullptr) {
            MixStream(*v, out, frames, v->gainLeft * masterGain_ * masterLeft_,
                      v->gainRight * masterGain_ * masterRight_);
            continue;
        }
        const uint64_t step = (static_cast<uint64_t>(v->rate) << 32) / static_cast<uint64_t>(outputRate_);
        const uint64_t end = static_cast<uint64_t>(v->frames) << 32;
        const int16_t* data = v->samples.data();
        const uint32_t last = v->frames - 1;
        const float gl = v->gainLeft * masterGain_ * masterLeft_;
        const float gr = v->gainRight * masterGain_ * masterRight_;
        const bool stereo = v->channels == 2;
        uint64_t pos = v->position;
        float* o = out;
        for (int i = 0; i < frames; ++i, o += 2) {
            if (pos >= end) {
                if (!v->looping) {
                    // A one-shot stops at its end and rewinds, ready to start again.
                    v->playing = false;
                    pos = 0;
                    break;
                }
                pos %= end;
            }
            const uint32_t a = static_cast<uint32_t>(pos >> 32);
            const uint32_t b = a < last ? a + 1 : (v->looping ? 0 : a);
            const float frac = static_cast<float>(static_cast<uint32_t>(pos)) * (1.0f / 4294967296.0f);
            if (stereo) {
                const float l0 = data[2 * a], l1 = data[2 * b];
                const float r0 = data[2 * a + 1], r1 = data[2 * b + 1];
                o[0] += (l0 + (l1 - l0) * frac) * gl;
                o[1] += (r0 + (r1 - r0) * frac) * gr;
            } else {
                const float s0 = data[a], s1 = data[b];
                const float s = s0 + (s1 - s0) * frac;
                o[0] += s * gl;
                o[1] += s * gr;
            }
            pos += step;
        }
        v->position = pos;
    }
    for (int i = 0; i < 2 * frames; ++i) {
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    }
}

// Plays what the stream holds, resampled linearly. When the writer falls
// behind, the rest of the block stays silent and the position waits; a
// finished stream plays out its last frame alone.
void SoundMixer::MixStream(Voice& v, float* out, int frames, float gl, float gr) {
    const uint64_t step = (static_cast<uint64_t>(v.rate) << 32) / static_cast<uint64_t>(outputRate_);
    if (step == 0) {
        return;
    }
    const bool stereo = v.channels == 2;
    const int16_t* data = v.scratch.data();
    const uint64_t chunkEnd = static_cast<uint64_t>(kStreamChunk) << 32;
    uint64_t pos = v.position;  // from the stream's first waiting frame
    float* o = out;
    int done = 0;
    while (done < frames && pos < chunkEnd) {
        // As many output frames as kStreamChunk source frames cover.
        const uint64_t span = (chunkEnd - pos + step - 1) / step;
        const int pass = static_cast<int>(std::min<uint64_t>(static_cast<uint64_t>(frames - done), span));
        const uint32_t need = static_cast<uint32_t>((pos + static_cast<uint64_t>(pass - 1) * step) >> 32) + 2;
        const uint32_t have = v.stream->Peek(v.scratch.data(), need);
        const bool finished = have < need && v.stream->Finished();
        int made = 0;
        for (; made < pass; ++made, pos += step, o += 2) {
            const uint32_t a = static_cast<uint32_t>(pos >> 32);
            const uint32_t f = static_cast<uint32_t>(pos);
            uint32_t b = a + 1;
            if (a >= have) {
                break;
            }
            if (b >= have) {
                if (f != 0 && !finished) {
                    break;  // the next frame is not written yet
                }
                b = a;
            }
            const float t = static_cast<float>(f) * (1.0f / 4294967296.0f);
            if (stereo) {
                const float l0 = data[2 * a], l1 = data[2 * b];
                const float r0 = data[2 * a + 1], r1 = data[2 * b + 1];
                o[0] += (l0 + (l1 - l0) * t) * gl;
                o[1] += (r0 + (r1 - r0) * t) * gr;
            } else {
                const float s0 = data[a], s1 = data[b];
                const float s = s0 + (s1 - s0) * t;
                o[0] += s * gl;
                o[1] += s * gr;
            }
        }
        const uint32_t consumed = static_cast<uint32_t>(std::min<uint64_t>(pos >> 32, have));
        v.stream->Consume(consumed);
        pos -= static_cast<uint64_t>(consumed) << 32;
        done += made;
        if (made < pass) {
            if (finished && consumed == have) {
                pos = 0;  // played out; a Clear starts it again
            }
            break;
        }
    }
    v.position = pos;
}

}  // namespace mareldon
