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

uint32_t BigEndian16(const uint8_t* p) {
    return uint32_t(p[0]) << 8 | p[1];
}

uint32_t BigEndian32(const uint8_t* p) {
    return BigEndian16(p) << 16 | BigEndian16(p + 2);
}

// The pixels a PNG or JPEG header declares, 0 when there is no such header.
uint64_t DeclaredPixels(const uint8_t* data, size_t size, uint64_t& perByte) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 24 && std::memcmp(data, kPng, 8) == 0) {
        perByte = 8 * 1032;  // one bit a pixel, deflate at its best
        return uint64_t(BigEndian32(data + 16)) * BigEndian32(data + 20);
    }
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8) {
        perByte = 256;  // an 8x8 block takes at least two bits
        for (size_t at = 2; at + 9 <= size;) {
            if (data[at] != 0xFF) {
                ++at;
                continue;
            }
            const uint8_t marker = data[at + 1];
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                return uint64_t(BigEndian16(data + at + 5)) * BigEndian16(data + at + 7);
            }
            at += 2 + (marker >= 0xD0 && marker <= 0xD9 ? 0 : BigEndian16(data + at + 2));
        }
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A picture larger than its bytes could ever encode only makes the decoders fill
    // it out of nothing, which costs seconds an input and finds nothing new.
    uint64_t perByte = 0;
    if (DeclaredPixels(data, size, perByte) > perByte * size) {
        return 0;
    }
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
