#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// One sprite of a placeholder sheet: a block of its own colour showing its word
// in the 5x7 font (white or black, whichever reads; in the top quarter of a
// sprite taller than 64, so its middle shows the colour), or with `style` kInk
// the word alone in white on transparent, or with kFrame only a 2-pixel border.
struct PlaceholderSprite {
    enum Style { kBlock, kInk, kFrame };
    std::string name;
    int32_t w, h;
    std::string text;
    uint32_t rgb;  // 0: a colour made from the name
    Style style = kBlock;
};

// Packs the sprites in rows, left to right, into a sheet `width` wide (the
// height the next power of two that holds them) and adds it as `sheetName`.
// Returns its image slot.
int32_t AddPlaceholderSheet(MbdWriter& writer, const char* sheetName, int32_t width,
                            const std::vector<PlaceholderSprite>& sprites);

// The lower-level steps of AddPlaceholderSheet, for a sheet that holds more than
// sprites: packs them in rows into the columns [left, left + width) from the top
// (`bottom` receives the height used), and paints them into `rgba`, `sheetWidth` wide.
std::vector<MbdWriter::Frame> PackPlaceholderSprites(const std::vector<PlaceholderSprite>& sprites,
                                                     int32_t left, int32_t width, int32_t* bottom);
void PaintPlaceholderSprites(std::vector<uint8_t>& rgba, int32_t sheetWidth,
                             const std::vector<MbdWriter::Frame>& frames,
                             const std::vector<PlaceholderSprite>& sprites);

// The front-end screens' sprites of the sheet "game" (the bullets' sheet).
std::vector<PlaceholderSprite> PlaceholderGameSprites();
// The play screen's head-up display sprites of the sheet "game", every one its own rectangle.
std::vector<PlaceholderSprite> PlaceholderHudSprites();

// "systemimage" with the credit overlay's sprites (as AddPlaceholderSystemImage
// draws them) and the front-end screens' own.
int32_t AddPlaceholderFullSystemImage(MbdWriter& writer);

// The front-end screens' sheets "title", "NOTICE", "mentoji", "rank" and "result"
// ("game" comes with the stage data). Returns their image slots.
std::vector<int32_t> AddPlaceholderScreenSheets(MbdWriter& writer);

// Colours the end-to-end checks look for.
// Colours the end-to-end checks look for: whole multiples of 0x11, which a
// texture of 4 bits a channel keeps as they are.
constexpr uint32_t kPlaceholderNoticeColour = 0x3366CC;
constexpr uint32_t kPlaceholderTitleBackColour = 0x224433;
constexpr uint32_t kPlaceholderTitleColour = 0xEEAA22;

}  // namespace mareldon
