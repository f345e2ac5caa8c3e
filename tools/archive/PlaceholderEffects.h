#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The effect sheet "effect_all": 8 x 8 cells of 32 pixels, a fireball that swells
// from yellow to red and fades to grey smoke, each cell numbered in binary by six
// white marks along its top edge (cell 0 has none).
std::vector<uint8_t> FireballSheetPng();

// The explosion and smoke effects ("EXPLOSION_ita_SA01", "EXPLOSION_ita_MA01",
// "EXPLOSION_ita_LA01", "EXPLOSION_SG01", "EXPLOSION_LG01", "EFECTS_KEMURI_01"):
// quads over the fireball sheet whose part is named after its sheet layout
// ("uvscroll4x2", "uvscroll8x4", "uvscroll8x8"), each ending within 1 s; the reflect
// force's fields "refrect_force_00" to "_03", translucent rings in the ship colours;
// its flashes "REFLECT_HATSUDOU" and "REFLECT_KAIFUKU"; and the scorch decal
// "chijyou_bakha_ato4_0", a quad whose part "zangai2x2" shows a quarter of the sheet.
void AddPlaceholderEffectData(MbdWriter& writer);

struct PlaceholderSheetEffect {
    const char* name;
    const char* material;
    float endTime;
};
// The sheet effects, as AddPlaceholderEffectData writes them.
const std::vector<PlaceholderSheetEffect>& PlaceholderSheetEffects();

}  // namespace mareldon
