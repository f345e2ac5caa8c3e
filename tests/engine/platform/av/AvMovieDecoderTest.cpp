#include "engine/platform/av/AvMovieDecoder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/platform/MovieSource.h"
#include "tools/archive/MovieFixtures.h"

namespace mareldon {
namespace {

constexpr int kPictures = 30;

// Every picture's time and colours, and all the sound.
struct Decoded {
    std::vector<double> times;
    std::vector<std::vector<uint32_t>> pictures;
    std::vector<int16_t> sound;
};

Decoded DecodeAll(MovieDecoder& decoder) {
    Decoded out;
    const MovieFormat& format = decoder.Format();
    double time = 0.0;
    double duration = 0.0;
    while (decoder.DecodePicture(time, duration)) {
        EXPECT_NEAR(duration, 0.04, 1e-9);
        out.times.push_back(time);
        // A word past the end shows any overrun of the conversion.
        std::vector<uint32_t> pixels(static_cast<size_t>(format.width) * format.height + 1, 0x12345678u);
        decoder.ConvertPicture(pixels.data());
        EXPECT_EQ(pixels.back(), 0x12345678u);
        pixels.pop_back();
        out.pictures.push_back(std::move(pixels));
    }
    const int16_t* samples = nullptr;
    int32_t frames = 0;
    while (decoder.DecodeSound(samples, frames)) {
        out.sound.insert(out.sound.end(), samples,
                         samples + static_cast<size_t>(frames) * format.soundChannels);
    }
    return out;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {24, 16, 8, 0}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
            tolerance) {
            return false;
        }
    }
    return true;
}

struct Opened {
    MemoryMovieSource source;
    AvMovieDecoder decoder;
    bool open;
    explicit Opened(std::vector<uint8_t> bytes)
        : source(std::move(bytes)), open(decoder.Open(&source, "t.mpg")) {}
};

// Pictures come out in display order (the fixtures hold B pictures), each at
// its time, opaque, in its colour over the whole picture and never past the
// buffer's end; the sound lasts as long as the pictures.
TEST(AvMovieDecoderTest, PicturesComeInOrderAtTheirTimesWithTheirSound) {
    struct Case {
        int32_t width, height, rate, channels;
    };
    for (const Case& c : {Case{64, 48, 44100, 1}, Case{17, 9, 32000, 2}, Case{64, 48, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " " + std::to_string(c.rate));
        Opened movie(MakeSolidMovie(c.width, c.height, kPictures, c.rate, c.channels > 0 ? c.channels : 1));
        ASSERT_TRUE(movie.open);
        const MovieFormat& format = movie.decoder.Format();
        EXPECT_EQ(format.width, c.width);
        EXPECT_EQ(format.height, c.height);
        EXPECT_EQ(format.soundRate, c.rate);
        EXPECT_EQ(format.soundChannels, c.channels);
        Decoded all = DecodeAll(movie.decoder);
        ASSERT_EQ(all.times.size(), static_cast<size_t>(kPictures));
        // The sound may start a little before the first picture.
        EXPECT_GE(all.times[0], 0.0);
        EXPECT_LT(all.times[0], 0.02);
        for (int i = 0; i < kPictures; ++i) {
            EXPECT_NEAR(all.times[i] - all.times[0], i * 0.04, 1e-6) << i;
            for (uint32_t pixel : all.pictures[i]) {
                ASSERT_TRUE(Near(pixel, SolidMovieColor(i), 8)) << i << " " << std::hex << pixel;
            }
        }
        if (c.rate > 0) {
            const double seconds = static_cast<double>(all.sound.size()) / c.channels / c.rate;
            EXPECT_NEAR(seconds, kPictures * 0.04, 0.06);
        } else {
            EXPECT_TRUE(all.sound.empty());
        }
    }
}

// From the end and from half-way, a rewind gives the first picture first
// (nothing of before shows through) and the whole sound again.
TEST(AvMovieDecoderTest, RewindStartsAgainFromTheFirstPictureAndSound) {
    Opened movie(MakeSolidMovie(64, 48, kPictures, 44100));
    ASSERT_TRUE(movie.open);
    const Decoded whole = DecodeAll(movie.decoder);
    for (int halfway : {kPictures, 17}) {
        SCOPED_TRACE(halfway);
        ASSERT_TRUE(movie.decoder.Rewind());
        double time, duration;
        for (int i = 0; i < halfway; ++i) {
            ASSERT_TRUE(movie.decoder.DecodePicture(time, duration));
        }
        ASSERT_TRUE(movie.decoder.Rewind());
        const Decoded again = DecodeAll(movie.decoder);
        ASSERT_EQ(again.times.size(), whole.times.size());
        EXPECT_EQ(again.times[0], whole.times[0]);
        EXPECT_TRUE(Near(again.pictures[0][0], SolidMovieColor(0), 8));
        EXPECT_EQ(again.sound.size(), whole.sound.size());
    }
}

// Bytes that are no movie, a movie of sound alone, a header cut short, and a
// list that names a movie elsewhere (never followed) open nothing.
TEST(AvMovieDecoderTest, WhatHoldsNoPicturesOfItsOwnIsRefused) {
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += "this is no movie at all. ";
    }
    const std::vector<uint8_t> movie = MakeSolidMovie(64, 48, kPictures);
    // A list naming a real movie beside it: not followed.
    char path[] = "mareldon-named-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, movie.data(), movie.size()), ssize_t(movie.size()));
    close(fd);
    const std::string list = std::string("ffconcat version 1.0\nfile '") + path + "'\n";
    const std::vector<std::vector<uint8_t>> cases = {
        std::vector<uint8_t>(list.begin(), list.end()),
        {},
        std::vector<uint8_t>(text.begin(), text.end()),
        MakeSoundOnlyMovie(kPictures, 44100),
        TruncatedMovie(movie, 0.01),
    };
    SetLogLevel(LogLevel::Error);
    for (size_t i = 0; i < cases.size(); ++i) {
        Opened opened(cases[i]);
        EXPECT_FALSE(opened.open) << i;
    }
    SetLogLevel(LogLevel::Info);
    unlink(path);
}

}  // namespace
}  // namespace mareldon
