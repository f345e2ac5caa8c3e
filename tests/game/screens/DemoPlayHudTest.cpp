#include "game/screens/DemoPlayHud.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace mareldon {
namespace {

struct Drawn {
    std::string name;
    float x, y;
    bool operator==(const Drawn& o) const { return name == o.name && x == o.x && y == o.y; }
};
std::ostream& operator<<(std::ostream& out, const Drawn& d) {
    return out << d.name << "@(" << d.x << "," << d.y << ")";
}

std::vector<DemoPlayHud::Item> Layout(const DemoPlayHud::State& state) {
    std::vector<DemoPlayHud::Item> items(DemoPlayHud::kMaxItems);
    items.resize(size_t(DemoPlayHud::Layout(state, items.data())));
    return items;
}

// The sprites laid out at y (all of them for y < 0), in order, by top-left corner or centre.
std::vector<Drawn> At(const DemoPlayHud::State& state, float y = -1.0f) {
    std::vector<Drawn> drawn;
    for (const DemoPlayHud::Item& item : Layout(state)) {
        if (item.kind != DemoPlayHud::Item::kBar && (y < 0.0f || item.y0 == y)) {
            drawn.push_back({DemoPlayHud::SpriteName(item.sprite), item.x0, item.y0});
        }
    }
    return drawn;
}

DemoPlayHud::State InGame() {
    DemoPlayHud::State state;
    for (DemoPlayHud::Player& p : state.players) {
        p.panel = true;
        p.shipStock = 3;
        p.bombStock = 2;
    }
    return state;
}

// Player 1's numbers run from the left, player 2's are right-aligned with the
// units at 412 and 441 and the continue digit at 451.
TEST(DemoPlayHudTest, NumbersOfPlayerOneStartLeftAndPlayerTwoEndRight) {
    DemoPlayHud::State state = InGame();
    state.players[0].multiplier = 123;
    state.players[0].score = 0;
    state.players[0].continues = 12;
    state.players[1].multiplier = 3;
    state.players[1].score = 5;
    EXPECT_EQ(
        At(state, 44.0f),
        (std::vector<Drawn>{
            {"bairitu_1", 52, 44}, {"bairitu_2", 68, 44}, {"bairitu_3", 84, 44}, {"bairitu_3", 412, 44}}));
    EXPECT_EQ(At(state, 20.0f),
              (std::vector<Drawn>{
                  {"1616_su_siro_9", 21, 20}, {"1616_su_siro_5", 441, 20}, {"1616_su_siro_0", 451, 20}}));
    state.players[0].multiplier = 0;
    state.players[1].multiplier = 0;
    state.players[0].score = 12'000'000;
    state.players[0].continues = 0;
    const std::vector<Drawn> multipliers = At(state, 44.0f);
    EXPECT_EQ(multipliers, (std::vector<Drawn>{{"bairitu_0", 52, 44}, {"bairitu_0", 412, 44}}));
    const std::vector<Drawn> scores = At(state, 20.0f);
    ASSERT_EQ(scores.size(), 11u);
    EXPECT_EQ(scores[0], (Drawn{"1616_su_midori_1", 21, 20})) << "the eighth digit is green";
    EXPECT_EQ(scores[7], (Drawn{"1616_su_siro_0", 91, 20}));
    EXPECT_EQ(scores[8], (Drawn{"1616_su_siro_0", 101, 20})) << "the continue digit";
}

// Ship and bomb stocks only for a player in the game; ten bombs and nine ships
// in reserve are shown as unlimited; a ship type from nowhere has no icon.
TEST(DemoPlayHudTest, StocksOfPlayersInTheGame) {
    DemoPlayHud::State state = InGame();
    state.players[0].shipType = 2;
    state.players[0].bombStock = 10;
    state.players[1].shipType = 7;
    state.players[1].shipStock = 10;
    state.players[1].bombStock = 9;
    EXPECT_EQ(At(state, 68.0f), (std::vector<Drawn>{{"bomb_ziki_2", 52, 68},
                                                    {"bomb_ziki_ki_mugen", 112, 68},
                                                    {"bomb_ziki_mugen", 388, 68},
                                                    {"bomb_ziki_ki_9", 448, 68}}));
    EXPECT_EQ(
        At(state, 60.0f),
        (std::vector<Drawn>{{"zikiaikon_003", 16, 60}, {"sonota_bomb", 76, 60}, {"sonota_bomb", 414, 60}}));
    state.players[1].panel = false;
    state.players[0].panel = false;
    EXPECT_TRUE(At(state, 68.0f).empty());
    EXPECT_EQ(At(state, 4.0f).front(), (Drawn{"1616_su_siro_0", 154, 4})) << "a top score of 0";
    // The labels stay.
    const std::vector<Drawn> top = At(state, 4.0f);
    EXPECT_EQ(top,
              (std::vector<Drawn>{{"1616_su_siro_0", 154, 4}, {"sonota_1P", 16, 4}, {"sonota_2P", 432, 4}}));
}

// In pair mode the top score has its label and only player 1's panel is drawn,
// with both players' sums; a player choosing a ship has no numbers.
TEST(DemoPlayHudTest, PairModeShowsTheSumsOnce) {
    DemoPlayHud::State state = InGame();
    state.pair = true;
    state.topScore = 25;
    state.players[0].multiplier = 4;
    state.players[1].multiplier = 5;
    state.players[0].score = 30;
    state.players[1].score = 12;
    state.players[0].continues = 6;
    state.players[1].continues = 6;
    EXPECT_EQ(At(state, 4.0f), (std::vector<Drawn>{{"sonota_double", 64, 4},
                                                   {"1616_su_siro_2", 154, 4},
                                                   {"1616_su_siro_5", 164, 4},
                                                   {"1616_su_siro_0", 174, 4},
                                                   {"sonota_1P", 16, 4},
                                                   {"sonota_2P", 432, 4}}));
    EXPECT_EQ(At(state, 44.0f), (std::vector<Drawn>{{"bairitu_9", 52, 44}}));
    EXPECT_EQ(At(state, 20.0f),
              (std::vector<Drawn>{
                  {"1616_su_siro_4", 21, 20}, {"1616_su_siro_2", 31, 20}, {"1616_su_siro_9", 41, 20}}));
    state.pair = false;
    state.players[1].selectingShip = true;
    EXPECT_EQ(At(state, 44.0f), (std::vector<Drawn>{{"bairitu_4", 52, 44}}));
}

// The reflect gauges: frame always, bars and marks by state, the charging mark
// cycling over 16 steps and the discharging one on steps with bit 1.
TEST(DemoPlayHudTest, ReflectGaugesByState) {
    struct Case {
        int state;
        float fill;
        int step;
        float barEnd;  // 0: no bar
        const char* mark;
    } const cases[] = {
        {0, 0.5f, 0, 0.0f, nullptr},
        {1, 0.5f, 4, 125.0f, "rihurekutogeizi_003"},
        {1, 1.0f, 8, 190.0f, "rihurekutogeizi_003_02"},
        {1, 0.0f, 12, 60.0f, "rihurekutogeizi_003_03"},
        {2, 0.2f, 0, 190.0f, nullptr},
        {3, 0.25f, 2, 157.5f, "rihurekutogeizi_004"},
        {3, 0.25f, 4, 157.5f, nullptr},
    };
    for (const Case& c : cases) {
        DemoPlayHud::State state;
        state.step = c.step;
        state.players[1].gaugeState = c.state;
        state.players[1].gaugeFill = c.fill;
        std::vector<Drawn> marks;
        float barEnd = 0.0f;
        ScreenColor colour{};
        for (const DemoPlayHud::Item& item : Layout(state)) {
            if (item.y0 == 604.0f && item.kind == DemoPlayHud::Item::kBar) {
                barEnd = item.x1 - 262.0f;
                colour = item.colour;
                EXPECT_FLOAT_EQ(item.x0, 322.0f);
                EXPECT_FLOAT_EQ(item.z, 0.01f);
            } else if (item.y0 == 608.0f && item.x0 > 262.0f) {
                marks.push_back({DemoPlayHud::SpriteName(item.sprite), item.x0, item.y0});
            }
        }
        std::vector<Drawn> expected = {{"rihurekutogeizi_001", 368, 608}};
        if (c.mark != nullptr) {
            expected.push_back({c.mark, 388, 608});
        }
        EXPECT_EQ(marks, expected) << c.state << " step " << c.step;
        EXPECT_NEAR(barEnd, c.barEnd, 1e-3f) << c.state;
        if (c.state == 3) {
            EXPECT_EQ(colour.g, 0.0f);
        }
    }
    EXPECT_EQ(DemoPlayHud::ChargingFrame(7), 0);
    EXPECT_EQ(DemoPlayHud::ChargingFrame(15), 2);
    EXPECT_EQ(DemoPlayHud::ChargingFrame(16), 0);
}

// The notice shows while bit 5 of the step is set and flips once in each dark
// half, so the texts alternate; on free play it stays "game over".
TEST(DemoPlayHudTest, NoticeAlternatesUnlessFreePlay) {
    for (bool freePlay : {false, true}) {
        BlinkingNotice notice;
        std::vector<int> shown;
        for (int step = 0; step < 256; ++step) {
            if (notice.Update(step, freePlay) && (step & 31) == 0) {
                shown.push_back(notice.index);
            }
            EXPECT_EQ(notice.Update(step, freePlay), (step & 32) != 0) << "updating twice changes nothing";
        }
        EXPECT_EQ(shown, freePlay ? std::vector<int>(4, 0) : (std::vector<int>{1, 0, 1, 0})) << freePlay;
    }
}

}  // namespace
}  // namespace mareldon
