#pragma once

#include <SDL.h>

#include <vector>

#include "engine/platform/GpuBackend.h"
#include "engine/platform/GpuObject.h"

namespace mareldon {

// The device layer on OpenGL through SDL2: the device draws into the SDL
// window given as device window (made with SDL_WINDOW_OPENGL). Needs SDL's
// video subsystem initialised.
class GlGpuBackend final : public GpuBackend {
  public:
    // Null unless the version is the one the device asks for and SDL video runs.
    GpuObject* CreateObject(uint32_t sdkVersion) override;

    // The capability the device reads; both backends report the same number.
    void SetMaxVertexShaderConst(uint32_t count) { maxVertexShaderConst_ = count; }

  private:
    uint32_t maxVertexShaderConst_ = GpuCaps{}.MaxVertexShaderConst;
};

class GlGpuObject final : public GpuObject {
  public:
    explicit GlGpuObject(uint32_t maxVertexShaderConst);

    GpuResult GetAdapterDisplayMode(uint32_t adapter, GpuDisplayMode* mode) override;
    GpuResult GetDeviceCaps(uint32_t adapter, GpuDeviceType type, GpuCaps* caps) override;
    GpuResult CheckDeviceType(uint32_t adapter, GpuDeviceType type, GpuFormat displayFormat,
                              GpuFormat backBufferFormat, bool windowed) override;
    GpuResult CheckDeviceFormat(uint32_t adapter, GpuDeviceType type, GpuFormat adapterFormat, uint32_t usage,
                                GpuResourceType resourceType, GpuFormat format) override;
    uint32_t GetAdapterModeCount(uint32_t adapter) override;
    GpuResult EnumAdapterModes(uint32_t adapter, uint32_t index, GpuDisplayMode* mode) override;
    GpuResult CreateDevice(uint32_t adapter, GpuDeviceType type, GpuWindowHandle focusWindow,
                           uint32_t behaviorFlags, GpuPresentParameters* parameters,
                           GpuDevice** device) override;

    // SDL's pixel format as a layer display format.
    static GpuFormat DisplayFormat(uint32_t sdlFormat);

  private:
    std::vector<GpuDisplayMode> modes_;
    uint32_t maxVertexShaderConst_;
};

// True when MARELDON_WINDOWED=1 keeps the program in a window.
bool GlWindowForced();

}  // namespace mareldon
