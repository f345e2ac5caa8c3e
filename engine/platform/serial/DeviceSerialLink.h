#pragma once

#include <memory>
#include <string>

#include "engine/platform/SerialLink.h"

namespace mareldon {

// Where the sense line comes from. Real adapters carry it on a modem line; a
// pseudo-terminal has none, so its far end publishes it in a file ("0" or "1").
struct SenseSource {
    enum class Kind { Cts, Dcd, Dsr, File } kind = Kind::Cts;
    std::string path;
    // "cts", "dcd", "dsr", "file:PATH" or a bare path; empty means CTS.
    static bool Parse(const char* text, SenseSource& out);
};

// A termios serial device in raw mode, 115200 8N1, no flow control.
class DeviceSerialLink final : public SerialLink {
  public:
    static std::unique_ptr<DeviceSerialLink> Open(const std::string& path, const SenseSource& sense);
    ~DeviceSerialLink() override;

    int Write(const uint8_t* data, int length) override;
    int Available() override;
    int Read(uint8_t* buffer, int max, uint32_t timeoutMs) override;
    int ReadSense() override;
    void SetRts(bool on) override;

  private:
    DeviceSerialLink(int fd, std::string path, SenseSource sense);

    int fd_;
    std::string path_;
    SenseSource sense_;
    bool senseWarned_ = false;
};

}  // namespace mareldon
