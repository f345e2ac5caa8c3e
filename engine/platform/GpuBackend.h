#pragma once

#include "engine/platform/GpuObject.h"

namespace mareldon {

// Makes the adapter-level objects: one per backend (OpenGL on SDL, or the
// recording backend of the tests).
class GpuBackend {
  public:
    virtual ~GpuBackend() = default;
    // Null when the backend cannot serve the version.
    virtual GpuObject* CreateObject(uint32_t sdkVersion) = 0;
};

// The backend the graphics device uses; none until one is installed.
GpuBackend* GetGpuBackend();
// Installs a backend (nullptr removes it); returns the previous one.
GpuBackend* SetGpuBackend(GpuBackend* backend);
// Asks the installed backend for an object; null without a backend.
GpuObject* CreateGpuObject(uint32_t sdkVersion);

// Installs a backend for the lifetime of a scope.
class ScopedGpuBackend {
  public:
    explicit ScopedGpuBackend(GpuBackend& backend) : previous_(SetGpuBackend(&backend)) {}
    ~ScopedGpuBackend() { SetGpuBackend(previous_); }
    ScopedGpuBackend(const ScopedGpuBackend&) = delete;
    ScopedGpuBackend& operator=(const ScopedGpuBackend&) = delete;

  private:
    GpuBackend* previous_;
};

}  // namespace mareldon
