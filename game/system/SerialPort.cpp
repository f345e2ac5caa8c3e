#include "game/system/SerialPort.h"

#include <algorithm>

namespace mareldon {

namespace {
// A plain pointer: the bus may still close the port while statics are torn down.
SerialLink* g_port = nullptr;
}  // namespace

namespace SerialPort {

int Open(const char* portName, const SerialLinkOpener& open) {
    if (g_port || !open) {
        return 0;
    }
    g_port = open(portName).release();
    return g_port != nullptr ? 1 : 0;
}

void Close() {
    delete g_port;
    g_port = nullptr;
}

bool IsOpen() {
    return g_port != nullptr;
}

int Write(const uint8_t* data, int length) {
    if (!g_port || length <= 0) {
        return 0;
    }
    return std::max(0, g_port->Write(data, length));
}

int Read(uint8_t* buffer, int max) {
    if (!g_port || max <= 0) {
        return -1;
    }
    const int waiting = g_port->Available();
    if (waiting < 0) {
        return -1;
    }
    if (waiting == 0) {
        SetRtsIdle(true);
        const int n = g_port->Read(buffer, 1, kReadTimeoutMs);
        SetRtsIdle(false);
        return n;
    }
    return g_port->Read(buffer, std::min(waiting, max), 0);
}

void DiscardInput() {
    if (!g_port) {
        return;
    }
    // Only what is waiting now: a line that never stops sending must not keep
    // the bus here.
    uint8_t sink[64];
    for (int waiting = g_port->Available(); waiting > 0;) {
        const int n = g_port->Read(sink, std::min(waiting, static_cast<int>(sizeof sink)), 0);
        if (n <= 0) {
            break;
        }
        waiting -= n;
    }
}

int ReadSense() {
    return g_port ? g_port->ReadSense() : -1;
}

void SetRtsIdle(bool idle) {
    if (g_port) {
        g_port->SetRts(!idle);
    }
}

}  // namespace SerialPort

}  // namespace mareldon
