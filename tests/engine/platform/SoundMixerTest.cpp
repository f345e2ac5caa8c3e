#include "engine/platform/SoundMixer.h"

#include "engine/platform/SoundStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace mareldon {
namespace {

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return bytes;
}

// Constant frames make level checks independent of the resampler.
int Constant(SoundMixer& mixer, int16_t value, int frames, int rate = 48000) {
    std::vector<uint8_t> pcm = Pcm16(std::vector<int16_t>(static_cast<size_t>(frames), value));
    return mixer.CreateBuffer(16, rate, 1, pcm.data(), static_cast<uint32_t>(pcm.size()));
}

std::vector<float> Render(SoundMixer& mixer, int frames) {
    std::vector<float> out(static_cast<size_t>(frames) * 2);
    mixer.Mix(out.data(), frames);
    return out;
}

TEST(SoundMixerTest, GainFollowsTheMillibelLaw) {
    EXPECT_FLOAT_EQ(GainFromMillibels(0), 1.0f);
    EXPECT_NEAR(GainFromMillibels(-2000), 0.1f, 1e-6);
    EXPECT_NEAR(GainFromMillibels(-2500), 0.0562341f, 1e-6);
    EXPECT_NEAR(GainFromMillibels(-625), 0.4869675f, 1e-6);
    EXPECT_EQ(GainFromMillibels(-10000), 0.0f);
    EXPECT_EQ(GainFromMillibels(-20000), 0.0f);
}

TEST(SoundMixerTest, VolumeAndPanAttenuateTheRightSide) {
    struct Case {
        int32_t volume, pan;
        float left, right;
    };
    const Case cases[] = {
        {0, 0, 0.5f, 0.5f},
        {-2000, 0, 0.05f, 0.05f},
        {0, 2000, 0.05f, 0.5f},    // pan right attenuates the left channel
        {0, -4000, 0.5f, 0.005f},  // pan left attenuates the right channel
        {-2000, -2000, 0.05f, 0.005f},
        {-10000, 0, 0.0f, 0.0f},
        {0, 10000, 0.0f, 0.5f},
    };
    for (const Case& c : cases) {
        SoundMixer mixer;
        int voice = Constant(mixer, 16384, 64);
        mixer.SetVolume(voice, c.volume);
        mixer.SetPan(voice, c.pan);
        mixer.Play(voice, false);
        std::vector<float> out = Render(mixer, 8);
        EXPECT_NEAR(out[0], c.left, 1e-5) << c.volume << " " << c.pan;
        EXPECT_NEAR(out[1], c.right, 1e-5) << c.volume << " " << c.pan;
    }
}

TEST(SoundMixerTest, OneShotEndsAndRewindsWhileLoopWraps) {
    SoundMixer mixer;
    int voice = Constant(mixer, 16384, 10);
    mixer.Play(voice, false);
    EXPECT_EQ(mixer.Status(voice), kSoundPlaying);
    std::vector<float> out = Render(mixer, 16);
    EXPECT_NEAR(out[2 * 9], 0.5f, 1e-5);
    EXPECT_EQ(out[2 * 10], 0.0f);  // nothing after the end
    EXPECT_EQ(mixer.Status(voice), 0u);

    mixer.Play(voice, true);
    EXPECT_EQ(mixer.Status(voice), kSoundPlaying | kSoundLooping);
    out = Render(mixer, 35);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float s) { return std::fabs(s - 0.5f) < 1e-5; }));
    EXPECT_EQ(mixer.Status(voice), kSoundPlaying | kSoundLooping);
}

