#include "engine/platform/SoundBoxDX.h"

#include "engine/core/Cp932.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"
#include "engine/platform/recording/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace mareldon {
namespace {

using Lines = std::vector<std::string>;

RefPtr<PcmRecord> Silence(uint32_t bytes) {
    RefPtr<PcmRecord> record(new PcmRecord());
    record->byteCount = bytes;
    record->samples.assign(bytes, 0);
    return record;
}

class SoundBoxDXTest : public ::testing::Test {
  protected:
    SoundBoxDXTest() : windows(CreateHeadlessWindowSystem(backend)) {}
    std::shared_ptr<RecordingSoundOutput> output = std::make_shared<RecordingSoundOutput>();
    HeadlessWindowBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> windows;
};

TEST_F(SoundBoxDXTest, LevelsFollowTheMillibelLaws) {
    EXPECT_EQ(VolumeToMillibels(1.0f), 0);
    EXPECT_EQ(VolumeToMillibels(0.75f), -625);
    EXPECT_EQ(VolumeToMillibels(0.5f), -2500);
    EXPECT_EQ(VolumeToMillibels(0.0f), -10000);
    EXPECT_EQ(PanToMillibels(-0.5f), -5000);
    EXPECT_EQ(PanToMillibels(1.0f), 10000);
    EXPECT_EQ(PanToMillibels(-1.0f), -10000);
    EXPECT_EQ(PanToMillibels(0.25f), 2500);
    // Levels from outside the range still give a number the output can clamp.
    EXPECT_EQ(VolumeToMillibels(std::nanf("")), -10000);
    EXPECT_EQ(VolumeToMillibels(2.0f), -10000);  // the law is a parabola around 1
    EXPECT_EQ(VolumeToMillibels(1e30f), INT32_MIN);
    EXPECT_EQ(PanToMillibels(std::nanf("")), 0);
    EXPECT_EQ(PanToMillibels(-1e30f), INT32_MIN);

    SoundBoxDX box(nullptr, output);
    RefPtr<SoundBuffer> sound = box.CreateSound(16, 22050, 1, 0, 0, Silence(64));
    ASSERT_TRUE(sound);
    output->ClearLog();
    for (float v : {1.0f, 0.75f, 0.5f, 0.0f}) {
        box.SetSoundVolume(sound, v);
    }
    box.SetSoundPan(sound, -0.5f);
    box.SetMasterVolume(0.3f);
    box.SetMasterPan(0.5f);
    EXPECT_EQ(output->Log(), (Lines{"volume 0 0", "volume 0 -625", "volume 0 -2500", "volume 0 -10000",
                                    "pan 0 -5000", "master volume 0", "master pan 5000"}));
}

TEST_F(SoundBoxDXTest, PlaybackControlsAndLoopingStatus) {
    SoundBoxDX box(nullptr, output);
    RefPtr<PcmRecord> pcm = Silence(64);
    RefPtr<SoundBuffer> sound = box.CreateSound(16, 22050, 2, 7, 9, pcm);
    EXPECT_EQ(pcm->useCount, 0);
    EXPECT_EQ(output->Log(), (Lines{"open", "create 16 22050 2 64 -> 0", "volume 0 0", "pan 0 0"}));
    output->ClearLog();

    EXPECT_FALSE(box.IsPlaying(sound));
    box.Play(sound, 0);
    EXPECT_FALSE(box.IsLooping(sound));  // playing, but not looped
    EXPECT_TRUE(box.IsPlaying(sound));
    box.Play(sound, 0);
    box.Play(sound, 1);
    EXPECT_TRUE(box.IsLooping(sound));
    EXPECT_TRUE(box.IsPlaying(sound));
    box.Pause(sound);
    EXPECT_FALSE(box.IsLooping(sound));
    EXPECT_FALSE(box.IsPlaying(sound));
    box.Resume(sound);
    EXPECT_TRUE(box.IsLooping(sound));
    box.Stop(sound);
    EXPECT_FALSE(box.IsLooping(sound));
    EXPECT_FALSE(box.IsPlaying(sound));
    EXPECT_EQ(output->Log(), (Lines{"position 0 0", "play 0", "position 0 0", "play 0", "position 0 0",
                                    "play 0 loop", "stop 0", "play 0 loop", "position 0 0", "stop 0"}));
    output->ClearLog();
    sound.Reset();
    EXPECT_EQ(output->Log(), (Lines{"stop 0", "release 0"}));
}

TEST_F(SoundBoxDXTest, ASoundPlaysAtItsVolumeThroughTheMixer) {
    SoundBoxDX box(nullptr, output);
    RefPtr<PcmRecord> pcm(new PcmRecord());
    for (int i = 0; i < 100; ++i) {
        pcm->samples.push_back(0x00);
        pcm->samples.push_back(0x40);  // 16384: half scale
    }
    pcm->byteCount = static_cast<uint32_t>(pcm->samples.size());
    RefPtr<SoundBuffer> sound = box.CreateSound(16, 48000, 1, 0, 0, pcm);
    box.SetSoundVolume(sound, 0.5f);
    box.Play(sound, 0);
    std::vector<float> out(2 * 4);
    output->Mix(out.data(), 4);
    EXPECT_NEAR(out[0], 0.5f * 0.0562341f, 1e-5);
    EXPECT_NEAR(out[1], 0.5f * 0.0562341f, 1e-5);
}

TEST_F(SoundBoxDXTest, SoundsWithoutBufferAndEmptyHandlesAreIgnored) {
    SoundBoxDX box(nullptr, output);
    const RefPtr<SoundBuffer> none = box.CreateSound(12, 22050, 1, 0, 0, Silence(64));
    EXPECT_FALSE(none);
    EXPECT_FALSE(box.CreateSound(16, 0, 1, 0, 0, Silence(64)));
    EXPECT_FALSE(box.CreateSound(16, 22050, 0, 0, 0, Silence(64)));
    EXPECT_FALSE(box.CreateSound(16, 22050, 1, 0, 0, RefPtr<PcmRecord>()));
    // A byte count beyond the samples held is cut to them.
    RefPtr<PcmRecord> lying = Silence(4);
    lying->byteCount = 1000000;
    EXPECT_TRUE(box.CreateSound(16, 22050, 1, 0, 0, lying));
    output->ClearLog();
    box.Play(none, 1);
    box.SetSoundVolume(none, 0.5f);
    EXPECT_FALSE(box.IsLooping(none));
    EXPECT_FALSE(box.IsPlaying(none));
    EXPECT_TRUE(output->Log().empty());
}

TEST_F(SoundBoxDXTest, FailedDeviceShowsOneMessageAndStaysSilent) {
    auto failing = std::make_shared<RecordingSoundOutput>(false);
    SoundBoxDX box(windows.get(), failing);  // the message goes through its system
    EXPECT_TRUE(box.IsSilent());
    ASSERT_EQ(backend->MessageBoxes().size(), 1u);
    EXPECT_EQ(backend->MessageBoxes()[0].caption, "SOUNDBOXDX");
    EXPECT_EQ(Cp932ToUtf8(backend->MessageBoxes()[0].text), "DirectSound オブジェクトの作成に失敗しました。");
    RefPtr<SoundBuffer> sound = box.CreateSound(16, 22050, 1, 0, 0, Silence(64));
    EXPECT_FALSE(sound);
    box.Play(sound, 1);
    box.SetMasterVolume(1.0f);
    EXPECT_FALSE(box.IsLooping(sound));
    EXPECT_EQ(failing->Log(), (Lines{"open failed"}));
    EXPECT_EQ(backend->MessageBoxes().size(), 1u);
}

TEST_F(SoundBoxDXTest, BuffersOutliveTheirDevice) {
    RefPtr<SoundBuffer> sound;
    {
        SoundBoxDX box(nullptr, output);
        sound = box.CreateSound(8, 11025, 1, 0, 0, Silence(16));
    }
    output->ClearLog();
    sound.Reset();
    EXPECT_EQ(output->Log(), (Lines{"stop 0", "release 0"}));
}

}  // namespace
}  // namespace mareldon
