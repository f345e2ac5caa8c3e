#pragma once

#include <cstdint>

#include "engine/platform/SerialLink.h"

namespace mareldon {

// The one serial port of the I/O link, as the bus thread uses it.
namespace SerialPort {

// Read timeout when nothing is waiting.
constexpr uint32_t kReadTimeoutMs = 20;

// Opens the port through `open`. 1 on success; 0 when a port is already open or
// the device cannot be opened.
int Open(const char* portName, const SerialLinkOpener& open);
void Close();
bool IsOpen();
// Bytes written; 0 for length 0 or on failure.
int Write(const uint8_t* data, int length);
// When nothing waits: RTS is released, one byte is awaited for at most the read
// timeout, RTS is set again; 0 or 1. Otherwise the smaller of the waiting count
// and max. -1 when the port is closed or the line is gone.
int Read(uint8_t* buffer, int max);
// Drops whatever bytes are waiting.
void DiscardInput();
// 1 or 0, -1 when no port is open or the line cannot be read.
int ReadSense();
// true releases RTS, false sets it.
void SetRtsIdle(bool idle);

}  // namespace SerialPort

}  // namespace mareldon
