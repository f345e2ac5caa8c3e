#pragma once

#include <cstdint>

#include "game/render/ScreenDrawers.h"
#include "game/screens/NameGlyphs.h"
#include "game/system/PlayerRecord.h"

namespace mareldon {

// Lays out one row of the high-score lists on the "rank" sheet: what is drawn,
// where, and how faded. Records come from the ranking file, so a stage, ship
// type or name outside what the sheet holds draws nothing in its place.
class RankingRows {
  public:
    static constexpr int kRows = 10;
    static constexpr float kRowPitch = 115.0f;
    // The rows' resting place and the scroll's speed.
    static constexpr float kScrollEnd = 96.0f;
    static constexpr float kScrollStep = 1.5f;
    static constexpr float kFadeEnd = 152.0f;
    static constexpr float kPlaceFadeEnd = 120.0f;

    enum Sprite : int {
        kSingleTitle,
        kPairTitle,
        kPlace0,
        kShip0 = kPlace0 + kRows,
        kAllClear = kShip0 + 4,
        kAll,
        kStage,
        kStageNumber0,
        kNameLabel = kStageNumber0 + 6,
        kJoin,
        kNameGlyph0,
        kDigit0 = kNameGlyph0 + NameGlyphs::kCount,
        kUnit0 = kDigit0 + 10,
        kMark = kUnit0 + 4,
        kSpriteCount
    };
    static const char* SpriteName(int sprite);

    // The sheet's sizes the layout is made of.
    struct Sizes {
        float placeW, placeH;    // "jyuni_001"
        float shipW, shipH;      // "kitai_1"
        float stageW, stageH;    // "STAGE"
        float numberW, numberH;  // "stage_1"
        float glyphW, glyphH;    // "3232_ei_dai_A"
    };
    // A sprite stretched between two corners; the top-left corner takes alpha0,
    // the bottom-right alpha1 (the drawer gives the other two the mean).
    struct Item {
        int sprite;
        float x0, y0, x1, y1;
        float alpha0, alpha1;
    };
    struct Band {
        float x0, y0, x1, y1;
        ScreenColor colour0, colour1;
    };
    // Place, icons, stage, label, six name glyphs, the join glyph and a score of
    // 20 digits, 4 units, the continue digit and the mark.
    static constexpr int kMaxItems = 40;

    // Alpha of a reference height while the rows fade in below `end`; never below 0.
    static float FadeAlpha(float reference, float end);
    // Row `place` (0 first) at height y. `second` is null in the single list.
    // Answers the item count.
    static int Row(int place, float y, float scrollY, float width, const Sizes& sizes,
                   const PlayerRecord& first, const PlayerRecord* second, Item* out, Band& band);
    // The name's three glyphs from x; a short name counts as blank-padded.
    static int Name(const String& name, float x, float y, const Sizes& sizes, float alpha0, float alpha1,
                    Item* out);
    // A score right to left from (x, y): the mark, a fixed 0 for the continue
    // digit, then the digits with their units.
    static int Score(uint64_t score, float x, float y, float alpha0, float alpha1, Item* out);
};

}  // namespace mareldon
