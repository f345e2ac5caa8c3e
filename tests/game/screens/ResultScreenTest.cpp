// What the stage result overlay draws, read back from its draw set: every row of
// the table, the bonus choices, the pair block and the final panels.
#include "game/screens/ResultScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/screens/NumberLayout.h"
#include "game/system/GameSystem.h"
#include "game/system/ResultWorld.h"
#include "tests/game/screens/OverlayDrawFixture.h"

namespace mareldon {
namespace {

class StubResultWorld : public ResultWorld {
  public:
    int32_t GetClearTime() const override { return clearTime; }
    int32_t GetKillPercent(uint32_t mask) const override { return kills[mask == 2 ? 1 : 0]; }
    void AddScore64(uint32_t, int64_t) override {}
    void AddScoreRaw(uint32_t, uint64_t) override {}
    void StopStageMusic() override {}

    int32_t clearTime = 0;
    int32_t kills[2] = {0, 0};
};

constexpr ScreenColor kWhite{1, 1, 1, 1};

// The frame a test expects, written with the overlay's own drawing rules: sprites
// centred, labels by their top-left corner, numbers right-aligned by style.
struct Expected {
    ExpectedQuads quads;
    std::vector<DrawnQuad> out;

    void Sprite(const std::string& name, float x, float y, float z = 0.0f, ScreenColor colour = kWhite) {
        out.push_back(quads.Centred(name.c_str(), x, y, z, colour));
    }
    void Label(const char* name, float x, float y) { out.push_back(quads.Corner(name, x, y, 0.0f)); }
    void Flat(float x0, float y0, float x1, float y1, float z, ScreenColor colour) {
        out.push_back(ExpectedQuads::Flat(x0, y0, x1, y1, z, colour));
    }
    void Cell(const std::string& name, float x, float y, float w, float h) {
        out.push_back(ExpectedQuads::Over(name.c_str(), x, y, x + w, y + h, 0.0f));
    }
    // Digit k (0 the units) at x - k x pitch, the most significant first.
    void Number(uint64_t value, int style, float x, float y) {
        static const char* const kPrefix[5] = {"1616_resu_kazu_", "su_1632_", "su_1616_",
                                               "2424_resu_kazu_siro_", "1624_resu_kazu_ki_"};
        static const float kPitch[5] = {10, 16, 16, 16, 16};
        const std::string digits = std::to_string(value);
        for (size_t i = 0; i < digits.size(); ++i) {
            const float k = float(digits.size() - 1 - i);
            Sprite(kPrefix[style] + digits.substr(i, 1), x - k * kPitch[style], y);
        }
    }
    void Formula(uint64_t value, uint64_t unit, float valueX, float timesX, float unitX, float y) {
        Number(value, 0, valueX, y);
        Sprite("1616_resu_tani_kakeru", timesX, y);
        Number(unit, 0, unitX, y);
    }
    // The panel, bands, rule, labels and banners of a tally second t (0 to 7).
    void Head(int t) {
        Flat(0, 88, 480, 608, 0.001f, {0, 0, 0, 0.5f});
        Label("RESULT", 8, 94);
        for (float top : {187.0f, 279.0f, 370.0f, 472.0f}) {
            Flat(16, top, 464, top + 32, 0.001f, {0.75f, 0.75f, 0.75f, 0.375f});
        }
        if (t > 0) {
            Flat(8, 464, 472, 466, 0.001f, kWhite);
        }
        Label("BONUS", 160, 154);
        Label("Time", 210, 187);
        Label("SHOOTDOWN", 96, 279);
        Label("BombStock", 100, 370);
        Label("sonota_total", 172, 472);
        Sprite("stageclear_stage", 240, 256, 0.0001f, {1, 1, 1, 0.25f});
        Sprite("stageclear_clear", 240, 384, 0.0001f, {1, 1, 1, 0.25f});
    }
};

class ResultScreenTest : public testing::Test, public OverlayDrawFixture {
  protected:
    void SetUp() override {
        world = new SystemTask(system, 0);
        sheet = Sheet("result");
    }
    // Player `mask` in play with these stocks and multiplier.
    void InPlay(int mask, int bombs, int multiplier) {
        PlayerRecord& player = system->GetPlayer(mask);
        player.shipStock = 3;
        player.bombStock = bombs;
        player.multiplier = multiplier;
    }
    ResultScreen& Open() {
        overlay = new ResultScreen(world, stub);
        step = 0;
        return *overlay;
    }
    // Runs the overlay's updates up to its step `last`.
    void RunTo(int last) {
        for (; step <= last; ++step) {
            overlay->stepCount = step;
            overlay->OnUpdatePre();
        }
    }
    // The step at which tally second t has begun: the intro ends with second 2.
    static int TallySecond(int t) { return 60 * (t + 2) + 1; }
    std::vector<DrawnQuad> Draw() {
        std::vector<std::string> names;
        for (const char* name : ResultScreen::LabelSpriteNames()) {
            names.emplace_back(name);
        }
        for (int glyph = 0; glyph < NumberLayout::kGlyphCount; ++glyph) {
            names.emplace_back(NumberLayout::SpriteName(glyph));
        }
        return Frame(overlay->GetDrawKit(), names, [&] { overlay->OnDrawPost(); });
    }
    Expected Expect() { return Expected{ExpectedQuads{sheet.Get()}, {}}; }

