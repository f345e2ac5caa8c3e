// How much state setting the device's caches absorb, and what a 512x512 texture
// costs to upload (32-bit pixels converted to the 16-bit texture kind) and to load
// from a PNG (decode, dithered conversion, box-filtered mips).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <png.h>

#include "engine/core/Log.h"
#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace {

using namespace mareldon;

struct Bench {
    RecordingGpu gpu;
    RecordingDeviceWindow window;
    std::unique_ptr<GraphicsDeviceDX> device;

    Bench() {
        SetLogLevel(LogLevel::Error);
        gpu.SetLogging(false);
        device = std::make_unique<GraphicsDeviceDX>(&gpu, &window, 1, 8, 480, 640, 3);
    }
};

std::vector<uint32_t> Picture(uint32_t size) {
    std::vector<uint32_t> pixels(size * size);
    for (uint32_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    }
    return pixels;
}

// Eight setter calls per iteration, all equal to what the device already holds.
void BM_CachedSettersAbsorbEqualStates(benchmark::State& state) {
    Bench b;
    GraphicsDeviceDX& device = *b.device;
    RefPtr<Texture> texture = device.CreateTexture(kTextureSampled, 64, 64);
    RenderStateBlock block;
    SamplerState sampler;
    sampler.addressU = sampler.addressV = TextureAddress::Border;
    device.SetSamplerState(0, sampler);
    device.SetTexture(0, texture.Get());
    float constants[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
    device.SetVertexShaderConstant(8, &constants[0][0], 4);
    for (auto _ : state) {
        device.SetRenderStateBlock(block);  // six setters
        device.SetSamplerState(0, sampler);
        device.SetVertexShaderConstant(8, &constants[0][0], 4);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_CachedSettersAbsorbEqualStates);

// The same calls alternating between two values, so every one reaches the device.
void BM_CachedSettersPassChanges(benchmark::State& state) {
    Bench b;
    GraphicsDeviceDX& device = *b.device;
    RenderStateBlock blocks[2];
    blocks[1] = RenderStateBlock{1, 0, 1, 0, 7, 0};
    uint32_t i = 0;
    for (auto _ : state) {
        device.SetRenderStateBlock(blocks[++i & 1]);
    }
    state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_CachedSettersPassChanges);

void BM_Upload512Converted(benchmark::State& state) {
    Bench b;
    RefPtr<Texture> texture = b.device->CreateTexture(kTextureSampled, 512, 512);
    std::vector<uint32_t> pixels = Picture(512);
    for (auto _ : state) {
        texture->Upload(TextureRect{0, 0, 512, 512}, PixelKind::ARGB8888, pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 512 * 512 * 4);
}
BENCHMARK(BM_Upload512Converted)->Unit(benchmark::kMicrosecond);

void BM_Load512PngWithMips(benchmark::State& state) {
    Bench b;
    std::vector<uint32_t> pixels = Picture(512);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 512;
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<uint8_t> png(size);
    png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr);
    for (auto _ : state) {
        RefPtr<Texture> texture =
            b.device->CreateTextureFromData(kTextureSampled, png.data(), static_cast<uint32_t>(size));
        benchmark::DoNotOptimize(texture.Get());
    }
}
BENCHMARK(BM_Load512PngWithMips)->Unit(benchmark::kMillisecond);

}  // namespace
