// Cost of converting one 512x512 upload (the largest texture the program fills from the CPU).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/render/device/PixelConvert.h"

namespace {

void ConvertUpload(benchmark::State& state, mareldon::PixelKind source, mareldon::PixelKind texture) {
    constexpr int kSize = 512;
    const int sourceSize = mareldon::PixelKindSize(source);
    const int destSize = mareldon::PixelKindSize(texture);
    std::vector<uint8_t> pixels(kSize * kSize * sourceSize);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i * 31 + 7);
    }
    // A locked rectangle whose rows are padded, as a driver may hand out.
    const int pitch = kSize * destSize + 64;
    std::vector<uint8_t> locked(static_cast<std::size_t>(pitch) * kSize);
    const mareldon::PixelConverter convert = mareldon::FindPixelConverter(source, texture);
    for (auto _ : state) {
        convert(locked.data(), pitch, pixels.data(), kSize, kSize);
        benchmark::DoNotOptimize(locked.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(pixels.size()));
}

using mareldon::PixelKind;
BENCHMARK_CAPTURE(ConvertUpload, Argb8888ToArgb4444, PixelKind::ARGB8888, PixelKind::ARGB4444);
BENCHMARK_CAPTURE(ConvertUpload, Argb8888ToAbgr4444, PixelKind::ARGB8888, PixelKind::ABGR4444);
BENCHMARK_CAPTURE(ConvertUpload, Argb8888ToAbgr1555, PixelKind::ARGB8888, PixelKind::ABGR1555);
BENCHMARK_CAPTURE(ConvertUpload, Argb8888ToAbgr8888, PixelKind::ARGB8888, PixelKind::ABGR8888);
BENCHMARK_CAPTURE(ConvertUpload, Copy32, PixelKind::ARGB8888, PixelKind::ARGB8888);
BENCHMARK_CAPTURE(ConvertUpload, Copy16, PixelKind::ARGB4444, PixelKind::ARGB4444);

}  // namespace
