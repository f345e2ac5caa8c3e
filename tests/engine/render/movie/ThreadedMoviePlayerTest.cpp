#include "engine/render/movie/ThreadedMoviePlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/posix/DirectoryFileSystem.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "tools/archive/MovieFixtures.h"

namespace mareldon {
namespace {

constexpr int kPictures = 30;  // 1.2 s at 25 a second

class CountingListener final : public MovieEndListener {
  public:
    explicit CountingListener(bool answer) : answer_(answer) {}
    bool OnMovieEnd() override {
        ++calls;
        return answer_;
    }
    int calls = 0;

  private:
    bool answer_;
};

// Movies in a fresh directory read through the file system; the player's
// clock is virtual and every check waits until the player has caught up.
class MoviePlayerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        silent = new std::vector<uint8_t>(MakeSolidMovie(64, 48, kPictures));
        withSound = new std::vector<uint8_t>(MakeSolidMovie(64, 48, kPictures, 44100));
        ASSERT_FALSE(silent->empty());
        ASSERT_FALSE(withSound->empty());
    }
    static void TearDownTestSuite() {
        delete silent;
        delete withSound;
    }

    void SetUp() override {
        char pattern[] = "/tmp/mareldon-movie-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        files.Reset(new DirectoryFileSystem(String(dir.c_str())));
    }
    void TearDown() override {
        player.reset();
        files.Reset();
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    void Put(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ThreadedMoviePlayer& MakePlayer(const RefPtr<SoundBox>& sound = RefPtr<SoundBox>()) {
        MoviePlayerPorts ports;
        ports.createDecoder = &CreateAvMovieDecoder;
        ports.soundBox = sound;
        ports.clock = &clock;
        player = std::make_unique<ThreadedMoviePlayer>(ports);
        return *player;
    }
    bool OpenMovie(const std::vector<uint8_t>& bytes) {
        Put("movie.mpg", bytes);
        return player->Open(files, "movie.mpg");
    }
    // Moves the virtual clock and waits until the player has done all it can.
    void Advance(uint32_t ms) {
        clock.Advance(ms);
        ASSERT_TRUE(player->WaitUntilSettled());
    }
    // The picture the taken frame shows, checked to be one of the movie's,
    // whole and opaque.
    int Taken() {
        const uint32_t* frame = player->TakeFrame();
        EXPECT_NE(frame, nullptr);
        if (frame == nullptr) {
            return -1;
        }
        const uint32_t first = frame[0];
        const int picture = NearestSolidMoviePicture(first, kPictures);
        const uint32_t want = SolidMovieColor(picture);
        for (int shift : {16, 8, 0}) {
            EXPECT_LE(std::abs(int((first >> shift) & 0xFF) - int((want >> shift) & 0xFF)), 8)
                << std::hex << first;
        }
        EXPECT_EQ(first >> 24, 0xFFu);
        const size_t count = size_t(player->GetWidth()) * size_t(player->GetHeight());
        EXPECT_EQ(frame[count - 1], first);
        return picture;
    }

    static std::vector<uint8_t>* silent;
    static std::vector<uint8_t>* withSound;
    std::string dir;
    RefPtr<FileSystem> files;
    VirtualClock clock{5000};
    std::unique_ptr<ThreadedMoviePlayer> player;
};

std::vector<uint8_t>* MoviePlayerTest::silent = nullptr;
std::vector<uint8_t>* MoviePlayerTest::withSound = nullptr;

RefPtr<SoundBox> SilentSoundBox() {
    return RefPtr<SoundBox>(new SoundBoxDX(nullptr, std::make_shared<RecordingSoundOutput>(false)));
}

// Without a sound device, or with a silent one, the clock alone times the
// pictures: each shows from its time on, and taking one clears the flag until
// the next is due.
TEST_F(MoviePlayerTest, PicturesFollowTheClock) {
    struct Case {
        const char* what;
        bool sound;
        bool silentDevice;
    };
    for (const Case& c : {Case{"no sound", false, false}, Case{"sound, no device", true, false},
                          Case{"sound, silent device", true, true}}) {
        SCOPED_TRACE(c.what);
        ThreadedMoviePlayer& p = MakePlayer(c.silentDevice ? SilentSoundBox() : RefPtr<SoundBox>());
        ASSERT_TRUE(OpenMovie(c.sound ? *withSound : *silent));
        EXPECT_EQ(p.GetWidth(), 64);
        EXPECT_EQ(p.GetHeight(), 48);
        EXPECT_FALSE(p.IsFrameReady());
        EXPECT_EQ(p.TakeFrame()[0], 0u);  // zeroed until the first picture

        // With sound, the pictures start 11 ms after it.
        ASSERT_TRUE(p.Play());
        Advance(20);
        EXPECT_TRUE(p.IsFrameReady());
        EXPECT_EQ(Taken(), 0);
        EXPECT_FALSE(p.IsFrameReady());

        Advance(480);
        ASSERT_TRUE(p.IsFrameReady());
        EXPECT_EQ(Taken(), 12);
        EXPECT_FALSE(p.IsFrameReady());
        Advance(10);  // 0.51 s: picture 13 is due at 0.52 s (0.531 s)
        EXPECT_FALSE(p.IsFrameReady());
        Advance(30);
        EXPECT_TRUE(p.IsFrameReady());
        EXPECT_EQ(Taken(), 13);
        EXPECT_GT(p.DroppedPictures(), 0u);  // 1 to 11 were never due alone
        EXPECT_TRUE(p.Close());
        EXPECT_FALSE(p.Close());
    }
}

TEST_F(MoviePlayerTest, PauseHoldsThePictureAndPlayStartsAgain) {
    ThreadedMoviePlayer& p = MakePlayer();
    ASSERT_TRUE(OpenMovie(*silent));
    EXPECT_FALSE(p.Pause());  // not playing yet
    EXPECT_TRUE(p.Stop());
    ASSERT_TRUE(p.Play());
    Advance(400);
    EXPECT_EQ(Taken(), 10);
    EXPECT_TRUE(p.Pause());
    EXPECT_FALSE(p.Pause());
    Advance(3000);
    EXPECT_DOUBLE_EQ(p.MovieTime(), 0.4);
    EXPECT_FALSE(p.IsFrameReady());
    EXPECT_TRUE(p.Resume());
    EXPECT_FALSE(p.Resume());
    Advance(100);
    EXPECT_NEAR(Taken(), 12, 1);
    EXPECT_TRUE(p.Stop());
    EXPECT_TRUE(p.Stop());
    Advance(500);
    EXPECT_FALSE(p.IsFrameReady());
    ASSERT_TRUE(p.Play());
    Advance(0);
    EXPECT_EQ(Taken(), 0);
    Advance(200);
    EXPECT_EQ(Taken(), 5);
}

// At the end, no handler or one answering true starts the movie again once
// per end, from its first picture; false keeps the last picture and nothing
// further comes.
TEST_F(MoviePlayerTest, TheEndHandlerDecidesWhetherTheMovieLoops) {
    struct Case {
        const char* what;
        bool handler;
        bool answer;
    };
    for (const Case& c :
         {Case{"no handler", false, true}, Case{"true", true, true}, Case{"false", true, false}}) {
        SCOPED_TRACE(c.what);
        CountingListener listener(c.answer);
        ThreadedMoviePlayer& p = MakePlayer();
        p.SetEndHandler(c.handler ? &listener : nullptr);
        ASSERT_TRUE(OpenMovie(*silent));
        ASSERT_TRUE(p.Play());
        for (int loop = 1; loop <= 3; ++loop) {
            Advance(1100);
            p.Update();  // no end yet
            EXPECT_EQ(listener.calls, c.handler ? loop - 1 : 0);
            EXPECT_EQ(Taken(), 27);
            Advance(100);  // the last picture shows until 1.2 s
            EXPECT_EQ(Taken(), 29);
            p.Update();
            EXPECT_EQ(listener.calls, c.handler ? loop : 0);
            p.Update();
            EXPECT_EQ(listener.calls, c.handler ? loop : 0);
            if (!c.answer) {
                break;
            }
            Advance(0);
            EXPECT_EQ(Taken(), 0);
        }
        if (!c.answer) {
            Advance(5000);
            p.Update();
            EXPECT_FALSE(p.IsFrameReady());
            EXPECT_EQ(Taken(), 29);
            EXPECT_EQ(listener.calls, 1);
        }
        p.Close();
    }
}

TEST_F(MoviePlayerTest, MissingNonVideoAndOversizedMoviesAreRefused) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "no movie here. ";
    }
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool present;
    };
    const Case cases[] = {
        {"missing", {}, false},
        {"empty", {}, true},
        {"text", std::vector<uint8_t>(text.begin(), text.end()), true},
        {"sound only", MakeSoundOnlyMovie(kPictures, 44100), true},
        {"1024x1024", MakeSolidMovie(1024, 1024, 3), true},
    };
    SetLogLevel(LogLevel::Error);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThreadedMoviePlayer& p = MakePlayer();
        if (c.present) {
            EXPECT_FALSE(OpenMovie(c.bytes));
        } else {
            EXPECT_FALSE(p.Open(files, "absent.mpg"));
        }
        EXPECT_FALSE(p.Play());
        EXPECT_FALSE(p.Stop());
        EXPECT_FALSE(p.Pause());
        EXPECT_FALSE(p.Resume());
        EXPECT_FALSE(p.Close());
        EXPECT_FALSE(p.IsFrameReady());
        EXPECT_EQ(p.TakeFrame(), nullptr);
        EXPECT_EQ(p.GetWidth(), 0);
        p.Update();
        EXPECT_FALSE(p.WaitUntilSettled());
    }
    SetLogLevel(LogLevel::Info);

    // Odd sizes fill the frame exactly; the name resolves as every file name does.
    ThreadedMoviePlayer& p = MakePlayer();
    Put("odd.mpg", MakeSolidMovie(17, 9, 5));
    ASSERT_TRUE(p.Open(files, "ODD.Mpg"));
    EXPECT_EQ(p.GetWidth(), 17);
    EXPECT_EQ(p.GetHeight(), 9);
    ASSERT_TRUE(p.Play());
    Advance(100);
    EXPECT_EQ(Taken(), 2);
}

