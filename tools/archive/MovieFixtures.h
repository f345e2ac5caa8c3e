#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mareldon {

// Small movies for the movie tests, made with MovieWriter.

// The colour of picture index in the solid-colour movies (0xFFRRGGBB): red
// rises and green falls 8 steps a picture, so the picture a colour came from
// can be told within one.
uint32_t SolidMovieColor(int32_t index);
// The picture a decoded colour is nearest to, among count pictures.
int32_t NearestSolidMoviePicture(uint32_t color, int32_t count);

// Every picture one solid colour, at 25 pictures a second; with soundRate > 0
// a sine tone of toneHz (mono MP2) as long as the pictures.
constexpr double kSolidMovieToneHz = 440.0;
std::vector<uint8_t> MakeSolidMovie(int32_t width, int32_t height, int32_t pictures, int32_t soundRate = 0,
                                    int32_t soundChannels = 1);
// The tone alone, as long as pictures would last (a movie without pictures).
std::vector<uint8_t> MakeSoundOnlyMovie(int32_t pictures, int32_t soundRate);

// Copies of a movie: the first fraction of its bytes; garbage (a fixed
// pseudo-random run of count bytes) written over its middle.
std::vector<uint8_t> TruncatedMovie(const std::vector<uint8_t>& movie, double fraction);
std::vector<uint8_t> GarbledMovie(const std::vector<uint8_t>& movie, size_t count);

}  // namespace mareldon
