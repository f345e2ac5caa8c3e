#include "engine/platform/gl/GlGpu.h"

#include <cstdlib>
#include <cstring>

#include "engine/core/Log.h"
#include "engine/platform/GpuContract.h"
#include "engine/platform/gl/GlFormats.h"
#include "engine/platform/gl/GlGpuDevice.h"

namespace mareldon {

bool GlWindowForced() {
    const char* value = std::getenv("MARELDON_WINDOWED");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

GpuObject* GlGpuBackend::CreateObject(uint32_t sdkVersion) {
    if (sdkVersion != kGpuSdkVersion) {
        return nullptr;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        LOG_ERROR("gl", "SDL video is not initialised; no graphics");
        return nullptr;
    }
    return new GlGpuObject(maxVertexShaderConst_);
}

GpuFormat GlGpuObject::DisplayFormat(uint32_t sdlFormat) {
    if (SDL_BITSPERPIXEL(sdlFormat) == 16) {
        return GpuFormat::R5G6B5;
    }
    if (SDL_BITSPERPIXEL(sdlFormat) == 15) {
        return GpuFormat::X1R5G5B5;
    }
    return GpuFormat::X8R8G8B8;
}

GlGpuObject::GlGpuObject(uint32_t maxVertexShaderConst) : maxVertexShaderConst_(maxVertexShaderConst) {
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
            continue;
        }
        modes_.push_back({static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h),
                          static_cast<uint32_t>(mode.refresh_rate), DisplayFormat(mode.format)});
    }
    if (modes_.empty()) {
        // A display without a mode list (the offscreen driver) offers what
        // any VGA display does, in both orientations.
        modes_.push_back({640, 480, 60, GpuFormat::X8R8G8B8});
        modes_.push_back({480, 640, 60, GpuFormat::X8R8G8B8});
    }
}

GpuResult GlGpuObject::GetAdapterDisplayMode(uint32_t adapter, GpuDisplayMode* mode) {
    if (adapter != 0 || mode == nullptr) {
        return kGpuErrorInvalidCall;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        *mode = {static_cast<uint32_t>(desktop.w), static_cast<uint32_t>(desktop.h),
                 static_cast<uint32_t>(desktop.refresh_rate), DisplayFormat(desktop.format)};
    } else {
        *mode = modes_.front();
    }
    return kGpuOk;
}

GpuResult GlGpuObject::GetDeviceCaps(uint32_t adapter, GpuDeviceType type, GpuCaps* caps) {
    if (adapter != 0 || caps == nullptr) {
        return kGpuErrorInvalidCall;
    }
    // One real device; no reference rasteriser.
    if (type != GpuDeviceType::HAL) {
        return kGpuErrorNotAvailable;
    }
    caps->DeviceType = type;
    caps->VertexShaderVersion = GpuVertexShaderVersion(1, 1);
    caps->PixelShaderVersion = GpuPixelShaderVersion(1, 1);
    caps->MaxVertexShaderConst = maxVertexShaderConst_;
    return kGpuOk;
}

GpuResult GlGpuObject::CheckDeviceType(uint32_t adapter, GpuDeviceType type, GpuFormat displayFormat,
                                       GpuFormat backBufferFormat, bool windowed) {
    if (adapter != 0 || type != GpuDeviceType::HAL) {
        return kGpuErrorNotAvailable;
    }
    if (!GlFormatOf(backBufferFormat).renderable) {
        return kGpuErrorNotAvailable;
    }
    if (windowed) {
        return kGpuOk;
    }
    // Full screen needs the display to offer modes of that format.
    if (displayFormat != backBufferFormat) {
        return kGpuErrorNotAvailable;
    }
    for (const GpuDisplayMode& mode : modes_) {
        if (mode.Format == displayFormat) {
            return kGpuOk;
        }
    }
    return kGpuErrorNotAvailable;
}

GpuResult GlGpuObject::CheckDeviceFormat(uint32_t adapter, GpuDeviceType type, GpuFormat, uint32_t usage,
                                         GpuResourceType, GpuFormat format) {
    if (adapter != 0 || type != GpuDeviceType::HAL) {
        return kGpuErrorNotAvailable;
    }
    GlFormat gl = GlFormatOf(format);
    if (gl.internalFormat == 0) {
        return kGpuErrorNotAvailable;
    }
    if (usage & kGpuUsageDepthStencil) {
        return gl.depth ? kGpuOk : kGpuErrorNotAvailable;
    }
    if (usage & kGpuUsageRenderTarget) {
        return gl.renderable ? kGpuOk : kGpuErrorNotAvailable;
    }
    return gl.sampled ? kGpuOk : kGpuErrorNotAvailable;
}

uint32_t GlGpuObject::GetAdapterModeCount(uint32_t adapter) {
    return adapter == 0 ? static_cast<uint32_t>(modes_.size()) : 0;
}

GpuResult GlGpuObject::EnumAdapterModes(uint32_t adapter, uint32_t index, GpuDisplayMode* mode) {
    if (adapter != 0 || mode == nullptr || index >= modes_.size()) {
        return kGpuErrorInvalidCall;
    }
    *mode = modes_[index];
    return kGpuOk;
}

GpuResult GlGpuObject::CreateDevice(uint32_t adapter, GpuDeviceType type, GpuWindowHandle focusWindow,
                                    uint32_t, GpuPresentParameters* parameters, GpuDevice** device) {
    if (device == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *device = nullptr;
    if (adapter != 0 || type != GpuDeviceType::HAL || GpuFailed(GpuContract::PresentParameters(parameters))) {
        return kGpuErrorInvalidCall;
    }
    GpuCaps caps;
    GetDeviceCaps(adapter, type, &caps);
    GpuWindowHandle window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    GlGpuDevice* created = GlGpuDevice::Create(static_cast<SDL_Window*>(window), *parameters, caps);
    if (created == nullptr) {
        return kGpuErrorNotAvailable;
    }
    *device = created;
    return kGpuOk;
}

}  // namespace mareldon