    StubResultWorld stub;
    SystemTask* world = nullptr;
    ResultScreen* overlay = nullptr;
    RefPtr<SpriteSheet> sheet;
    int step = 0;
};

// The banners slide in over a clear band; the labels come with the tally's first
// second, the rule with its second.
TEST_F(ResultScreenTest, IntroThenLabelsAndRule) {
    Open();
    RunTo(10);  // eleven steps of 5 pixels
    Expected intro = Expect();
    intro.Flat(0, 88, 480, 608, 0.001f, {0, 0, 0, 0});
    for (float top : {187.0f, 279.0f, 370.0f, 472.0f}) {
        intro.Flat(16, top, 464, top + 32, 0.001f, {0.75f, 0.75f, 0.75f, 0});
    }
    intro.Sprite("stageclear_stage", -65, 256, 0.0001f);
    intro.Sprite("stageclear_clear", 545, 384, 0.0001f);
    EXPECT_EQ(Draw(), intro.out);
    RunTo(TallySecond(0));
    Expected labels = Expect();
    labels.Head(0);
    EXPECT_EQ(Draw(), labels.out);
}

// One counted player's column, row by row as the seconds pass; the player who is
// not in the game keeps only its line of row 4, showing 0.
TEST_F(ResultScreenTest, OnePlayersColumnRowByRow) {
    InPlay(1, 3, 2);
    stub.clearTime = 37;
    stub.kills[0] = 45;
    Open();
    for (int t = 0; t <= 4; ++t) {
        RunTo(TallySecond(t));
        Expected e = Expect();
        e.Head(t);
        if (t >= 4) {
            e.Sprite("1P_syou", 61, 552);
            e.Number(890000000, 3, 416, 552);  // 2 x 445,000,000
        }
        if (t >= 1) {
            e.Number(37, 4, 112, 203);
            e.Formula(37, 10000000, 76, 88, 168, 237);
            e.Number(370000000, 3, 168, 261);
        }
        if (t >= 2) {
            e.Number(45, 4, 112, 295);
            e.Sprite("2424_resu_kazu_siro_par", 128, 295);
            e.Formula(45, 1000000, 80, 92, 168, 329);
            e.Number(45000000, 3, 168, 353);
        }
        if (t >= 3) {
            e.Sprite("sonota_bomb", 93, 386);
            e.Sprite("1616_resu_tani_kakeru", 112, 390);
            e.Number(3, 4, 128, 386);
            e.Formula(3, 10000000, 76, 88, 168, 420);
            e.Number(30000000, 3, 168, 444);
        }
        if (t >= 4) {
            e.Number(445000000, 3, 168, 488);
            e.Sprite("1616_resu_tani_kakeru", 44, 520);
            e.Sprite("sonota_bairitu", 60, 516);
            e.Number(2, 0, 170, 520);
            e.Sprite("2P_syou", 61, 584);
            e.Number(0, 3, 416, 584);
        }
        EXPECT_EQ(Draw(), e.out) << "tally second " << t;
    }
}

// The pair block: one set of rows with the sums; the bomb stock leaves out an
// unlimited stock; the pair's remaining bonus is the totals times the summed
// multipliers.
TEST_F(ResultScreenTest, PairBlock) {
    system->SetPairMode(true);
    InPlay(1, 2, 3);
    InPlay(2, 10, 4);
    stub.clearTime = 20;
    stub.kills[0] = 30;
    stub.kills[1] = 25;
    Open();
    RunTo(TallySecond(4));
    Expected e = Expect();
    e.Head(4);
    e.Number(20, 4, 176, 235);
    e.Formula(20, 10000000, 112, 124, 208, 259);
    e.Number(200000000, 3, 376, 251);
    e.Number(55, 4, 176, 327);
    e.Sprite("2424_resu_kazu_siro_par", 192, 327);
    e.Formula(55, 1000000, 116, 128, 208, 351);
    e.Number(55000000, 3, 376, 343);
    e.Sprite("sonota_bomb", 157, 418);
    e.Sprite("1616_resu_tani_kakeru", 176, 422);
    e.Number(2, 4, 208, 418);
    e.Formula(2, 10000000, 116, 128, 216, 442);
    e.Number(20000000, 3, 376, 434);
    e.Number(275000000, 3, 232, 520);  // 250,000,000 + 25,000,000
    e.Sprite("1616_resu_tani_kakeru", 268, 524);
    e.Sprite("sonota_bairitu", 284, 520);
    e.Number(7, 0, 384, 520);
    e.Sprite("1P2P_syou", 93, 552);
    e.Number(1925000000, 3, 384, 584);
    EXPECT_EQ(Draw(), e.out);
}

// "NoBonus", "PerfectBonus" or the formula, for each row, in a player's column
// (player 2's, 272 to the right) and in the pair block.
TEST_F(ResultScreenTest, BonusChoicePerRow) {
    struct Choice {
        const char* name;  // "x": the formula's times mark
        float x, y;
    };
    struct Case {
        bool pair;
        int clearTime, kills1, kills2, bombs1, bombs2;
        std::vector<Choice> expected;
    } const cases[] = {
        {false, 0, 0, 100, 1, 10, {{"NoBonus", 392, 237}, {"PerfectBonus", 376, 329}, {"NoBonus", 384, 420}}},
        {false, 5, 0, 0, 1, 0, {{"x", 360, 237}, {"NoBonus", 384, 329}, {"NoBonus", 384, 420}}},
        {false, 0, 0, 99, 1, 1, {{"NoBonus", 392, 237}, {"x", 364, 329}, {"x", 360, 420}}},
        {true, 0, 60, 40, 10, 0, {{"NoBonus", 160, 263}, {"PerfectBonus", 160, 355}, {"NoBonus", 160, 446}}},
        {true, 9, 0, 0, 1, 10, {{"x", 124, 259}, {"NoBonus", 160, 355}, {"x", 128, 442}}},
        {true, 9, 0, 1, 0, 0, {{"x", 124, 259}, {"x", 128, 351}, {"NoBonus", 160, 446}}},
    };
    for (const Case& c : cases) {
        system->SetPairMode(c.pair);
        InPlay(1, c.bombs1, 1);
        InPlay(2, c.bombs2, 1);
        if (!c.pair) {
            system->GetPlayer(1).shipStock = 0;  // player 2's column alone
        }
        stub.clearTime = c.clearTime;
        stub.kills[0] = c.kills1;
        stub.kills[1] = c.kills2;
        Open();
        RunTo(TallySecond(4));
        std::vector<DrawnQuad> choices;
        for (const DrawnQuad& quad : Draw()) {
            const float y = (quad.y0 + quad.y1) * 0.5f;
            const bool times = quad.name == "1616_resu_tani_kakeru" && y != 390 && y != 422 && y < 500;
            if (quad.name == "NoBonus" || quad.name == "PerfectBonus" || times) {
                choices.push_back(quad);
            }
        }
        Expected e = Expect();
        for (const Choice& choice : c.expected) {
            e.Sprite(std::string(choice.name) == "x" ? "1616_resu_tani_kakeru" : choice.name, choice.x,
                     choice.y);
        }
        EXPECT_EQ(choices, e.out) << "pair " << c.pair << " time " << c.clearTime << " kills " << c.kills1
                                  << "/" << c.kills2 << " bombs " << c.bombs1 << "/" << c.bombs2;
        delete overlay;
    }
}

// Once finished only the final panels: each player's label and score (0 and 0
// for one who is not counted), or the pair's summed score with the continue
// counts summed and held at 9; scores of eight digits and more gain the unit glyph.
TEST_F(ResultScreenTest, FinalPanels) {
    InPlay(1, 0, 1);
    PlayerRecord& first = system->GetPlayer(1);
    first.score = 1234;
    first.continueCount = 2;
    Open();
    RunTo(TallySecond(8));
    ASSERT_TRUE(overlay->GetTally().IsFinished());
    Expected e = Expect();
    e.Flat(0, 88, 480, 608, 0.001f, {0, 0, 0, 0.5f});
    e.Label("RESULT", 8, 94);
    e.Sprite("1P", 128, 244);
    e.Cell("1616_resu_tani_ten", 462, 300, 16, 16);
    e.Cell("su_1632_2", 446, 284, 16, 32);
    for (const char* digit : {"4", "3", "2", "1"}) {
        e.Cell(std::string("su_1632_") + digit, e.out.back().x0 - 16, 284, 16, 32);
    }
    e.Sprite("2P", 128, 372);
    e.Cell("1616_resu_tani_ten", 462, 428, 16, 16);
    e.Cell("su_1632_0", 446, 412, 16, 32);
    EXPECT_EQ(Draw(), e.out);
    delete overlay;

    system->SetPairMode(true);
    InPlay(2, 0, 1);
    first.score = 100000000;
    system->GetPlayer(2).score = 23456789;
    system->GetPlayer(2).continueCount = 7;
    first.continueCount = 5;
    Open();
    RunTo(TallySecond(8));
    Expected pair = Expect();
    pair.Flat(0, 88, 480, 608, 0.001f, {0, 0, 0, 0.5f});
    pair.Label("RESULT", 8, 94);
    pair.Sprite("1P2P", 128, 244);
    pair.Cell("1616_resu_tani_ten", 462, 300, 16, 16);
    pair.Cell("su_1632_9", 446, 284, 16, 32);
    const struct {
        const char* name;
        float x, w;
    } score[] = {{"su_1632_9", 430, 16}, {"su_1632_8", 414, 16},
                 {"su_1632_7", 398, 16}, {"su_1632_6", 382, 16},
                 {"su_1632_5", 366, 16}, {"su_1632_4", 350, 16},
                 {"su_1632_3", 334, 16}, {"3232_riza_tani_01_oku", 302, 32},
                 {"su_1632_2", 286, 16}, {"su_1632_1", 270, 16}};
    for (const auto& glyph : score) {
        pair.Cell(glyph.name, glyph.x, 284, glyph.w, 32);
    }
    EXPECT_EQ(Draw(), pair.out);
}

}  // namespace
}  // namespace mareldon
