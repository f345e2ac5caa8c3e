#pragma once

#include "engine/platform/GpuObject.h"

namespace mareldon {

// Makes the adapter-level objects: one per backend (OpenGL on SDL, or the
// recording backend of the tests). The program's main makes one and hands it to
// the graphics device it builds.
class GpuBackend {
  public:
    virtual ~GpuBackend() = default;
    // Null when the backend cannot serve the version.
    virtual GpuObject* CreateObject(uint32_t sdkVersion) = 0;
};

}  // namespace mareldon
