#include "game/screens/NumberLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mareldon {
namespace {

std::vector<std::string> Names(const NumberLayout::Glyph* glyphs, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.emplace_back(NumberLayout::SpriteName(glyphs[i].sprite));
    }
    return names;
}

TEST(NumberLayoutTest, ScoreGainsUnitGlyphsAfterDigitsSevenAndEleven) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    float x = 454.0f;
    const int count = NumberLayout::Score(123456789012u, 12, x, 284.0f, glyphs);
    ASSERT_EQ(count, 2 + 12 + 2);
    const std::vector<std::string> names = Names(glyphs, count);
    EXPECT_EQ(names[0], "1616_resu_tani_ten");
    EXPECT_EQ(names[1], "su_1632_9") << "continues clamped to 9";
    // Units first: 2, 1, 0, 9, 8, 7, 6, then the first unit glyph.
    EXPECT_EQ(names[2], "su_1632_2");
    EXPECT_EQ(names[8], "su_1632_6");
    EXPECT_EQ(names[9], "3232_riza_tani_01_oku");
    EXPECT_EQ(names[13], "su_1632_2");
    EXPECT_EQ(names[14], "3232_riza_tani_02_cyou");
    EXPECT_EQ(names[15], "su_1632_1");
    // Right to left, each glyph against the last; the mark sits low.
    EXPECT_FLOAT_EQ(glyphs[0].x, 462.0f);
    EXPECT_FLOAT_EQ(glyphs[0].y, 300.0f);
    EXPECT_FLOAT_EQ(glyphs[1].x, 446.0f);
    EXPECT_FLOAT_EQ(glyphs[9].x, glyphs[8].x - 32.0f);
    EXPECT_FLOAT_EQ(glyphs[9].w, 32.0f);
    EXPECT_FLOAT_EQ(x, glyphs[count - 1].x) << "left at the left end";
}

TEST(NumberLayoutTest, ZeroScoreShowsOnlyTheContinueDigitAndTheMark) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    float x = 100.0f;
    const int count = NumberLayout::Score(0, 2, x, 0.0f, glyphs);
    EXPECT_THAT(Names(glyphs, count), testing::ElementsAre("1616_resu_tani_ten", "su_1632_2"));
    EXPECT_FLOAT_EQ(x, 92.0f);
}

TEST(NumberLayoutTest, NumbersAreRightAlignedInTheirStylesPitch) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    const struct {
        uint64_t value;
        int style;
        std::vector<std::string> names;
        float leftX;
    } cases[] = {
        {0, 3, {"2424_resu_kazu_siro_0"}, 200.0f},
        {905, 0, {"1616_resu_kazu_9", "1616_resu_kazu_0", "1616_resu_kazu_5"}, 180.0f},
        {42, 4, {"1624_resu_kazu_ki_4", "1624_resu_kazu_ki_2"}, 184.0f},
    };
    for (const auto& c : cases) {
        const int count = NumberLayout::Number(c.value, c.style, 0, 200.0f, 10.0f, glyphs);
        EXPECT_EQ(Names(glyphs, count), c.names) << c.value;
        EXPECT_FLOAT_EQ(glyphs[0].x, c.leftX) << c.value;
        EXPECT_FLOAT_EQ(glyphs[count - 1].x, 200.0f) << c.value;
    }
}

TEST(NumberLayoutTest, StyleOneInsertsUnitsThenTheContinueDigitAndMark) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    const int count = NumberLayout::Number(123456789u, 1, 14, 300.0f, 50.0f, glyphs);
    const std::vector<std::string> names = Names(glyphs, count);
    ASSERT_EQ(count, 9 + 1 + 2);
    EXPECT_EQ(names[0], "su_1632_1");
    EXPECT_EQ(names[1], "su_1632_2");
    EXPECT_EQ(names[2], "3232_riza_tani_01_oku") << "after digit 7";
    EXPECT_FLOAT_EQ(glyphs[2].x, glyphs[1].x + 24.0f);
    EXPECT_FLOAT_EQ(glyphs[3].x, glyphs[1].x + 48.0f) << "the later digits move 32 to the right";
    EXPECT_EQ(names[10], "su_1632_9");
    EXPECT_EQ(names[11], "1616_resu_tani_ten");
    EXPECT_FLOAT_EQ(glyphs[11].y, 42.0f);
}

}  // namespace
}  // namespace mareldon