TEST(SoundMixerTest, StopKeepsThePositionUntilItIsReset) {
    SoundMixer mixer;
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) {
        ramp.push_back(static_cast<int16_t>(i * 100));
    }
    std::vector<uint8_t> pcm = Pcm16(ramp);
    int voice = mixer.CreateBuffer(16, 48000, 1, pcm.data(), static_cast<uint32_t>(pcm.size()));
    mixer.Play(voice, false);
    Render(mixer, 40);
    mixer.Stop(voice);  // a pause
    EXPECT_EQ(Render(mixer, 4)[0], 0.0f);
    mixer.Play(voice, false);
    EXPECT_NEAR(Render(mixer, 1)[0], 4000.0f / 32768.0f, 1e-6);
    mixer.Stop(voice);
    mixer.SetPosition(voice, 0);
    mixer.Play(voice, false);
    EXPECT_EQ(Render(mixer, 1)[0], 0.0f);
}

TEST(SoundMixerTest, ResamplesASineToTheOutputRate) {
    // 1 s of a 441 Hz sine at 22050 Hz, mixed at 48000 Hz: same pitch and level.
    std::vector<int16_t> sine;
    for (int i = 0; i < 22050; ++i) {
        sine.push_back(static_cast<int16_t>(std::lround(32000.0 * std::sin(2 * M_PI * 441.0 * i / 22050.0))));
    }
    std::vector<uint8_t> pcm = Pcm16(sine);
    SoundMixer mixer;
    mixer.SetOutputRate(48000);
    int voice = mixer.CreateBuffer(16, 22050, 1, pcm.data(), static_cast<uint32_t>(pcm.size()));
    mixer.Play(voice, false);
    std::vector<float> out = Render(mixer, 48000);
    float peak = 0.0f;
    int crossings = 0;
    for (size_t i = 0; i + 2 < out.size(); i += 2) {
        peak = std::max(peak, std::fabs(out[i]));
        crossings += (out[i] < 0.0f) != (out[i + 2] < 0.0f);
    }
    EXPECT_NEAR(peak, 32000.0f / 32768.0f, 0.01f);
    EXPECT_NEAR(crossings, 882, 2);
    Render(mixer, 2);
    EXPECT_EQ(mixer.Status(voice), 0u);  // one second of source is used up
}

TEST(SoundMixerTest, EightBitSamplesAreUnsignedAndStereoKeepsItsSides) {
    SoundMixer mixer;
    const uint8_t pcm8[] = {0x80, 0xC0, 0x80, 0xC0};
    int mono = mixer.CreateBuffer(8, 48000, 1, pcm8, 4);
    mixer.Play(mono, false);
    std::vector<float> out = Render(mixer, 2);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_NEAR(out[2], 0.5f, 1e-6);
    mixer.Stop(mono);

    std::vector<uint8_t> pcm = Pcm16({8192, -16384, 8192, -16384});
    int stereo = mixer.CreateBuffer(16, 48000, 2, pcm.data(), static_cast<uint32_t>(pcm.size()));
    mixer.Play(stereo, false);
    out = Render(mixer, 1);
    EXPECT_NEAR(out[0], 0.25f, 1e-6);
    EXPECT_NEAR(out[1], -0.5f, 1e-6);
}

