#include "tools/archive/MovieFixtures.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "tools/archive/MovieWriter.h"

namespace mareldon {

namespace {

void Tone(int32_t rate, int32_t channels, int64_t first, int32_t count, int16_t* samples) {
    constexpr double kTwoPi = 6.283185307179586;
    for (int32_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(first + i) / rate;
        const auto value =
            static_cast<int16_t>(std::lround(12000.0 * std::sin(kTwoPi * kSolidMovieToneHz * t)));
        for (int32_t c = 0; c < channels; ++c) {
            samples[i * channels + c] = value;
        }
    }
}

}  // namespace

uint32_t SolidMovieColor(int32_t index) {
    const uint32_t step = static_cast<uint32_t>(index % 30);
    const uint32_t red = 8 + 8 * step;
    const uint32_t green = 248 - 8 * step;
    const uint32_t blue = 96;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

int32_t NearestSolidMoviePicture(uint32_t color, int32_t count) {
    int32_t best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t want = SolidMovieColor(i);
        int distance = 0;
        for (int shift : {16, 8, 0}) {
            distance += std::abs(static_cast<int>((color >> shift) & 0xFF) -
                                 static_cast<int>((want >> shift) & 0xFF));
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

std::vector<uint8_t> MakeSolidMovie(int32_t width, int32_t height, int32_t pictures, int32_t soundRate,
                                    int32_t soundChannels) {
    MovieSpec spec;
    spec.width = width;
    spec.height = height;
    spec.frameCount = pictures;
    spec.soundRate = soundRate;
    spec.soundChannels = soundChannels;
    MovieWriter writer(spec);
    return writer.Write(
        [&](int32_t index, uint32_t* pixels) {
            const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
            for (size_t i = 0; i < count; ++i) {
                pixels[i] = SolidMovieColor(index);
            }
        },
        [&](int64_t first, int32_t count, int16_t* samples) {
            Tone(soundRate, soundChannels, first, count, samples);
        });
}

std::vector<uint8_t> MakeSoundOnlyMovie(int32_t pictures, int32_t soundRate) {
    MovieSpec spec;
    spec.width = 0;
    spec.height = 0;
    spec.frameCount = pictures;
    spec.soundRate = soundRate;
    MovieWriter writer(spec);
    return writer.Write(nullptr, [&](int64_t first, int32_t count, int16_t* samples) {
        Tone(soundRate, 1, first, count, samples);
    });
}

std::vector<uint8_t> TruncatedMovie(const std::vector<uint8_t>& movie, double fraction) {
    return std::vector<uint8_t>(
        movie.begin(),
        movie.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(movie.size()) * fraction));
}

std::vector<uint8_t> GarbledMovie(const std::vector<uint8_t>& movie, size_t count) {
    std::vector<uint8_t> garbled = movie;
    const size_t start = garbled.size() / 2 > count / 2 ? garbled.size() / 2 - count / 2 : 0;
    uint32_t state = 0x2545F491u;
    for (size_t i = start; i < garbled.size() && i < start + count; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        garbled[i] = static_cast<uint8_t>(state);
    }
    return garbled;
}

}  // namespace mareldon
