#include "engine/platform/InputDevices.h"

#include <atomic>

namespace mareldon {

namespace {
std::atomic<InputDevices*> g_devices{nullptr};
}

void SetInputDevices(InputDevices* devices) {
    g_devices.store(devices, std::memory_order_release);
}

InputDevices* GetInputDevices() {
    return g_devices.load(std::memory_order_acquire);
}

}  // namespace mareldon
