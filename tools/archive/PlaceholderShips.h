#pragma once

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The player side's models: "sel_p00_fix" to "sel_p03_fix", a flat craft about 0.6
// units long per ship type, each of exactly two layers in two colours (body, then
// canopy); "sel_p00_podonly" to "sel_p03_podonly", a small pod in the ship's colour;
// and "EXPLOSION_PLAYER", a quad ending at 1 s.
void AddPlaceholderShipData(MbdWriter& writer);

}  // namespace mareldon
