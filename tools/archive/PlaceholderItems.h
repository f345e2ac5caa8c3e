#pragma once

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// Seconds the placeholder bombers fly: the length of a bomb.
inline constexpr float kPlaceholderBomberSeconds = 3.0f;

// The models of dropped items ("BONUS_POWER", "BONUS_BOMB", "BONUS_S", "BONUS_SX",
// "BONUS_M", "BONUS_L", "BONUS_X", "BONUS_SR2": small quads, larger for the better
// ones), the pickup captions "POWER_font" and "FORCE_font" (wide quads ending at
// 1 s) and the bombers "pl00_bomber" to "pl03_bomber": a craft crossing the play
// area along z by position keys, ending at 3 s.
void AddPlaceholderItemModels(MbdWriter& writer);

}  // namespace mareldon
