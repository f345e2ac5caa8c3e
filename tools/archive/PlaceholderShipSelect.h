#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The ship select's and the tutorial's placeholder data.

// Stage ids whose placeholder model is the ship select's own: the hangar
// "STAGE_SOKO" and the previews "ISLAND" and "VOLCANO".
bool IsShipSelectStage(const std::string& stageId);
// The hangar: a floor, walls and crates; two turntables ("STAGE_SOKO:Layer2" on the
// left, ":Layer4" on the right), each with three slot frames ("1" to "3", "4" to
// "6", the first facing the camera); the camera mount looking down at a slant.
// ISLAND (green) and VOLCANO (red): a landscape with parts that move over 10 s.
// Each keeps "Scene" and a type-5 camera mount.
MbdWriter::Node PlaceholderShipSelectStage(MbdWriter& writer, const std::string& stageId);
// "ship0" to "ship3": four shapes of boxes in their ship colour, one layer a box,
// up to six layers.
void AddPlaceholderShipSelectModels(MbdWriter& writer);
// The sheets "stageselect", "tutorial" and "messe"; returns their image slots.
std::vector<int32_t> AddPlaceholderShipSelectSheets(MbdWriter& writer);

// Colours the end-to-end checks look for (multiples of 0x11).
constexpr uint32_t kPlaceholderHangarColour = 0x334466;
constexpr uint32_t kPlaceholderIslandColour = 0x22AA44;
constexpr uint32_t kPlaceholderVolcanoColour = 0xCC3322;
constexpr uint32_t kPlaceholderSelectFighterColour = 0xEEDD11;
constexpr uint32_t kPlaceholderLeverColour = 0x11CCEE;
constexpr uint32_t kPlaceholderMessageColour = 0xEE66AA;

}  // namespace mareldon
