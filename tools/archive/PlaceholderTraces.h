#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mareldon {

// The recorded plays the attract screens and the tutorial replay: both players'
// ".trace" files of the tutorial stage, the ranking's stage and the two
// demonstration stages, as file name and image.
std::vector<std::pair<std::string, std::vector<uint8_t>>> PlaceholderTraceFiles();

// The replayed player-1 word of the tutorial at a step (0 when past its end), for
// the end-to-end checks of the lever.
uint32_t PlaceholderTutorialWord(int step);

}  // namespace mareldon
