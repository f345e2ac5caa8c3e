#include "game/testmode/SoundTestPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "engine/platform/SoundBox.h"
#include "game/system/GameSystem.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"
#include "tools/archive/PlaceholderSounds.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

class SoundTestPageTest : public testing::Test, public TestModeFixture {
  protected:
    SoundTestPage* Open(const SoundSettings& live = SoundSettings{}) {
        EnterTestMode();
        system->StoreSoundSettings(live);
        OpenEntry(2);
        TakeLog();
        return Opened<SoundTestPage>();
    }
    // Moves the cursor down (or up) a number of lines.
    void Move(uint32_t key, int lines) {
        for (int i = 0; i < lines; ++i) {
            Tap(key);
        }
    }
    static std::string Play(const RefPtr<SoundBuffer>& sound, bool loop = false) {
        return "play " + std::to_string(sound->Buffer()) + (loop ? " loop" : "");
    }
    static std::string Stop(const RefPtr<SoundBuffer>& sound) {
        return "stop " + std::to_string(sound->Buffer());
    }
    static bool Has(const std::vector<std::string>& log, const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    static int CountPrefix(const std::vector<std::string>& log, const std::string& prefix) {
        return int(std::count_if(log.begin(), log.end(),
                                 [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }
};

// The effects are the "SYSTEMSE" cues; the tunes the ids below their count that
// no cue names, which in the placeholder set are the tunes.
TEST_F(SoundTestPageTest, ListsAndLimits) {
    SoundTestPage* page = Open(SoundSettings{100, 0, -100});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->SeCount(), int32_t(PlaceholderEffectNames().size()));
    EXPECT_EQ(page->BgmCount(), int32_t(PlaceholderTuneNames().size()));

    Tap(Key::kLeft);
    EXPECT_EQ(page->SeNumber(), page->SeCount() - 1);
    Tap(Key::kRight);
    EXPECT_EQ(page->SeNumber(), 0);
    Tap(Key::kDown);
    Tap(Key::kLeft);
    EXPECT_EQ(page->BgmNumber(), page->BgmCount() - 1);
    Tap(Key::kDown);
    Tap(Key::kRight);
    EXPECT_EQ(page->SeVolume(), 100);
    Tap(Key::kDown);
    Tap(Key::kLeft);
    EXPECT_EQ(page->BgmVolume(), 0);
    Tap(Key::kDown);
    Tap(Key::kLeft);
    EXPECT_EQ(page->Balance(), -100);
    StepTestMode();
    const std::vector<TestDrawCall> quads = Drawn(TestDrawCall::kQuad);
    ASSERT_EQ(quads.size(), 6u);
    EXPECT_EQ(quads[5].x1 - quads[5].x0, 0.0f) << "balance -100: an empty bar";
    EXPECT_EQ(quads[1].x1 - quads[1].x0, 100.0f);
}

TEST_F(SoundTestPageTest, PreviewRunsOverTheThreeBarLines) {
    SoundTestPage* page = Open();
    ASSERT_NE(page, nullptr);
    Tap(Key::kDown);
    EXPECT_TRUE(TakeLog().empty());
    Tap(Key::kDown);
    const RefPtr<SoundBuffer> se = page->SeSound();
    const RefPtr<SoundBuffer> bgm = page->BgmSound();
    ASSERT_TRUE(se && bgm);
    std::vector<std::string> log = TakeLog();
    EXPECT_TRUE(Has(log, Play(se)));
    EXPECT_TRUE(Has(log, Play(bgm, true)));
    EXPECT_TRUE(page->IsPreviewing());
    Move(Key::kDown, 2);
    log = TakeLog();
    EXPECT_EQ(CountPrefix(log, "stop"), 0);
    EXPECT_EQ(CountPrefix(log, "play"), 0);

    // BALANCE pans both at once.
    Tap(Key::kRight);
    log = TakeLog();
    EXPECT_EQ(CountPrefix(log, "pan " + std::to_string(se->Buffer())), 1);
    EXPECT_EQ(CountPrefix(log, "pan " + std::to_string(bgm->Buffer())), 1);

    Tap(Key::kDown);
    log = TakeLog();
    EXPECT_TRUE(Has(log, Stop(se)));
    EXPECT_TRUE(Has(log, Stop(bgm)));
    EXPECT_FALSE(page->IsPreviewing());

    // Up from RETURN starts it again.
    Tap(Key::kUp);
    EXPECT_TRUE(Has(TakeLog(), Play(page->BgmSound(), true)));
}

TEST_F(SoundTestPageTest, ButtonsPlayTheSelectedSounds) {
    SoundTestPage* page = Open(SoundSettings{40, 60, 0});
    ASSERT_NE(page, nullptr);
    Tap(Key::kRight);
    Tap(Key::kButton1);
    std::vector<std::string> log = TakeLog();
    EXPECT_TRUE(Has(log, Play(page->SeSound())));
    EXPECT_EQ(CountPrefix(log, "play"), 1);
    Tap(Key::kDown);
    Tap(Key::kButton2);
    log = TakeLog();
    EXPECT_TRUE(Has(log, Play(page->BgmSound(), true)));
    EXPECT_EQ(CountPrefix(log, "play"), 1);
}

// Every audition plays a new instance of the listed sound: its volume and pan
// stay on it, and the shared sounds the game's cues play keep their own.
TEST_F(SoundTestPageTest, EachAuditionPlaysAnInstanceOfItsOwn) {
    SoundTestPage* page = Open(SoundSettings{40, 60, 0});
    ASSERT_NE(page, nullptr);
    std::set<long> shared;
    for (const auto* list : {&page->SeList(), &page->BgmList()}) {
        for (const RefPtr<SoundBuffer>& sound : *list) {
            ASSERT_TRUE(sound);
            shared.insert(sound->Buffer());
        }
    }
    // The first line that sets or plays one of the shared sounds.
    const auto touchesShared = [&](const std::vector<std::string>& log) {
        for (const std::string& line : log) {
            std::istringstream in(line);
            std::string op;
            long buffer = -1;
            in >> op >> buffer;
            if ((op == "pan" || op == "volume" || op == "play") && shared.count(buffer) != 0)
                return line;
        }
        return std::string();
    };
    for (uint32_t key : {Key::kButton1, Key::kButton2}) {
        Tap(key);
        const std::vector<std::string> log = TakeLog();
        EXPECT_EQ(CountPrefix(log, "create"), 1);
        EXPECT_TRUE(Has(log, Play(page->SeSound())));
        EXPECT_EQ(touchesShared(log), "");
    }
    Tap(Key::kDown);
    Tap(Key::kButton1);
    std::vector<std::string> log = TakeLog();
    EXPECT_EQ(CountPrefix(log, "create"), 1);
    EXPECT_TRUE(Has(log, Play(page->BgmSound(), true)));
    EXPECT_EQ(touchesShared(log), "");

    // The preview and its balance.
    Move(Key::kDown, 3);
    Move(Key::kLeft, 25);
    log = TakeLog();
    EXPECT_EQ(CountPrefix(log, "create"), 2);
    EXPECT_EQ(CountPrefix(log, "pan " + std::to_string(page->SeSound()->Buffer()) + " -2500"), 1);
    EXPECT_EQ(touchesShared(log), "");
}

TEST_F(SoundTestPageTest, PreviewedEffectPlaysAgain150StepsAfterItEnded) {
    SoundTestPage* page = Open();
    ASSERT_NE(page, nullptr);
    Move(Key::kDown, 2);
    const RefPtr<SoundBuffer> se = page->SeSound();
    ASSERT_TRUE(page->IsPreviewing());
    ASSERT_TRUE(Device()->IsPlaying(se));
    // Long enough for the effect to end; the tune loops on.
    std::vector<float> frames(2 * 48000);
    output->Mix(frames.data(), 48000);
    ASSERT_FALSE(Device()->IsPlaying(se));
    EXPECT_TRUE(Device()->IsPlaying(page->BgmSound()));
    TakeLog();
    int steps = 0;
    while (!Has(TakeLog(), Play(se)) && steps < 400) {
        StepTestMode();
        ++steps;
    }
    EXPECT_EQ(steps, SoundTestPage::kReplaySteps + 1);
}

TEST_F(SoundTestPageTest, YesStoresTheThreeValuesNoNothing) {
    SoundTestPage* page = Open();
    ASSERT_NE(page, nullptr);
    const std::vector<uint8_t> before = ConfigBytes();
    Move(Key::kDown, 2);
    Tap(Key::kLeft);  // SE 74
    Tap(Key::kDown);
    Move(Key::kRight, 2);  // BGM 77
    Tap(Key::kDown);
    Tap(Key::kLeft);  // balance -1
    Tap(Key::kDown);
    Tap(Key::kButton1);
    ASSERT_TRUE(page->IsQuestionOpen());
    Tap(Key::kButton1);
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(Screen()->OpenedPage(), nullptr);

    OpenEntry(0);
    page = Opened<SoundTestPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->SeVolume(), 75) << "NO dropped the changes";
    Move(Key::kDown, 2);
    Tap(Key::kLeft);
    Tap(Key::kDown);
    Move(Key::kRight, 2);
    Tap(Key::kDown);
    Tap(Key::kLeft);
    Tap(Key::kDown);
    const RefPtr<SoundBuffer> bgm = page->BgmSound();
    ASSERT_TRUE(bgm);
    Taps({Key::kButton1, Key::kRight, Key::kButton1});
    EXPECT_FALSE(Device()->IsPlaying(bgm));
    const ConfigBlocks stored = StoredConfig();
    EXPECT_EQ(stored.sound.seVolume, 74);
    EXPECT_EQ(stored.sound.bgmVolume, 77);
    EXPECT_EQ(stored.sound.balance, -1);
}

TEST_F(SoundTestPageTest, BarsCompareWithTheFactoryValues) {
    SoundTestPage* page = Open();
    ASSERT_NE(page, nullptr);
    StepTestMode();
    std::vector<TestDrawCall> quads = Drawn(TestDrawCall::kQuad);
    ASSERT_EQ(quads.size(), 6u);
    const float lengths[3] = {75, 75, 50};
    for (int bar = 0; bar < 3; ++bar) {
        const TestDrawCall& background = quads[size_t(2 * bar)];
        const TestDrawCall& value = quads[size_t(2 * bar + 1)];
        EXPECT_FLOAT_EQ(background.x0, 288.0f);
        EXPECT_EQ(background.x1 - background.x0, 100.0f);
        EXPECT_EQ(value.x1 - value.x0, lengths[bar]);
        EXPECT_EQ(value.y0, 120.0f + 24.0f * float(bar));
        EXPECT_NEAR(value.y1 - value.y0, 14.4f, 1e-4f);
        EXPECT_TRUE(background.colour == (ScreenColor{0, 0, 1, 0.3f}));
        EXPECT_TRUE(value.colour == (ScreenColor{0.5f, 0.5f, 1, 1}));
    }
    Move(Key::kDown, 2);
    quads = Drawn(TestDrawCall::kQuad);
    EXPECT_TRUE(quads[1].colour == (ScreenColor{1, 1, 0, 1}));
    EXPECT_TRUE(quads[0].colour == (ScreenColor{1, 1, 0, 0.3f}));
    Tap(Key::kRight);
    quads = Drawn(TestDrawCall::kQuad);
    EXPECT_TRUE(quads[1].colour == (ScreenColor{1, 0, 0, 1}));
    EXPECT_EQ(quads[1].x1 - quads[1].x0, 76.0f);
    Tap(Key::kDown);
    quads = Drawn(TestDrawCall::kQuad);
    EXPECT_TRUE(quads[1].colour == (ScreenColor{1, 1, 1, 1}));
    EXPECT_TRUE(quads[0].colour == (ScreenColor{1, 1, 1, 0.3f}));
    EXPECT_EQ(DrawnText(kBgmVolumeHelp[0]).size(), 1u);
    EXPECT_EQ(DrawnText("76").at(0).x0, 0.4f * 480);
}

// An archive without the "SYSTEMSE" group: nothing to list, nothing plays, and
// every line still works.
TEST(SoundTestPageEmptyTest, WithoutTheEffectsGroupNothingPlays) {
    TestModeFixture fixture(MakeEmptyArchive());
    fixture.EnterTestMode();
    fixture.OpenEntry(2);
    SoundTestPage* page = fixture.Opened<SoundTestPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->SeCount(), 0);
    EXPECT_EQ(page->BgmCount(), 0);
    fixture.TakeLog();
    fixture.Taps(
        {Key::kLeft, Key::kButton1, Key::kDown, Key::kRight, Key::kButton1, Key::kDown, Key::kButton1});
    for (int i = 0; i < 200; ++i) {
        fixture.StepTestMode();
    }
    EXPECT_EQ(page->SeNumber(), 0);
    EXPECT_EQ(page->BgmNumber(), 0);
    for (const std::string& line : fixture.TakeLog()) {
        EXPECT_NE(line.rfind("play", 0), 0u) << line;
    }
    fixture.Taps({Key::kUp, Key::kUp, Key::kUp, Key::kButton1, Key::kRight, Key::kButton1});
    EXPECT_EQ(fixture.StoredConfig().sound.seVolume, 75);
    EXPECT_EQ(fixture.Screen()->OpenedPage(), nullptr);
}

}  // namespace
}  // namespace mareldon
