#include "engine/platform/recording/RecordingGpu.h"

#include <algorithm>
#include <cstdio>

#include "engine/platform/GpuContract.h"
#include "engine/platform/recording/RecordingGpuDevice.h"

namespace mareldon {

namespace {

const char* TypeName(GpuDeviceType type) {
    return type == GpuDeviceType::HAL ? "HAL" : "REF";
}

bool Contains(const std::vector<GpuFormat>& formats, GpuFormat format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

class RecordingGpuObject final : public GpuObject, public RecordingGpuTracked {
  public:
    RecordingGpuObject(std::shared_ptr<RecordingGpu::Shared> shared, const RecordingGpuConfig& config)
        : RecordingGpuTracked(std::move(shared)), config_(config) {}

    GpuResult GetAdapterDisplayMode(uint32_t adapter, GpuDisplayMode* mode) override {
        LogCall("GetAdapterDisplayMode(%u)", adapter);
        if (adapter != 0 || !mode) {
            return kGpuErrorInvalidCall;
        }
        *mode = config_.adapterMode;
        return kGpuOk;
    }

    GpuResult GetDeviceCaps(uint32_t adapter, GpuDeviceType type, GpuCaps* caps) override {
        LogCall("GetDeviceCaps(%u, %s)", adapter, TypeName(type));
        auto& types = config_.deviceTypes;
        if (adapter != 0 || !caps || std::find(types.begin(), types.end(), type) == types.end()) {
            return kGpuErrorNotAvailable;
        }
        *caps = config_.caps;
        caps->DeviceType = type;
        return kGpuOk;
    }

    GpuResult CheckDeviceType(uint32_t adapter, GpuDeviceType type, GpuFormat displayFormat,
                              GpuFormat backBufferFormat, bool windowed) override {
        LogCall("CheckDeviceType(%u, %s, %s, %s, %s)", adapter, TypeName(type), GpuFormatName(displayFormat),
                GpuFormatName(backBufferFormat), windowed ? "TRUE" : "FALSE");
        if (adapter != 0 || displayFormat != backBufferFormat) {
            return kGpuErrorInvalidCall;
        }
        return Contains(config_.backBufferFormats, backBufferFormat) ? kGpuOk : kGpuErrorNotAvailable;
    }

    GpuResult CheckDeviceFormat(uint32_t adapter, GpuDeviceType type, GpuFormat adapterFormat, uint32_t usage,
                                GpuResourceType resourceType, GpuFormat format) override {
        LogCall("CheckDeviceFormat(%u, %s, %s, %u, %s, %s)", adapter, TypeName(type),
                GpuFormatName(adapterFormat), usage,
                resourceType == GpuResourceType::Texture ? "TEXTURE" : "SURFACE", GpuFormatName(format));
        if (adapter != 0) {
            return kGpuErrorInvalidCall;
        }
        const auto& accepted =
            (usage & kGpuUsageDepthStencil) ? config_.depthFormats : config_.textureFormats;
        return Contains(accepted, format) ? kGpuOk : kGpuErrorNotAvailable;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter) override {
        LogCall("GetAdapterModeCount(%u)", adapter);
        return adapter == 0 ? static_cast<uint32_t>(config_.modes.size()) : 0;
    }

    GpuResult EnumAdapterModes(uint32_t adapter, uint32_t index, GpuDisplayMode* mode) override {
        if (adapter != 0 || !mode || index >= config_.modes.size()) {
            return kGpuErrorInvalidCall;
        }
        *mode = config_.modes[index];
        return kGpuOk;
    }

    GpuResult CreateDevice(uint32_t adapter, GpuDeviceType type, GpuWindowHandle focusWindow,
                           uint32_t behaviorFlags, GpuPresentParameters* parameters,
                           GpuDevice** device) override {
        LogCall("CreateDevice(%u, %s, %p, 0x%X, %u x %u %s, windowed %u, interval %u)", adapter,
                TypeName(type), focusWindow, behaviorFlags, parameters ? parameters->BackBufferWidth : 0,
                parameters ? parameters->BackBufferHeight : 0,
                parameters ? GpuFormatName(parameters->BackBufferFormat) : "-",
                parameters ? parameters->Windowed : 0,
                parameters ? parameters->FullScreen_PresentationInterval : 0);
        if (adapter != 0 || !parameters || !device) {
            return kGpuErrorInvalidCall;
        }
        if (config_.acceptDevice && !config_.acceptDevice(type, behaviorFlags)) {
            return kGpuErrorNotAvailable;
        }
        if (!RecordingGpuParametersValid(config_, parameters)) {
            return kGpuErrorInvalidCall;
        }
        *device = new RecordingGpuDevice(shared_, config_, *parameters, behaviorFlags);
        return kGpuOk;
    }

  private:
    RecordingGpuConfig config_;
};

}  // namespace

bool RecordingGpuParametersValid(const RecordingGpuConfig& config, const GpuPresentParameters* parameters) {
    if (GpuFailed(GpuContract::PresentParameters(parameters))) {
        return false;
    }
    const GpuPresentParameters& p = *parameters;
    return p.Windowed || std::any_of(config.modes.begin(), config.modes.end(), [&](const GpuDisplayMode& m) {
               return m.Width == p.BackBufferWidth && m.Height == p.BackBufferHeight &&
                      m.Format == p.BackBufferFormat;
           });
}

RecordingGpu::RecordingGpu() : shared_(std::make_shared<Shared>()) {
    shared_->backend = this;
}

RecordingGpu::~RecordingGpu() {
    shared_->backend = nullptr;
}

GpuObject* RecordingGpu::CreateObject(uint32_t sdkVersion) {
    shared_->Log("Direct3DCreate8(" + std::to_string(sdkVersion) + ")");
    if (!config.objectAvailable || sdkVersion != kGpuSdkVersion) {
        return nullptr;
    }
    return new RecordingGpuObject(shared_, config);
}

const std::vector<std::string>& RecordingGpu::Calls() const {
    return shared_->calls;
}

void RecordingGpu::ClearCalls() {
    shared_->calls.clear();
}

size_t RecordingGpu::Count(std::string_view prefix) const {
    return Find(prefix).size();
}

std::vector<std::string> RecordingGpu::Find(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : shared_->calls) {
        if (std::string_view(call).substr(0, prefix.size()) == prefix) {
            found.push_back(call);
        }
    }
    return found;
}

void RecordingGpu::SetLogging(bool on) {
    shared_->logging = on;
}

RecordingGpuDevice* RecordingGpu::Device() const {
    return shared_->device;
}

int RecordingGpu::LiveResources() const {
    return shared_->liveResources;
}

}  // namespace mareldon
