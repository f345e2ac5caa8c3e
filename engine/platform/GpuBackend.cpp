#include "engine/platform/GpuBackend.h"

namespace mareldon {

namespace {
GpuBackend* installedBackend = nullptr;
}

GpuBackend* GetGpuBackend() {
    return installedBackend;
}

GpuBackend* SetGpuBackend(GpuBackend* backend) {
    GpuBackend* previous = installedBackend;
    installedBackend = backend;
    return previous;
}

GpuObject* CreateGpuObject(uint32_t sdkVersion) {
    return installedBackend ? installedBackend->CreateObject(sdkVersion) : nullptr;
}

}  // namespace mareldon
