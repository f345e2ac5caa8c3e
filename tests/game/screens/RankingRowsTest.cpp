#include "game/screens/RankingRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mareldon {
namespace {

const RankingRows::Sizes kSizes{64, 32, 32, 32, 64, 32, 32, 32, 32, 32};

struct Laid {
    std::vector<RankingRows::Item> items;
    RankingRows::Band band;

    const RankingRows::Item* Find(int sprite) const {
        for (const RankingRows::Item& item : items) {
            if (item.sprite == sprite) {
                return &item;
            }
        }
        return nullptr;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const RankingRows::Item& item : items) {
            names.emplace_back(RankingRows::SpriteName(item.sprite));
        }
        return names;
    }
};

PlayerRecord Record(int stage, int ship, const char* name, uint64_t score) {
    PlayerRecord record;
    record.stage = stage;
    record.shipType = ship;
    record.name = name;
    record.score = score;
    return record;
}

Laid Single(int place, float y, float scrollY, const PlayerRecord& record) {
    Laid laid;
    laid.items.resize(RankingRows::kMaxItems);
    const int n =
        RankingRows::Row(place, y, scrollY, 480.0f, kSizes, record, nullptr, laid.items.data(), laid.band);
    laid.items.resize(size_t(n));
    return laid;
}

Laid Pair(int place, float y, float scrollY, const PlayerRecord& a, const PlayerRecord& b) {
    Laid laid;
    laid.items.resize(RankingRows::kMaxItems);
    const int n = RankingRows::Row(place, y, scrollY, 480.0f, kSizes, a, &b, laid.items.data(), laid.band);
    laid.items.resize(size_t(n));
    return laid;
}

// A single row: place, band, icon, stage, label, name and score where they belong.
TEST(RankingRowsTest, SingleRowLaysOutItsParts) {
    const Laid row = Single(2, 326.0f, 96.0f, Record(3, 1, "ABC", 0));
    EXPECT_EQ(row.Names(),
              (std::vector<std::string>{"jyuni_003", "kitai_2", "STAGE", "stage_3", "NAME", "3232_ei_dai_A",
                                        "3232_ei_dai_B", "3232_ei_dai_C", "001_ten", "1632_su_siro_0"}));
    const RankingRows::Item* place = row.Find(RankingRows::kPlace0 + 2);
    EXPECT_FLOAT_EQ(place->x0, 16.0f);
    EXPECT_FLOAT_EQ(place->y0, 294.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kShip0 + 1)->y0, 312.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kStageNumber0 + 2)->x0, 208.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kStageNumber0 + 2)->y0, 313.0f);
    const RankingRows::Item* label = row.Find(RankingRows::kNameLabel);
    EXPECT_FLOAT_EQ(label->x0, 272.0f);
    EXPECT_FLOAT_EQ(label->x1, 328.0f) << "to 264 + the width of STAGE";
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kNameGlyph0 + 2)->x0, 384.0f);
    // A score of 0: the mark, 16 by 32 four below the score's top, and the fixed 0.
    const RankingRows::Item* mark = row.Find(RankingRows::kMark);
    EXPECT_FLOAT_EQ(mark->x0, 472.0f);
    EXPECT_FLOAT_EQ(mark->y0, 354.0f);
    EXPECT_FLOAT_EQ(mark->y1 - mark->y0, 32.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kDigit0)->x0, 456.0f);
    EXPECT_FLOAT_EQ(row.band.y0, 294.0f);
    EXPECT_FLOAT_EQ(row.band.y1, 382.0f);
    EXPECT_FLOAT_EQ(row.band.x1, 480.0f);
    EXPECT_FLOAT_EQ(row.band.colour0.b, 0.5f);
    EXPECT_FLOAT_EQ(row.band.colour1.b, 0.1f);
}

// Stage 7 is the all-clear; records from a damaged file with a stage, ship
// type or name outside what the sheet holds draw nothing in that place.
TEST(RankingRowsTest, StagesShipsAndNamesOutsideTheSheetDrawNothing) {
    struct Case {
        int stage, ship;
        const char* name;
        std::vector<std::string> expected;  // before the score
    } const cases[] = {
        {7,
         0,
         "AB",
         {"jyuni_001", "kitai_1", "AllClear_CLEAR", "AllClear_ALL", "NAME", "3232_ei_dai_A",
          "3232_ei_dai_B"}},
        {0, 4, "A", {"jyuni_001", "NAME", "3232_ei_dai_A"}},
        {8, -1, "", {"jyuni_001", "NAME"}},
        {-3, 3, "z?9x", {"jyuni_001", "kitai_4", "NAME", "3232_ki_002", "3232_su_name_9"}},
        {6,
         2,
         "a*<",
         {"jyuni_001", "kitai_3", "STAGE", "stage_6", "NAME", "3232_ki_009", "3232_ki_008", "3232_ki_007"}},
    };
    for (const Case& c : cases) {
        const Laid row = Single(0, 96.0f, 96.0f, Record(c.stage, c.ship, c.name, 0));
        std::vector<std::string> names = row.Names();
        names.resize(names.size() - 2);
        EXPECT_EQ(names, c.expected) << c.stage << " " << c.ship << " " << c.name;
    }
    const Laid clear = Single(0, 96.0f, 96.0f, Record(7, 0, "AAA", 0));
    EXPECT_FLOAT_EQ(clear.Find(RankingRows::kAllClear)->x0, 144.0f);
    EXPECT_FLOAT_EQ(clear.Find(RankingRows::kAll)->x0, 192.0f);
    EXPECT_FLOAT_EQ(clear.Find(RankingRows::kAll)->x1, 256.0f) << "at the size of STAGE";
    // "z?9x": the unknown characters keep their places.
    const Laid marks = Single(0, 96.0f, 96.0f, Record(1, 0, "z?9x", 0));
    EXPECT_FLOAT_EQ(marks.Find(RankingRows::kNameGlyph0 + 39)->x0, 352.0f);
}

