#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

class MbdWriter;

// The placeholder data set's sounds: a short tone or noise burst of its own for
// every sound-effect name the game's table uses, and a short melody for every
// music cue the scene flow and the stage table name. Returns the sound slots,
// effects and tunes, for the banks "SYSTEMSE" and "SYSTEMBGM".
struct PlaceholderSoundSlots {
    std::vector<int32_t> effects;
    std::vector<int32_t> tunes;
};
PlaceholderSoundSlots AddPlaceholderSounds(MbdWriter& writer);

// The names, in the order they are added.
const std::vector<const char*>& PlaceholderEffectNames();
const std::vector<const char*>& PlaceholderTuneNames();

}  // namespace mareldon