TEST(SoundMixerTest, NonsenseFormatsGiveNoBuffer) {
    SoundMixer mixer;
    const uint8_t pcm[8] = {};
    struct Case {
        int bits, rate, channels;
        uint32_t bytes;
    };
    const Case cases[] = {{16, 22050, 0, 8}, {16, 0, 1, 8},     {12, 22050, 1, 8}, {16, 22050, 3, 8},
                          {16, -5, 1, 8},    {16, 22050, 2, 3}, {8, 22050, 1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(mixer.CreateBuffer(c.bits, c.rate, c.channels, pcm, c.bytes), -1)
            << c.bits << " " << c.rate << " " << c.channels << " " << c.bytes;
    }
    // Operations on buffers that do not exist are ignored.
    mixer.Play(7, true);
    mixer.SetVolume(-1, 0);
    EXPECT_EQ(mixer.Status(7), 0u);
}

TEST(SoundMixerTest, ReleasedSlotsAreReusedAndClipped) {
    SoundMixer mixer;
    int a = Constant(mixer, 30000, 16);
    int b = Constant(mixer, 30000, 16);
    mixer.Play(a, true);
    mixer.Play(b, true);
    EXPECT_EQ(Render(mixer, 1)[0], 1.0f);  // the sum is clipped
    mixer.ReleaseBuffer(a);
    EXPECT_EQ(Constant(mixer, 1, 4), a);
    EXPECT_NEAR(Render(mixer, 1)[0], 30000.0f / 32768.0f, 1e-6);
}

// A streamed voice plays what was written, in order across the ring's wrap;
// when the writer falls behind it goes silent and waits, and goes on where it
// stopped. A stop keeps what waits; a rewind drops it and counts from 0.
TEST(SoundMixerTest, StreamPlaysWhatIsWrittenAndWaitsForMore) {
    SoundMixer mixer;
    auto stream = std::make_shared<SoundStream>(48000, 1, 64);
    const int voice = mixer.CreateStream(stream);
    ASSERT_GE(voice, 0);
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) {
        ramp.push_back(static_cast<int16_t>(100 * i));
    }
    EXPECT_EQ(stream->Write(ramp.data(), 100), 64u);  // bounded
    mixer.Play(voice, true);
    EXPECT_EQ(mixer.Status(voice), kSoundPlaying);  // never loops
    std::vector<float> out = Render(mixer, 40);
    EXPECT_NEAR(out[2 * 39], 3900.0f / 32768.0f, 1e-6);
    EXPECT_EQ(stream->Played(), 40u);
    EXPECT_EQ(stream->Write(ramp.data() + 64, 36), 36u);  // wraps round the ring
    out = Render(mixer, 70);
    for (int i = 0; i < 60; ++i) {
        ASSERT_NEAR(out[2 * i], (4000.0f + 100.0f * i) / 32768.0f, 1e-6) << i;
    }
    EXPECT_EQ(out[2 * 60], 0.0f);  // ran dry
    EXPECT_EQ(stream->Played(), 100u);

    stream->Write(ramp.data(), 10);
    mixer.Stop(voice);
    EXPECT_EQ(Render(mixer, 4)[0], 0.0f);
    EXPECT_EQ(stream->Queued(), 10u);
    mixer.Play(voice, false);
    EXPECT_EQ(Render(mixer, 2)[2], 100.0f / 32768.0f);
    mixer.SetPosition(voice, 0);
    EXPECT_EQ(stream->Queued(), 0u);
    EXPECT_EQ(stream->Played(), 0u);
}

// Resampled, a frame waits for its successor until the writer says nothing
// follows; then the last frame plays out and the stream drains.
TEST(SoundMixerTest, StreamResamplesAndPlaysOutItsLastFrame) {
    SoundMixer mixer;
    mixer.SetOutputRate(48000);
    auto stream = std::make_shared<SoundStream>(24000, 2, 1000);
    const int voice = mixer.CreateStream(stream);
    const std::vector<int16_t> frames = {0, 0, 1000, -1000, 2000, -2000};
    stream->Write(frames.data(), 3);
    mixer.Play(voice, false);
    std::vector<float> out = Render(mixer, 8);
    const float expected[] = {0, 500, 1000, 1500, 2000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(out[2 * i], expected[i] / 32768.0f, 1e-6) << i;
        EXPECT_NEAR(out[2 * i + 1], -expected[i] / 32768.0f, 1e-6) << i;
    }
    EXPECT_EQ(out[2 * 5], 0.0f);  // half-way past 2000 waits for the frame after it
    EXPECT_EQ(stream->Queued(), 1u);
    stream->Finish();
    out = Render(mixer, 4);
    EXPECT_NEAR(out[0], 2000.0f / 32768.0f, 1e-6);
    EXPECT_EQ(stream->Queued(), 0u);
    EXPECT_EQ(stream->Played(), 3u);

    EXPECT_EQ(mixer.CreateStream(std::make_shared<SoundStream>(24000, 3, 10)), -1);
    EXPECT_EQ(mixer.CreateStream(std::make_shared<SoundStream>(0, 1, 10)), -1);
    EXPECT_EQ(mixer.CreateStream(nullptr), -1);
}

}  // namespace
}  // namespace mareldon