// While the rows scroll in they fade below 152, the single list's place sprite
// below 120 only; once the scroll ends the first five rows stand at full alpha.
TEST(RankingRowsTest, RowsFadeInNearTheTop) {
    const PlayerRecord record = Record(2, 0, "ABC", 12345);
    // Scrolling, row 2 at y 130.
    const Laid scrolling = Single(2, 130.0f, -100.0f, record);
    const RankingRows::Item* place = scrolling.Find(RankingRows::kPlace0 + 2);
    EXPECT_FLOAT_EQ(place->alpha0, 1.0f);
    EXPECT_FLOAT_EQ(place->alpha1, 1.0f);
    for (const RankingRows::Item& item : scrolling.items) {
        if (&item != place) {
            EXPECT_NEAR(item.alpha0, 0.78f, 1e-5f) << RankingRows::SpriteName(item.sprite);
            EXPECT_FLOAT_EQ(item.alpha1, 1.0f) << "y + 32 is past 152";
        }
    }
    // A pair row's place sprite fades with the rest.
    const Laid pair = Pair(2, 130.0f, -100.0f, record, record);
    EXPECT_NEAR(pair.Find(RankingRows::kPlace0 + 2)->alpha0, 0.78f, 1e-5f);
    // Below 120 the place sprite fades too; far above the screen nothing goes below 0.
    EXPECT_NEAR(Single(0, 100.0f, 95.0f, record).Find(RankingRows::kPlace0)->alpha0, 0.48f, 1e-5f);
    EXPECT_FLOAT_EQ(Single(0, -900.0f, -900.0f, record).items.back().alpha0, 0.0f);
    // Settled: row 0 at y 96 is whole, row 5 is below the fade anyway.
    for (int place5 : {0, 4}) {
        const Laid settled = Single(place5, 96.0f, 96.0f, record);
        for (const RankingRows::Item& item : settled.items) {
            EXPECT_FLOAT_EQ(item.alpha0, 1.0f);
            EXPECT_FLOAT_EQ(item.alpha1, 1.0f);
        }
    }
    // A step before the end it still fades.
    EXPECT_LT(Single(0, 94.5f, 94.5f, record).items.back().alpha0, 0.5f);
}

// A pair row: both icons and names, the joining glyph, the sum of the scores
// (held at the top when a damaged file overflows it), a red band, no stage or label.
TEST(RankingRowsTest, PairRowShowsBothRecordsAndTheirSum) {
    const Laid row = Pair(0, 200.0f, 96.0f, Record(5, 0, "AB", 40), Record(5, 3, "CDE", 2));
    EXPECT_EQ(row.Find(RankingRows::kStage), nullptr);
    EXPECT_EQ(row.Find(RankingRows::kNameLabel), nullptr);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kShip0)->x0, 96.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kShip0 + 3)->x0, 284.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kNameGlyph0)->x0, 128.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kNameGlyph0 + 2)->x0, 320.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kJoin)->x0, 240.0f);
    EXPECT_FLOAT_EQ(row.Find(RankingRows::kJoin)->y0, 184.0f);
    EXPECT_FLOAT_EQ(row.band.colour0.r, 0.5f);
    EXPECT_FLOAT_EQ(row.band.colour0.b, 0.0f);
    // 42: the mark, the fixed 0, then 2 and 4.
    std::vector<std::string> names = row.Names();
    EXPECT_EQ(std::vector<std::string>(names.end() - 4, names.end()),
              (std::vector<std::string>{"001_ten", "1632_su_siro_0", "1632_su_siro_2", "1632_su_siro_4"}));
    const Laid huge = Pair(0, 200.0f, 96.0f, Record(1, 0, "A", UINT64_MAX - 5), Record(1, 0, "B", 100));
    names = huge.Names();
    EXPECT_EQ(names.back(), "1632_su_siro_1") << "18446744073709551615 ends in its top digit";
    EXPECT_EQ(std::count(names.begin(), names.end(), "rank_tani_04_gai"), 1);
}

}  // namespace
}  // namespace mareldon
