#include "engine/platform/recording/RecordingSoundOutput.h"

#include "engine/platform/SoundStream.h"

#include <cstdio>

namespace mareldon {

void RecordingSoundOutput::Add(const char* format, long a, long b, long c, long d, long e) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b, c, d, e);
    log_.push_back(line);
}

bool RecordingSoundOutput::Open() {
    Add(openSucceeds_ ? "open" : "open failed", 0);
    return openSucceeds_;
}

int RecordingSoundOutput::CreateBuffer(int bits, int rate, int channels, const uint8_t* samples,
                                       uint32_t bytes) {
    const int buffer = SoundMixer::CreateBuffer(bits, rate, channels, samples, bytes);
    Add("create %ld %ld %ld %ld -> %ld", bits, rate, channels, static_cast<long>(bytes), buffer);
    return buffer;
}

int RecordingSoundOutput::CreateStream(std::shared_ptr<SoundStream> stream) {
    const long rate = stream != nullptr ? stream->Rate() : 0;
    const long channels = stream != nullptr ? stream->Channels() : 0;
    const int buffer = SoundMixer::CreateStream(std::move(stream));
    Add("stream %ld %ld -> %ld", rate, channels, buffer);
    return buffer;
}

void RecordingSoundOutput::ReleaseBuffer(int buffer) {
    Add("release %ld", buffer);
    SoundMixer::ReleaseBuffer(buffer);
}

void RecordingSoundOutput::SetVolume(int buffer, int32_t millibels) {
    Add("volume %ld %ld", buffer, millibels);
    SoundMixer::SetVolume(buffer, millibels);
}

void RecordingSoundOutput::SetPan(int buffer, int32_t millibels) {
    Add("pan %ld %ld", buffer, millibels);
    SoundMixer::SetPan(buffer, millibels);
}

void RecordingSoundOutput::SetMasterVolume(int32_t millibels) {
    Add("master volume %ld", millibels);
    SoundMixer::SetMasterVolume(millibels);
}

void RecordingSoundOutput::SetMasterPan(int32_t millibels) {
    Add("master pan %ld", millibels);
    SoundMixer::SetMasterPan(millibels);
}

void RecordingSoundOutput::SetPosition(int buffer, uint32_t frame) {
    Add("position %ld %ld", buffer, static_cast<long>(frame));
    SoundMixer::SetPosition(buffer, frame);
}

void RecordingSoundOutput::Play(int buffer, bool loop) {
    Add(loop ? "play %ld loop" : "play %ld", buffer);
    SoundMixer::Play(buffer, loop);
}

void RecordingSoundOutput::Stop(int buffer) {
    Add("stop %ld", buffer);
    SoundMixer::Stop(buffer);
}

}  // namespace mareldon
