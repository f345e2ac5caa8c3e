#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/PlaceholderSheets.h"

namespace mareldon {

// The high-score lists' sprites of the sheet "rank" beside the name glyphs: titles,
// places, ship icons, stages, the label, the pair's joining mark and the score glyphs.
std::vector<PlaceholderSprite> PlaceholderRankingSprites();
// The attract screens' notices "game over" and "insert coin" on the sheet "game".
std::vector<PlaceholderSprite> PlaceholderNoticeSprites();
// The sheet "ending" (the picture "endingback"). Returns its image slot.
std::vector<int32_t> AddPlaceholderAttractSheets(MbdWriter& writer);

// The ending picture's colour, for the end-to-end checks.
constexpr uint32_t kPlaceholderEndingColour = 0x442266;

}  // namespace mareldon
