#include "tools/archive/PlaceholderMovies.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/platform/MovieSource.h"
#include "engine/platform/av/AvMovieDecoder.h"

namespace mareldon {
namespace {

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

// Each placeholder movie decodes to its length at 25 pictures a second, shows
// its bars where they were painted (away from the edges, which the coding
// blurs) with the picture's number, and sounds its tone of each second.
TEST(PlaceholderMoviesTest, MoviesHoldTheirPicturesAndTones) {
    constexpr int kW = kPlaceholderMovieWidth;
    constexpr int kH = kPlaceholderMovieHeight;
    const std::vector<std::string> names = PlaceholderMovieNames();
    ASSERT_EQ(names, (std::vector<std::string>{"demo.mpg", "ending01.mpg", "ending02.mpg"}));
    EXPECT_TRUE(MakePlaceholderMovie("other.mpg").empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        MemoryMovieSource source(MakePlaceholderMovie(name));
        AvMovieDecoder decoder;
        ASSERT_TRUE(decoder.Open(&source, name.c_str()));
        EXPECT_EQ(decoder.Format().width, kW);
        EXPECT_EQ(decoder.Format().height, kH);
        EXPECT_EQ(decoder.Format().soundRate, kPlaceholderSoundRate);

        const int seconds = PlaceholderMovieSeconds(name);
        std::vector<uint32_t> decoded(size_t(kW) * kH);
        std::vector<uint32_t> painted(size_t(kW) * kH);
        int pictures = 0;
        double time, duration;
        while (decoder.DecodePicture(time, duration)) {
            const int index = pictures++;
            if (index % 37 != 3) {
                continue;
            }
            decoder.ConvertPicture(decoded.data());
            PaintPlaceholderPicture(name, index, painted.data());
            const int shift = (index * 4) % kW;
            for (int x = 100; x < kW; x += 7) {
                if ((x + shift) % (kW / 8) < 8 || (x + shift) % (kW / 8) > kW / 8 - 8) {
                    continue;
                }
                EXPECT_TRUE(Near(decoded[size_t(kH / 2) * kW + x], painted[size_t(kH / 2) * kW + x], 12))
                    << index << " x " << x << std::hex << " " << decoded[size_t(kH / 2) * kW + x];
            }
            // The middle of the last digit's top row is white for every digit but 4.
            const size_t digitTop = size_t(8 + 6 + 3) * kW + 8 + 6 + 9 * 6 + 3;
            EXPECT_EQ(painted[digitTop], index % 10 == 4 ? 0xFF000000u : 0xFFFFFFFFu);
            EXPECT_TRUE(Near(decoded[digitTop], painted[digitTop], 24)) << index;
        }
        EXPECT_EQ(pictures, seconds * kPlaceholderMovieRate);

        std::vector<int16_t> sound;
        const int16_t* samples;
        int32_t frames;
        while (decoder.DecodeSound(samples, frames)) {
            sound.insert(sound.end(), samples, samples + frames);
        }
        EXPECT_NEAR(double(sound.size()) / kPlaceholderSoundRate, seconds, 0.05);
        for (int second : {1, seconds - 2}) {
            int crossings = 0;
            const size_t from = size_t(second) * kPlaceholderSoundRate + kPlaceholderSoundRate / 10;
            const size_t to = from + kPlaceholderSoundRate * 8 / 10;
            for (size_t i = from + 1; i < to; ++i) {
                crossings += (sound[i - 1] < 0) != (sound[i] < 0);
            }
            EXPECT_NEAR(crossings / 2.0 / 0.8, PlaceholderToneHz(name, second), 3.0) << second;
        }
    }
}

}  // namespace
}  // namespace mareldon
