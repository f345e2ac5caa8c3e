#include "tools/archive/PlaceholderMovies.h"

#include <algorithm>
#include <cmath>

#include "tools/archive/MovieWriter.h"

namespace mareldon {

namespace {

struct MovieLook {
    const char* name;
    int32_t seconds;
    uint32_t bars[8];
    double tones[10];  // Hz, one a second
};

const MovieLook kLooks[] = {
    {"demo.mpg",
     10,
     {0xFFC0C0C0, 0xFFC0C000, 0xFF00C0C0, 0xFF00C000, 0xFFC000C0, 0xFFC00000, 0xFF0000C0, 0xFF202020},
     {261.63, 293.66, 329.63, 349.23, 392.0, 440.0, 493.88, 523.25, 587.33, 659.25}},
    {"ending01.mpg",
     5,
     {0xFF102060, 0xFF2040A0, 0xFF3070E0, 0xFF60A0F0, 0xFFA0D0FF, 0xFF60A0F0, 0xFF3070E0, 0xFF2040A0},
     {523.25, 440.0, 392.0, 329.63, 261.63}},
    {"ending02.mpg",
     5,
     {0xFF601010, 0xFFA03010, 0xFFE06010, 0xFFF0A020, 0xFFFFE060, 0xFFF0A020, 0xFFE06010, 0xFFA03010},
     {392.0, 493.88, 587.33, 783.99, 587.33}},
};

// Digits 0-9 in 3x5 cells, one row a number, bit 2 the left column.
const uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

const MovieLook* Find(const std::string& name) {
    for (const MovieLook& look : kLooks) {
        if (name == look.name) {
            return &look;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> PlaceholderMovieNames() {
    std::vector<std::string> names;
    for (const MovieLook& look : kLooks) {
        names.push_back(look.name);
    }
    return names;
}

int32_t PlaceholderMovieSeconds(const std::string& name) {
    const MovieLook* look = Find(name);
    return look != nullptr ? look->seconds : 0;
}

double PlaceholderToneHz(const std::string& name, int32_t second) {
    const MovieLook* look = Find(name);
    return look != nullptr && second >= 0 && second < look->seconds ? look->tones[second] : 0.0;
}

void PaintPlaceholderPicture(const std::string& name, int32_t index, uint32_t* pixels) {
    const MovieLook* look = Find(name);
    if (look == nullptr) {
        return;
    }
    constexpr int32_t w = kPlaceholderMovieWidth;
    constexpr int32_t h = kPlaceholderMovieHeight;
    constexpr int32_t barWidth = w / 8;
    const int32_t shift = (index * 4) % w;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            pixels[y * w + x] = look->bars[((x + shift) % w) / barWidth];
        }
    }
    // The number, three digits of 3x5 cells drawn 6 pixels a cell.
    constexpr int32_t cell = 6;
    constexpr int32_t left = 8;
    constexpr int32_t top = 8;
    for (int32_t y = top; y < top + 5 * cell + 12; ++y) {
        for (int32_t x = left; x < left + 3 * 4 * cell + 12 - cell; ++x) {
            pixels[y * w + x] = 0xFF000000;
        }
    }
    const int32_t digits[3] = {(index / 100) % 10, (index / 10) % 10, index % 10};
    for (int32_t d = 0; d < 3; ++d) {
        for (int32_t row = 0; row < 5; ++row) {
            for (int32_t col = 0; col < 3; ++col) {
                if (!(kDigits[digits[d]][row] & (4 >> col))) {
                    continue;
                }
                const int32_t x0 = left + 6 + (d * 4 + col) * cell;
                const int32_t y0 = top + 6 + row * cell;
                for (int32_t y = y0; y < y0 + cell; ++y) {
                    for (int32_t x = x0; x < x0 + cell; ++x) {
                        pixels[y * w + x] = 0xFFFFFFFF;
                    }
                }
            }
        }
    }
}

std::vector<uint8_t> MakePlaceholderMovie(const std::string& name) {
    const MovieLook* look = Find(name);
    if (look == nullptr) {
        return {};
    }
    MovieSpec spec;
    spec.width = kPlaceholderMovieWidth;
    spec.height = kPlaceholderMovieHeight;
    spec.framesPerSecond = kPlaceholderMovieRate;
    spec.frameCount = look->seconds * kPlaceholderMovieRate;
    spec.soundRate = kPlaceholderSoundRate;
    spec.soundChannels = 1;
    MovieWriter writer(spec);
    return writer.Write(
        [&](int32_t index, uint32_t* pixels) { PaintPlaceholderPicture(name, index, pixels); },
        [&](int64_t first, int32_t count, int16_t* samples) {
            constexpr double kTwoPi = 6.283185307179586;
            constexpr int64_t kFade = kPlaceholderSoundRate / 100;
            for (int32_t i = 0; i < count; ++i) {
                const int64_t at = first + i;
                const int32_t second = static_cast<int32_t>(at / kPlaceholderSoundRate);
                const int64_t into = at % kPlaceholderSoundRate;
                // Short fades at each change keep the tones from clicking.
                const int64_t edge = std::min(into, kPlaceholderSoundRate - 1 - into);
                const double fade = edge < kFade ? static_cast<double>(edge) / kFade : 1.0;
                const double t = static_cast<double>(at) / kPlaceholderSoundRate;
                samples[i] = static_cast<int16_t>(
                    std::lround(9000.0 * fade * std::sin(kTwoPi * look->tones[second] * t)));
            }
        });
}

}  // namespace mareldon
