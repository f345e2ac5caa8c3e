#include <cctype>
#include <cstdlib>
#include <mutex>
#include <string>

#include "engine/core/Log.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/DeviceSerialLink.h"
#include "engine/platform/serial/SimulatedSerialLink.h"

namespace mareldon {

namespace {

std::mutex g_openerMutex;
SerialLinkOpener g_opener;

// The default board follows whatever control source the program installed.
class InstalledSwitchSource final : public JvsSwitchSource {
  public:
    void Sample(JvsSwitchSample& sample) override {
        if (JvsSwitchSource* source = GetJvsSwitchSource()) {
            source->Sample(sample);
        }
    }
};

std::unique_ptr<SerialLink> OpenDefault(const char* portName) {
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
    static InstalledSwitchSource installed;
    auto board = std::make_shared<JvsBoard>();
    board->SetSwitchSource(&installed);
    return std::make_unique<SimulatedSerialLink>(std::move(board));
}

}  // namespace

std::unique_ptr<SerialLink> OpenSerialLink(const char* portName) {
    SerialLinkOpener opener;
    {
        std::lock_guard lock(g_openerMutex);
        opener = g_opener;
    }
    return opener ? opener(portName) : OpenDefault(portName);
}

SerialLinkOpener SetSerialLinkOpener(SerialLinkOpener opener) {
    std::lock_guard lock(g_openerMutex);
    SerialLinkOpener previous = std::move(g_opener);
    g_opener = std::move(opener);
    return previous;
}

}  // namespace mareldon
