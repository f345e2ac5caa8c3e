#pragma once

#include <cstdint>

namespace mareldon {

// Lays out numbers in the result sheet's digit styles. Glyphs are ids into one
// table (SpriteName), so a screen looks every rectangle up once.
class NumberLayout {
  public:
    static constexpr int kStyles = 5;
    static constexpr int kUnitGlyph0 = kStyles * 10;    // the four unit glyphs
    static constexpr int kMarkGlyph = kUnitGlyph0 + 4;  // "1616_resu_tani_ten"
    static constexpr int kGlyphCount = kMarkGlyph + 1;
    // 20 digits, 4 units, a continue digit and the mark.
    static constexpr int kMaxGlyphs = 26;

    struct Glyph {
        int sprite;
        // Centre, for Number; top-left corner and size, for Score.
        float x, y, w, h;
    };

    static const char* SpriteName(int sprite);
    static int DigitGlyph(int style, int digit) { return style * 10 + digit; }
    static float Pitch(int style) { return style == 0 ? 10.0f : 16.0f; }

    // A number right-aligned on x (digit k at x - k x pitch), glyphs centred.
    // Style 1 puts a unit glyph after digits 7, 11, 15 and 19 and then the
    // continue digit (`digit`, at most 9) and the mark. Answers the glyph count.
    static int Number(uint64_t value, int style, int digit, float x, float y, Glyph* out);
    // A score drawn from right to left as rectangles: the mark, the continue
    // digit, then the digits with a unit glyph before digits 7, 11, 15 and 19.
    // A score of 0 shows only the continue digit and the mark. x is left at the
    // left end of what was laid out.
    static int Score(uint64_t score, int continues, float& x, float y, Glyph* out);
};

}  // namespace mareldon
