#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace mareldon {

class MbdWriter;

// The placeholder data set's screen graphics, drawn from a 5x7 pixel font of our own.

// The 7 rows of the 5x7 glyph of a printable ASCII character (bit 4 the left column);
// null for any other code.
const uint8_t* PixelGlyphRows(uint32_t code);

// Sets the pixels of text in a w x h mask (row by row): each font pixel becomes a
// scale x scale block, characters step 6 * scale, the first one's top-left at (x, y).
// Pixels outside the mask are dropped.
void StampPixelText(std::vector<bool>& mask, int32_t width, int32_t height, int32_t x, int32_t y,
                    int32_t scale, std::string_view text);

// "F24": 24x24 glyphs for 0x20-0x7E, the 5x7 glyph at twice its size in the cell's
// left half, advance 12; a box for U+30FB (what invalid text becomes), advance 24,
// and a box marked with its code for every other character of the test mode's texts.
void AddPlaceholderFont(MbdWriter& writer);

// The PNG sheet "systemimage" (256x64): "credit" (80x16), "FreePlay_002" (128x16),
// "Enjoy" (80x16) and "1016_Coin_kazu_0" to "_9" (16x16), their words or digits in
// white on transparent. Returns its image slot.
int32_t AddPlaceholderSystemImage(MbdWriter& writer);

}  // namespace mareldon