// Damaged files play what decodes and end in time; the clock runs on the
// sound while it lasts.
TEST_F(MoviePlayerTest, DamagedMoviesPlayWhatDecodesAndEnd) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool sound;
    };
    const Case cases[] = {
        {"truncated", TruncatedMovie(*silent, 0.5), false},
        {"garbled", GarbledMovie(*silent, 3000), false},
        {"truncated with sound", TruncatedMovie(*withSound, 0.6), true},
        {"garbled with sound", GarbledMovie(*withSound, 3000), true},
    };
    SetLogLevel(LogLevel::Error);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto output = std::make_shared<RecordingSoundOutput>();
        output->SetOutputRate(44100);
        CountingListener listener(false);
        ThreadedMoviePlayer& p = MakePlayer(RefPtr<SoundBox>(new SoundBoxDX(nullptr, output)));
        p.SetEndHandler(&listener);
        ASSERT_TRUE(OpenMovie(c.bytes));
        ASSERT_TRUE(p.Play());
        int shown = 0;
        std::vector<float> mixed(2 * 4410);
        for (int step = 0; step < 100 && listener.calls == 0; ++step) {
            output->Mix(mixed.data(), 4410);
            Advance(100);
            if (p.IsFrameReady()) {
                EXPECT_NE(p.TakeFrame(), nullptr);  // what decodes of a damaged picture
                ++shown;
            }
            p.Update();
        }
        EXPECT_EQ(listener.calls, 1);
        EXPECT_GT(shown, 0);
    }
    SetLogLevel(LogLevel::Info);
}

