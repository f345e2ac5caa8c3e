// Movie bytes as the player reads them, through the memory source: opened,
// then played for at most 60 pictures' time on a virtual clock, the sound
// pulled through a recording mixer. Every frame handed over must be opaque,
// and the player must never stop answering.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "engine/platform/MovieSource.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "engine/render/movie/ThreadedMoviePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    static const bool quiet = [] {
        SetLogLevel(LogLevel::Error);
        return true;
    }();
    (void)quiet;
    constexpr int kRate = 48000;
    constexpr int kStepMs = 40;
    auto output = std::make_shared<RecordingSoundOutput>();
    output->SetOutputRate(kRate);
    VirtualClock clock;
    MoviePlayerPorts ports;
    ports.createDecoder = &CreateAvMovieDecoder;
    ports.soundBox.Reset(new SoundBoxDX(nullptr, output));
    ports.clock = &clock;
    ThreadedMoviePlayer player(ports);
    if (!player.OpenSource(std::make_unique<MemoryMovieSource>(data, size), "fuzz.mpg")) {
        return 0;
    }
    if (player.GetWidth() <= 0 || player.GetHeight() <= 0 || player.GetWidth() > MoviePlayer::kMaxWidth ||
        player.GetHeight() > MoviePlayer::kMaxHeight || !player.Play()) {
        __builtin_trap();
    }
    const size_t last = static_cast<size_t>(player.GetWidth()) * static_cast<size_t>(player.GetHeight()) - 1;
    std::vector<float> mixed(2 * kRate * kStepMs / 1000);
    for (int step = 0; step < 60; ++step) {
        output->Mix(mixed.data(), kRate * kStepMs / 1000);
        clock.Advance(kStepMs);
        if (!player.WaitUntilSettled()) {
            __builtin_trap();  // the thread stopped answering
        }
        if (player.IsFrameReady()) {
            const uint32_t* frame = player.TakeFrame();
            if ((frame[0] >> 24) != 0xFF || (frame[last] >> 24) != 0xFF) {
                __builtin_trap();
            }
        }
        player.Update();
    }
    return 0;
}
