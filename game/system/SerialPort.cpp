#include "game/system/SerialPort.h"

#include <algorithm>
#include <memory>

#include "engine/platform/SerialLink.h"

namespace mareldon {

namespace {
std::unique_ptr<SerialLink> g_port;
}

namespace SerialPort {

int Open(const char* portName) {
    if (g_port) {
        return 0;
    }
    g_port = OpenSerialLink(portName);
    return g_port ? 1 : 0;
}

void Close() {
    g_port.reset();
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
