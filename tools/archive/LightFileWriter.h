#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/ByteWriter.h"
#include "engine/core/KeyTrack.h"
#include "engine/core/RotationTrack.h"
#include "game/render/LightFile.h"

namespace mareldon {

// The serial forms that light files hold (docs/light-file-format.md), for tests,
// fuzzing seeds and the game data set.
void WriteKeyTrack(ByteWriter& out, const KeyTrack& track);
void WriteRotationTrack(ByteWriter& out, const RotationTrack& track);
// The type word, then the tracks of that type.
void WriteLightRecord(ByteWriter& out, const LightTracks& record);

// One record of each type, with keys, and an unknown type word between them.
std::vector<uint8_t> MakeSampleLightFile();
// "placeholder.lights" of the game data set: an ambient light (0.15, 0.15, 0.2, 1), a
// directional light turned once about the vertical in 8 s by its rotation track, a
// specular light and a fog from 5 to 40.
std::vector<uint8_t> MakePlaceholderLightFile();

}  // namespace mareldon
