#include "engine/platform/sdl/SdlSoundOutput.h"

#include "engine/platform/SoundBoxDX.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace mareldon {
namespace {

// Peak level and frame count seen on the audio thread.
struct Meter {
    std::atomic<float> peak{0.0f};
    std::atomic<int> frames{0};
    static void Take(const float* out, int count, void* user) {
        auto* self = static_cast<Meter*>(user);
        float peak = self->peak.load();
        for (int i = 0; i < 2 * count; ++i) {
            peak = std::max(peak, std::fabs(out[i]));
        }
        self->peak = peak;
        self->frames += count;
    }
    // Starts over and waits for at least frames more frames (a few seconds at most).
    bool Measure(int wanted) {
        peak = 0.0f;
        frames = 0;
        for (int i = 0; i < 300 && frames < wanted; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return frames >= wanted;
    }
};

RefPtr<PcmRecord> Sine(int rate, double hz) {
    RefPtr<PcmRecord> record(new PcmRecord());
    for (int i = 0; i < rate; ++i) {
        const auto s = static_cast<int16_t>(std::lround(32767.0 * std::sin(2.0 * M_PI * hz * i / rate)));
        record->samples.push_back(static_cast<uint8_t>(s & 0xFF));
        record->samples.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    record->byteCount = static_cast<uint32_t>(record->samples.size());
    return record;
}

TEST(SdlSoundOutputTest, DummyDriverMixesASineAtItsVolume) {
    auto output = std::make_shared<SdlSoundOutput>();
    SoundBoxDX box(nullptr, output);
    if (box.IsSilent()) {
        GTEST_SKIP() << "no SDL audio driver";
    }
    ASSERT_GT(output->OutputRate(), 0);
    Meter meter;
    output->SetMonitor(&Meter::Take, &meter);
    RefPtr<SoundBuffer> sound = box.CreateSound(16, 22050, 1, 0, 0, Sine(22050, 441.0));
    ASSERT_TRUE(sound);
    box.SetSoundVolume(sound, 0.5f);
    box.Play(sound, 1);
    ASSERT_TRUE(meter.Measure(4096));
    EXPECT_NEAR(meter.peak.load(), 0.0562f, 0.002f);  // 10^(-2500/2000) of full scale
    EXPECT_TRUE(box.IsLooping(sound));

    box.Pause(sound);
    ASSERT_TRUE(meter.Measure(2048));
    EXPECT_EQ(meter.peak.load(), 0.0f);
    box.Resume(sound);
    ASSERT_TRUE(meter.Measure(2048));
    EXPECT_GT(meter.peak.load(), 0.05f);

    box.Stop(sound);
    EXPECT_FALSE(box.IsLooping(sound));
    ASSERT_TRUE(meter.Measure(2048));
    EXPECT_EQ(meter.peak.load(), 0.0f);
    output->SetMonitor(nullptr, nullptr);
}

TEST(SdlSoundOutputTest, FactoryMakesAWorkingDevice) {
    std::unique_ptr<SoundBox> box(CreateSoundBox(nullptr));
    ASSERT_NE(box, nullptr);
    RefPtr<PcmRecord> pcm = Sine(8000, 100.0);
    RefPtr<SoundBuffer> sound = box->CreateSound(16, 8000, 1, 0, 0, pcm);
    box->Play(sound, 0);
    sound.Reset();  // released while it may be playing
}

}  // namespace
}  // namespace mareldon
