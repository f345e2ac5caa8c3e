// The placeholder demo movie (320x240, 25 pictures a second, 10 s, MP2 sound)
// decoded and converted on one thread, as the player's thread does it, and a
// frame taken and uploaded into the 512x1024 movie texture, as the movie
// screens do every frame. Runs offscreen (Mesa) unless SDL_VIDEODRIVER says
// otherwise.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/platform/MovieSource.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/movie/ThreadedMoviePlayer.h"
#include "tools/archive/PlaceholderMovies.h"

namespace mareldon {
namespace {

const std::vector<uint8_t>& DemoMovie() {
    static const std::vector<uint8_t> movie = MakePlaceholderMovie("demo.mpg");
    return movie;
}

// "realtime" is seconds of movie decoded per second: 8 or more is the goal.
void BM_DecodeDemoMovie(benchmark::State& state) {
    const double seconds = PlaceholderMovieSeconds("demo.mpg");
    std::vector<uint32_t> pixels(size_t(kPlaceholderMovieWidth) * kPlaceholderMovieHeight);
    for (auto _ : state) {
        MemoryMovieSource source(DemoMovie());
        AvMovieDecoder decoder;
        if (!decoder.Open(&source, "demo.mpg")) {
            state.SkipWithError("the demo movie does not open");
            break;
        }
        double time, duration;
        while (decoder.DecodePicture(time, duration)) {
            decoder.ConvertPicture(pixels.data());
        }
        const int16_t* samples;
        int32_t frames;
        while (decoder.DecodeSound(samples, frames)) {
            benchmark::DoNotOptimize(samples);
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["realtime"] =
        benchmark::Counter(seconds * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeDemoMovie)->Unit(benchmark::kMillisecond);

// Under 1 ms is the goal.
void BM_TakeAndUploadFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_Window* sdlWindow = SDL_CreateWindow("bench", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    {
        SdlDeviceWindow window(sdlWindow);
        GlGpuBackend backend;
        GraphicsDeviceDX device(&backend, &window, 1, 8, 480, 640, 3);
        RefPtr<Texture> texture = device.CreateTexture(kTextureSampled, 512, 1024);
        VirtualClock clock;
        MoviePlayerPorts ports;
        ports.createDecoder = &CreateAvMovieDecoder;
        ports.clock = &clock;
        ThreadedMoviePlayer player(ports);
        if (!device.Device() || !texture->GpuTextureObject() ||
            !player.OpenSource(std::make_unique<MemoryMovieSource>(DemoMovie()), "demo.mpg") ||
            !player.Play()) {
            state.SkipWithError("no graphics device or movie");
        } else {
            clock.Advance(1000);
            player.WaitUntilSettled();
            const TextureRect rect{0, 0, player.GetWidth(), player.GetHeight()};
            for (auto _ : state) {
                texture->Upload(rect, PixelKind::ARGB8888, player.TakeFrame());
            }
        }
    }
    SDL_DestroyWindow(sdlWindow);
}
BENCHMARK(BM_TakeAndUploadFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
