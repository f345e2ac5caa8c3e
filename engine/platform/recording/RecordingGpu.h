#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/GpuBackend.h"

namespace mareldon {

class RecordingGpuDevice;

// What the recording adapter offers. Tests change it before the device is made.
struct RecordingGpuConfig {
    bool objectAvailable = true;
    GpuDisplayMode adapterMode{640, 480, 60, GpuFormat::X8R8G8B8};
    std::vector<GpuDisplayMode> modes{{640, 480, 60, GpuFormat::R5G6B5},
                                      {800, 600, 60, GpuFormat::R5G6B5},
                                      {640, 480, 60, GpuFormat::X8R8G8B8}};
    // Device types whose capabilities can be read; the others fail GetDeviceCaps.
    std::vector<GpuDeviceType> deviceTypes{GpuDeviceType::HAL};
    GpuCaps caps;
    // Full-screen back-buffer formats CheckDeviceType accepts.
    std::vector<GpuFormat> backBufferFormats{GpuFormat::R5G6B5, GpuFormat::X8R8G8B8};
    std::vector<GpuFormat> textureFormats{GpuFormat::A8R8G8B8, GpuFormat::A4R4G4B4, GpuFormat::A1R5G5B5,
                                          GpuFormat::R5G6B5, GpuFormat::A8};
    std::vector<GpuFormat> depthFormats{GpuFormat::D16, GpuFormat::D24S8};
    // Decides whether CreateDevice succeeds for a type and behaviour flags; null accepts all.
    std::function<bool(GpuDeviceType, uint32_t)> acceptDevice;
    uint32_t availableTextureMem = 32u << 20;
    // Extra bytes at the end of every locked row, so that code which ignores the pitch shows.
    uint32_t pitchPadding = 8;
};

// The graphics layer without a GPU: every call that reaches the device is
// logged as text ("SetRenderState(SRCBLEND, 5)"), every lock is backed by real
// memory, and device loss is scripted.
class RecordingGpu final : public GpuBackend {
  public:
    RecordingGpu();
    ~RecordingGpu() override;

    RecordingGpuConfig config;
    // Results of the next TestCooperativeLevel calls, taken from the front; kGpuOk when empty.
    std::deque<GpuResult> cooperativeLevels;
    // Results of the next Reset calls; kGpuOk when empty.
    std::deque<GpuResult> resetResults;

    GpuObject* CreateObject(uint32_t sdkVersion) override;

    // The call log.
    const std::vector<std::string>& Calls() const;
    void ClearCalls();
    // Entries that start with prefix, e.g. Count("SetRenderState(SRCBLEND,").
    size_t Count(std::string_view prefix) const;
    // Entries that start with prefix, in order.
    std::vector<std::string> Find(std::string_view prefix) const;
    // Logging costs a string per call; benchmarks turn it off.
    void SetLogging(bool on);

    // The last device made, null before (or after it was destroyed).
    RecordingGpuDevice* Device() const;
    // Layer objects alive now (object, device, textures, surfaces, buffers).
    int LiveResources() const;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace mareldon
