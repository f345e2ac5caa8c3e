#include "game/screens/NumberLayout.h"

#include <algorithm>
#include <array>
#include <string>

namespace mareldon {

namespace {

constexpr const char* kStylePrefixes[NumberLayout::kStyles] = {"1616_resu_kazu_", "su_1632_", "su_1616_",
                                                               "2424_resu_kazu_siro_", "1624_resu_kazu_ki_"};
constexpr const char* kUnits[4] = {"3232_riza_tani_01_oku", "3232_riza_tani_02_cyou", "3232_riza_tani_03_kyo",
                                   "3232_riza_tani_04_gai"};
constexpr int kContinueStyle = 1;

// The digit slot a unit glyph follows: it stands after each group of four
// digits, counting the continue digit as the lowest.
int UnitBefore(int k) {
    return (k == 7 || k == 11 || k == 15 || k == 19) ? (k - 7) / 4 : -1;
}

int Digits(uint64_t value, int (&digits)[20]) {
    int n = 0;
    do {
        digits[n++] = int(value % 10);
        value /= 10;
    } while (value != 0 && n < 20);
    return n;
}

}  // namespace

const char* NumberLayout::SpriteName(int sprite) {
    static const std::array<std::string, kGlyphCount> names = [] {
        std::array<std::string, kGlyphCount> made;
        for (int style = 0; style < kStyles; ++style) {
            for (int digit = 0; digit < 10; ++digit) {
                made[size_t(DigitGlyph(style, digit))] = kStylePrefixes[style] + std::to_string(digit);
            }
        }
        for (int unit = 0; unit < 4; ++unit) {
            made[size_t(kUnitGlyph0 + unit)] = kUnits[unit];
        }
        made[kMarkGlyph] = "1616_resu_tani_ten";
        return made;
    }();
    return sprite >= 0 && sprite < kGlyphCount ? names[size_t(sprite)].c_str() : "";
}

int NumberLayout::Number(uint64_t value, int style, int digit, float x, float y, Glyph* out) {
    style = std::clamp(style, 0, kStyles - 1);
    const float pitch = Pitch(style);
    int digits[20];
    const int n = Digits(value, digits);
    int count = 0;
    if (style != kContinueStyle) {
        for (int k = n - 1; k >= 0; --k) {
            out[count++] = {DigitGlyph(style, digits[k]), x - float(k) * pitch, y, 0.0f, 0.0f};
        }
        return count;
    }
    // Most significant first; each unit glyph pushes the digits after it 32 to the right.
    float shift = 0.0f;
    for (int k = n - 1; k >= 0; --k) {
        const float slot = x - float(k) * pitch + shift;
        out[count++] = {DigitGlyph(style, digits[k]), slot, y, 0.0f, 0.0f};
        const int unit = UnitBefore(k);
        if (unit >= 0) {
            out[count++] = {kUnitGlyph0 + unit, slot + 24.0f, y, 0.0f, 0.0f};
            shift += 32.0f;
        }
    }
    out[count++] = {DigitGlyph(kContinueStyle, std::clamp(digit, 0, 9)), x + 16.0f, y, 0.0f, 0.0f};
    out[count++] = {kMarkGlyph, x + 32.0f, y - 8.0f, 0.0f, 0.0f};
    return count;
}

int NumberLayout::Score(uint64_t score, int continues, float& x, float y, Glyph* out) {
    int count = 0;
    x += 8.0f;
    out[count++] = {kMarkGlyph, x, y + 16.0f, 16.0f, 16.0f};
    x -= 16.0f;
    out[count++] = {DigitGlyph(kContinueStyle, std::clamp(continues, 0, 9)), x, y, 16.0f, 32.0f};
    if (score == 0) {
        return count;
    }
    int digits[20];
    const int n = Digits(score, digits);
    for (int k = 0; k < n; ++k) {
        const int unit = UnitBefore(k);
        if (unit >= 0) {
            x -= 32.0f;
            out[count++] = {kUnitGlyph0 + unit, x, y, 32.0f, 32.0f};
        }
        x -= 16.0f;
        out[count++] = {DigitGlyph(kContinueStyle, digits[k]), x, y, 16.0f, 32.0f};
    }
    return count;
}

}  // namespace mareldon
