#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mareldon {

// The placeholder data set's movies, "demo.mpg" (10 s), "ending01.mpg" and
// "ending02.mpg" (5 s each): 320x240 at 25 pictures a second, colour bars
// moving 4 pixels a picture with the picture's number in a black block at the
// top left, and a tone a second (mono MP2, 44100 Hz). Each movie has its own
// colours and tones.
std::vector<std::string> PlaceholderMovieNames();
// Empty for a name that is none of them (or when encoding fails).
std::vector<uint8_t> MakePlaceholderMovie(const std::string& name);

// What they hold, for tests that check a decoder's output.
constexpr int32_t kPlaceholderMovieWidth = 320;
constexpr int32_t kPlaceholderMovieHeight = 240;
constexpr int32_t kPlaceholderMovieRate = 25;
constexpr int32_t kPlaceholderSoundRate = 44100;
int32_t PlaceholderMovieSeconds(const std::string& name);
void PaintPlaceholderPicture(const std::string& name, int32_t index, uint32_t* pixels);
// The tone of second s.
double PlaceholderToneHz(const std::string& name, int32_t second);

}  // namespace mareldon
