#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The first wave of the placeholder "STAGE_KAZE": five enemy layers the stage
// objects build, each a box of one saturated colour standing on the ground under
// "Scene", in the camera's view from the stage's second second on.
struct PlaceholderWaveEnemy {
    const char* layer;
    float x, z;
    uint32_t rgb;
};
inline constexpr float kPlaceholderKazeWaveStart = 2.0f;
inline constexpr float kPlaceholderKazeWaveEnd = 60.0f;
inline constexpr float kPlaceholderKazeWaveHalf = 0.4f;
const std::vector<PlaceholderWaveEnemy>& PlaceholderKazeWave();

// The wave's layers under the "Scene" of `stage`.
void AddPlaceholderKazeWave(MbdWriter& writer, MbdWriter::Node& stage);

}  // namespace mareldon
