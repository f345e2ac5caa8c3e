// Image bytes as the texture loader gets them from the archive: IIMG through the
// header checks and the level copy, anything else through the PNG and JPEG decoders.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/core/Log.h"
#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/IimgImage.h"

namespace {

using namespace mareldon;

struct Device {
    RecordingGpu gpu;
    RecordingDeviceWindow window;
    std::unique_ptr<GraphicsDeviceDX> device;

    Device() {
        SetLogLevel(LogLevel::Error);
        gpu.SetLogging(false);
        device = std::make_unique<GraphicsDeviceDX>(&gpu, &window, 1, 8, 480, 640, 3);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Device device;
    IimgImage image;
    const char* error = nullptr;
    if (image.Read(data, size, &error)) {
        // Every declared level must lie inside the input.
        size_t total = 0;
        for (uint32_t level = 0; level < image.levels; ++level) {
            total += image.LevelBytes(level);
        }
        if (IimgImage::kHeaderSize + total > size) {
            __builtin_trap();
        }
    }
    for (uint32_t flags : {kTextureSampled, kTextureSampled | kTextureRenderTarget}) {
        RefPtr<Texture> texture =
            device.device->CreateTextureFromData(flags, data, static_cast<uint32_t>(size));
        if (texture) {
            uint16_t pixels[4] = {};
            texture->Upload(TextureRect{0, 0, 2, 2}, PixelKind::ARGB4444, pixels);
        }
    }
    return 0;
}
