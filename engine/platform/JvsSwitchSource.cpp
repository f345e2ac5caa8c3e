#include "engine/platform/JvsSwitchSource.h"

#include <atomic>

namespace mareldon {

namespace {
std::atomic<JvsSwitchSource*> g_source{nullptr};
}

void SetJvsSwitchSource(JvsSwitchSource* source) {
    g_source.store(source, std::memory_order_release);
}

JvsSwitchSource* GetJvsSwitchSource() {
    return g_source.load(std::memory_order_acquire);
}

}  // namespace mareldon
