#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace mareldon {

// One serial line to the cabinet's I/O board: bytes both ways, the RTS line out
// and the board's sense line in. One thread uses a link at a time.
class SerialLink {
  public:
    virtual ~SerialLink() = default;
    // Bytes written, or -1 when the line is gone.
    virtual int Write(const uint8_t* data, int length) = 0;
    // Bytes waiting to be read without blocking, or -1 when the line is gone.
    virtual int Available() = 0;
    // Reads up to max bytes, waiting at most timeoutMs for the first one.
    // 0 when nothing came in time, -1 when the line is gone.
    virtual int Read(uint8_t* buffer, int max, uint32_t timeoutMs) = 0;
    // The sense line: 1 or 0, -1 when it cannot be read.
    virtual int ReadSense() = 0;
    virtual void SetRts(bool on) = 0;
};

// Opens a port by its name ("COM2"); nullptr when it cannot be opened. The
// program's main hands down the real one (engine/platform/serial), tests their
// own; an empty opener opens nothing.
using SerialLinkOpener = std::function<std::unique_ptr<SerialLink>(const char* portName)>;

}  // namespace mareldon
