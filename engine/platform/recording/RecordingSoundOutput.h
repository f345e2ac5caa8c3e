#pragma once

#include "engine/platform/SoundMixer.h"

#include <string>
#include <vector>

namespace mareldon {

// The mixer without a device: every call is logged, and tests pull the mixed
// frames themselves with Mix. Open can be made to fail.
class RecordingSoundOutput final : public SoundMixer {
  public:
    explicit RecordingSoundOutput(bool openSucceeds = true) : openSucceeds_(openSucceeds) {}

    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

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

  private:
    void Add(const char* format, long a, long b = 0, long c = 0, long d = 0, long e = 0);

    bool openSucceeds_;
    std::vector<std::string> log_;
};

}  // namespace mareldon
