#pragma once

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The player side's models: "sel_p00_fix" to "sel_p03_fix", a flat craft about 0.6
// units long per ship type, each of exactly two layers in two colours (body, then
// canopy); "sel_p00_podonly" to "sel_p03_podonly", a small pod in the ship's colour;
// "EXPLOSION_PLAYER", a growing quad ending at 1 s; the guns' looping muzzle flashes
// "PSHOT_MUZZLE00", "01", "02", "02_2" and "03"; and the shots' hit effects "PSHOT_HIT"
// and "STE_pl0K_*_chakudan", growing quads over within 0.3 s. Flashes and hits are
// additive ("addsat").
void AddPlaceholderShipData(MbdWriter& writer);

}  // namespace mareldon