// The sound reaches the device whole, and the pictures keep time with the
// frames the mixer has taken.
TEST_F(MoviePlayerTest, SoundPlaysThroughTheDeviceAndTimesThePictures) {
    constexpr int kRate = 44100;
    constexpr int kBlock = 1024;
    auto output = std::make_shared<RecordingSoundOutput>();
    output->SetOutputRate(kRate);
    CountingListener listener(false);
    ThreadedMoviePlayer& p = MakePlayer(RefPtr<SoundBox>(new SoundBoxDX(nullptr, output)));
    p.SetEndHandler(&listener);
    ASSERT_TRUE(OpenMovie(*withSound));
    EXPECT_EQ(output->Log().back(), "pan 0 0");
    EXPECT_EQ(output->Log()[output->Log().size() - 3], "stream 44100 1 -> 0");
    ASSERT_TRUE(p.Play());

    std::vector<float> left;
    std::vector<float> block(2 * kBlock);
    bool paused = false;
    ASSERT_TRUE(p.WaitUntilSettled());
    while (listener.calls == 0 && left.size() < 3u * kRate) {
        const double pulled = double(left.size()) / kRate;
        if (p.IsFrameReady()) {
            EXPECT_NEAR(Taken(), pulled * 25, 1.5) << pulled;
        }
        if (!paused && pulled >= 0.6) {
            // Halted, the mixer gets silence and the clock holds still.
            paused = true;
            const double at = p.MovieTime();
            ASSERT_TRUE(p.Pause());
            ASSERT_TRUE(p.WaitUntilSettled());
            output->Mix(block.data(), kBlock);
            for (float v : block) {
                ASSERT_EQ(v, 0.0f);
            }
            EXPECT_DOUBLE_EQ(p.MovieTime(), at);
            ASSERT_TRUE(p.Resume());
            ASSERT_TRUE(p.WaitUntilSettled());
        }
        output->Mix(block.data(), kBlock);
        for (int i = 0; i < kBlock; ++i) {
            left.push_back(block[2 * i]);
        }
        clock.Advance(kBlock * 1000 / kRate);  // once the sound is out, this clock takes over
        ASSERT_TRUE(p.WaitUntilSettled());
        p.Update();
    }
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(Taken(), kPictures - 1);

    size_t last = left.size();
    while (last > 0 && left[last - 1] == 0.0f) {
        --last;
    }
    EXPECT_NEAR(double(last) / kRate, kPictures / 25.0, 0.06);
    int crossings = 0;
    for (size_t i = kRate / 5; i < size_t(kRate); ++i) {
        crossings += (left[i - 1] < 0.0f) != (left[i] < 0.0f);
    }
    EXPECT_NEAR(crossings / 2.0 / 0.8, kSolidMovieToneHz, 5.0);
}

}  // namespace
}  // namespace mareldon
