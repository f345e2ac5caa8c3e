#include "engine/platform/serial/SerialLinkFactory.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "engine/core/Log.h"
#include "engine/platform/serial/DeviceSerialLink.h"
#include "engine/platform/serial/SimulatedSerialLink.h"

namespace mareldon {

std::unique_ptr<SerialLink> OpenSerialLink(const char* portName, JvsSwitchSource* controls) {
    std::string variable = "MARELDON_";
    for (const char* p = portName; *p != '\0'; ++p) {
        variable += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    const char* device = std::getenv(variable.c_str());
    if (device != nullptr && *device != '\0') {
        SenseSource sense;
        if (!SenseSource::Parse(std::getenv("MARELDON_JVS_SENSE"), sense)) {
            LOG_ERROR("serial", "MARELDON_JVS_SENSE is not cts, dcd, dsr or file:PATH");
            return nullptr;
        }
        return DeviceSerialLink::Open(device, sense);
    }
    LOG_INFO("serial", "%s not set: %s talks to the simulated I/O board", variable.c_str(), portName);
    auto board = std::make_shared<JvsBoard>();
    board->SetSwitchSource(controls);
    board->KeepHostFrames(false);
    return std::make_unique<SimulatedSerialLink>(std::move(board));
}

}  // namespace mareldon
