// Cost of mixing one second of output with 32 voices playing (looped, all
// resampled, half of them stereo). Real time is 1 s per iteration; the
// counter "realtime_x" says how many times faster the mixer is.
#include "engine/platform/SoundMixer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace mareldon {
namespace {

void BM_Mix32VoicesOneSecond(benchmark::State& state) {
    constexpr int kOutputRate = 48000;
    constexpr int kBlock = 1024;  // frames per audio callback
    SoundMixer mixer;
    mixer.SetOutputRate(kOutputRate);
    const int rates[] = {22050, 44100, 11025, 32000};
    for (int v = 0; v < 32; ++v) {
        const int rate = rates[v % 4];
        const int channels = 1 + v % 2;
        std::vector<uint8_t> pcm;
        for (int i = 0; i < rate * channels; ++i) {
            const auto s = static_cast<int16_t>(8000.0 * std::sin(i * 0.05 * (v + 1)));
            pcm.push_back(static_cast<uint8_t>(s & 0xFF));
            pcm.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        }
        const int buffer =
            mixer.CreateBuffer(16, rate, channels, pcm.data(), static_cast<uint32_t>(pcm.size()));
        mixer.SetVolume(buffer, -600);
        mixer.SetPan(buffer, (v % 5 - 2) * 1000);
        mixer.Play(buffer, true);
    }
    std::vector<float> out(2 * kBlock);
    for (auto _ : state) {
        for (int done = 0; done < kOutputRate; done += kBlock) {
            mixer.Mix(out.data(), kBlock);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Mix32VoicesOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mareldon
