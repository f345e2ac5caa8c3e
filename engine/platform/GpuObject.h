#pragma once

#include "engine/platform/GpuDevice.h"
#include "engine/platform/GpuResource.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// The adapter-level object: display modes, capabilities, format checks and
// device creation. Adapter 0 is the only adapter.
class GpuObject : public GpuResource {
  public:
    virtual GpuResult GetAdapterDisplayMode(uint32_t adapter, GpuDisplayMode* mode) = 0;
    virtual GpuResult GetDeviceCaps(uint32_t adapter, GpuDeviceType type, GpuCaps* caps) = 0;
    virtual GpuResult CheckDeviceType(uint32_t adapter, GpuDeviceType type, GpuFormat displayFormat,
                                      GpuFormat backBufferFormat, bool windowed) = 0;
    virtual GpuResult CheckDeviceFormat(uint32_t adapter, GpuDeviceType type, GpuFormat adapterFormat,
                                        uint32_t usage, GpuResourceType resourceType, GpuFormat format) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter) = 0;
    virtual GpuResult EnumAdapterModes(uint32_t adapter, uint32_t index, GpuDisplayMode* mode) = 0;
    virtual GpuResult CreateDevice(uint32_t adapter, GpuDeviceType type, GpuWindowHandle focusWindow,
                                   uint32_t behaviorFlags, GpuPresentParameters* parameters,
                                   GpuDevice** device) = 0;
};

}  // namespace mareldon
