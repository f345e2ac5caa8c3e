#include "game/stage/Hud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "engine/render/draw/DrawCommandList.h"
#include "game/render/ScreenDrawers.h"
#include "game/stage/FallingSprite.h"
#include "game/stage/GameWorldScreen.h"
#include "game/system/GameSystem.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/PlaceholderSheets.h"

namespace mareldon {
namespace {

// A sprite as drawn: its name, found from the texels it shows, and its top-left corner.
struct Drawn {
    std::string name;
    float x, y;
    bool operator==(const Drawn& o) const { return name == o.name && x == o.x && y == o.y; }
};
std::ostream& operator<<(std::ostream& out, const Drawn& d) {
    return out << d.name << "@(" << d.x << "," << d.y << ")";
}

class HudTest : public testing::Test, public WorldScreenFixture {
  protected:
    void Start() {
        AddScreen();
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
        hud = std::make_unique<Hud>(*screen);
        Flush();
    }
    PlayerRecord& Player(int player) { return system->GetPlayer(player); }
    // Submits and so empties the 2D lists.
    void Flush() { screen->DrawHudMinimal(); }

    // Every textured sprite queued since the last flush, in order; every sprite of
    // the placeholder sheets has its own rectangle, so its texels name it.
    std::vector<Drawn> Sprites() {
        std::vector<Drawn> out;
        const RefPtr<DrawCommandList>& list = screen->GetGameDrawer()->Commands();
        for (int32_t i = 0; i + 1 < list->CommandCount(); i += 2) {
            const DrawCommandList::Command& command = list->CommandAt(i);
            float x[6], y[6], u[6], v[6];
            SpriteSheet* sheet = nullptr;
            for (int32_t t = 0; t < 2; ++t) {
                const uint8_t* bytes = list->CommandVertices(i + t);
                for (int k = 0; k < 3; ++k) {
                    if (command.descriptor == screen->GetGameSpriteDrawer()) {
                        const auto* vx = reinterpret_cast<const SpriteVertex*>(bytes) + k;
                        x[t * 3 + k] = vx->x, y[t * 3 + k] = vx->y, u[t * 3 + k] = vx->u,
                                  v[t * 3 + k] = vx->v;
                    } else {
                        const auto* vx = reinterpret_cast<const TexturedVertex*>(bytes) + k;
                        x[t * 3 + k] = vx->x, y[t * 3 + k] = vx->y, u[t * 3 + k] = vx->u,
                                  v[t * 3 + k] = vx->v;
                    }
                }
            }
            if (command.descriptor == screen->GetGameDrawer() ||
                command.descriptor == screen->GetGameSpriteDrawer())
                sheet = screen->GetGameDrawer()->Sheet().Get();
            else if (command.descriptor == screen->GetSystemDrawer())
                sheet = screen->GetSystemDrawer()->Sheet().Get();
            else
                continue;
            const float cu =
                (*std::min_element(u, u + 6) + *std::max_element(u, u + 6)) * 0.5f * sheet->Width();
            const float cv =
                (*std::min_element(v, v + 6) + *std::max_element(v, v + 6)) * 0.5f * sheet->Height();
            std::string name = "?";
            for (const std::string& candidate : Names()) {
                const SpriteRect* r = sheet->FindOrNull(candidate.c_str());
                if (r != nullptr && cu > r->x && cu < r->x + r->w && cv > r->y && cv < r->y + r->h)
                    name = candidate;
            }
            out.push_back(
                {name, std::round(*std::min_element(x, x + 6)), std::round(*std::min_element(y, y + 6))});
        }
        return out;
    }
    // The colour of each sprite the game sprite drawer queued, in order.
    std::vector<ScreenColor> SpriteColours() {
        std::vector<ScreenColor> out;
        const RefPtr<DrawCommandList>& list = screen->GetGameDrawer()->Commands();
        for (int32_t i = 0; i + 1 < list->CommandCount(); i += 2) {
            if (list->CommandAt(i).descriptor != screen->GetGameSpriteDrawer())
                continue;
            const auto* vx = reinterpret_cast<const SpriteVertex*>(list->CommandVertices(i));
            out.push_back({vx->r, vx->g, vx->b, vx->a});
        }
        return out;
    }
    static const std::vector<std::string>& Names() {
        static const std::vector<std::string> names = [] {
            std::vector<std::string> all;
            for (const PlaceholderSprite& s : PlaceholderHudSprites())
                all.push_back(s.name);
            for (const char* n : {"1P", "2P", "Insert", "Add", "COINS", "ToStart", "ToContinue", "PleaseWait",
                                  "PressStartButton"})
                all.push_back(n);
            for (int d = 0; d < 10; ++d)
                all.push_back("1016_kazu_" + std::to_string(d));
            return all;
        }();
        return names;
    }

    std::unique_ptr<Hud> hud;
};

// Scores: ten times the stored value, coloured by digit index, player 1 from its
// anchor and player 2 right-aligned; in pair mode the sum once.
TEST_F(HudTest, ScoresAreLaidOutByDigitIndex) {
    Start();
    struct Case {
        uint64_t first, second;
        bool pair;
        std::vector<Drawn> expected;
    } const cases[] = {
        {1234,
         0,
         false,
         {{"1616_su_siro_1", 21, 20},
          {"1616_su_siro_2", 31, 20},
          {"1616_su_siro_3", 41, 20},
          {"1616_su_siro_4", 51, 20},
          {"1616_su_siro_0", 61, 20},
          {"1616_su_siro_0", 451, 20}}},
        {0, 5, false, {{"1616_su_siro_0", 21, 20}, {"1616_su_siro_5", 441, 20}, {"1616_su_siro_0", 451, 20}}},
        {12'000'000,
         0,
         false,
         {{"1616_su_midori_1", 21, 20},
          {"1616_su_siro_2", 31, 20},
          {"1616_su_siro_0", 41, 20},
          {"1616_su_siro_0", 51, 20},
          {"1616_su_siro_0", 61, 20},
          {"1616_su_siro_0", 71, 20},
          {"1616_su_siro_0", 81, 20},
          {"1616_su_siro_0", 91, 20},
          {"1616_su_siro_0", 101, 20},
          {"1616_su_siro_0", 451, 20}}},
        {3, 4, true, {{"1616_su_siro_7", 21, 20}, {"1616_su_siro_0", 31, 20}}},
        {10'000'000'000'000'000'000ull, 0, false, {}},
    };
    for (const Case& c : cases) {
        system->SetPairMode(c.pair);
        Player(1).score = c.first;
        Player(2).score = c.second;
        hud->DrawScores();
        const std::vector<Drawn> drawn = Sprites();
        if (c.expected.empty()) {
            // The twentieth digit is red.
            ASSERT_FALSE(drawn.empty());
            EXPECT_EQ(drawn.front(), (Drawn{"1616_su_aka_1", 21, 20}));
        } else {
            EXPECT_EQ(drawn, c.expected) << c.first << " " << c.second;
        }
        Flush();
    }
    system->SetPairMode(false);
}

// Multipliers: label, mark and up to nine digits, player 2 right-aligned; the
// digits follow a changed value, and a pair's sum stops at nine nines.
TEST_F(HudTest, MultipliersFollowTheirValuesAndStopAtNineDigits) {
    Start();
    struct Case {
        int32_t first, second;
        bool pair;
        std::vector<std::string> firstDigits;  // with their x
        std::vector<float> firstX;
        std::vector<std::string> secondDigits;
        std::vector<float> secondX;
    } const cases[] = {
        {0, 0, false, {"bairitu_0"}, {52}, {"bairitu_0"}, {412}},
        {123,
         45,
         false,
         {"bairitu_1", "bairitu_2", "bairitu_3"},
         {52, 68, 84},
         {"bairitu_4", "bairitu_5"},
         {380, 396}},
        {7, 0, false, {"bairitu_7"}, {52}, {"bairitu_0"}, {412}},
        {999'999'999,
         999'999'999,
         true,
         std::vector<std::string>(9, "bairitu_9"),
         {52, 68, 84, 100, 116, 132, 148, 164, 180},
         std::vector<std::string>(9, "bairitu_9"),
         {268, 284, 300, 316, 332, 348, 364, 380, 396}},
    };
    for (const Case& c : cases) {
        system->SetPairMode(c.pair);
        Player(1).multiplier = c.first;
        Player(2).multiplier = c.second;
        hud->DrawMultipliers();
        std::vector<Drawn> expected = {{"sonota_bairitu", 16, 36}, {"sonota_X", 40, 48}};
        for (size_t i = 0; i < c.firstDigits.size(); ++i)
            expected.push_back({c.firstDigits[i], c.firstX[i], 44});
        expected.push_back({"sonota_bairitu", 444, 36});
        expected.push_back({"sonota_X", 432, 48});
        for (size_t i = 0; i < c.secondDigits.size(); ++i)
            expected.push_back({c.secondDigits[i], c.secondX[i], 44});
        EXPECT_EQ(Sprites(), expected) << c.first << " " << c.second;
        Flush();
    }
    system->SetPairMode(false);
}

// Ship icons and stocks only for a player in the game; stock 10 is unlimited.
TEST_F(HudTest, ShipAndBombStocks) {
    Start();
    Player(1).shipType = 2;
    Player(1).shipStock = 3;
    Player(1).bombStock = 10;
    hud->DrawShipsAndBombs();
    const std::vector<Drawn> expected = {{"sonota_1P", 16, 4},
                                         {"zikiaikon_003", 16, 60},
                                         {"sonota_X", 40, 72},
                                         {"bomb_ziki_2", 52, 68},
                                         {"sonota_bomb", 76, 60},
                                         {"sonota_X", 100, 72},
                                         {"bomb_ziki_ki_mugen", 112, 68},
                                         {"sonota_2P", 432, 4}};
    EXPECT_EQ(Sprites(), expected);
    Flush();
    Player(1).shipStock = 10;
    Player(1).bombStock = 4;
    hud->DrawShipsAndBombs();
    const std::vector<Drawn> drawn = Sprites();
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_EQ(drawn[3].name, "bomb_ziki_mugen");
    EXPECT_EQ(drawn[6].name, "bomb_ziki_ki_4");
    Flush();
}

// The timer: the whole seconds left centred on x 240, the label above.
TEST_F(HudTest, TimerShowsTheWholeSecondsLeft) {
    Start();
    ASSERT_GE(StepUntil([&] { return screen->IsTimeLimitRunning(); }, 600), 0);
    hud->DrawTimer();
    const int32_t left = int32_t(screen->GetRawTimeLeft());
    std::string text = std::to_string(std::max(left, 0));
    std::vector<Drawn> drawn = Sprites();
    ASSERT_EQ(drawn.size(), text.size() + 1);
    // The label lies deeper, so it is queued first.
    EXPECT_EQ(drawn[0], (Drawn{"time_TIME", 208, 40}));
    const float anchor = 240.0f + 8.0f * float(text.size() - 1);
    for (size_t k = 0; k < text.size(); ++k) {
        EXPECT_EQ(drawn[k + 1].name, std::string(1, text[text.size() - 1 - k]) + "_00_00");
        EXPECT_EQ(drawn[k + 1].x + 8.0f, anchor - 16.0f * float(k))
            << "16-wide digits centred on their place";
        EXPECT_EQ(drawn[k + 1].y, 68.0f);
    }
    Flush();
}

// The credit prompts: label, text, coin digit and "COINS" 4 pixels apart, the second
// line below; nothing while bit 5 of the step count is set.
TEST_F(HudTest, CreditPromptsAndTheirBlink) {
    Start();
    Player(1).shipStock = 0;
    ASSERT_GE(StepUntil([&] { return (screen->GetStepCount() & 32) == 0; }, 64), 0);
    const int status = system->GetPlayerStatus(1);
    ASSERT_TRUE(status == 3 || status == 5) << status;
    const std::string coin = "1016_kazu_" + std::to_string(std::min(system->CoinsForPlayer(1), 9));
    hud->DrawCredits(8, 60);
    std::vector<Drawn> drawn = Sprites();
    ASSERT_GE(drawn.size(), 5u);
    drawn.resize(5);  // player 2's prompt follows
    const SpriteSheet& sheet = *screen->GetSystemDrawer()->Sheet();
    const float label = sheet.Find("1P").w;
    const char* text = status == 3 ? "Insert" : "Add";
    const float textW = sheet.Find(text).w;
    const std::vector<Drawn> expected = {{"1P", 16, 60},
                                         {text, 16 + label + 4, 60},
                                         {coin, 16 + label + 4 + textW + 4, 60},
                                         {"COINS", 16 + label + 4 + textW + 4 + 14, 60},
                                         {"ToStart", status == 3 ? 56.0f : 40.0f, 76}};
    EXPECT_EQ(drawn, expected);
    Flush();
    ASSERT_GE(StepUntil([&] { return (screen->GetStepCount() & 32) != 0; }, 64), 0);
    hud->DrawCredits(8, 60);
    EXPECT_TRUE(Sprites().empty());
    Flush();
}

// A gauge's label, and beside it the charging animation or the discharge blink.
TEST_F(HudTest, ReflectGaugeMarksFollowTheStepCount) {
    Start();
    ReflectGauge gauge{1, 0.5f};
    screen->SetReflectGauge(2, &gauge);
    hud->DrawReflectGauge(1);
    const int32_t frame = (screen->GetStepCount() >> 2) & 3;
    const char* charging[] = {"rihurekutogeizi_003", "rihurekutogeizi_003", "rihurekutogeizi_003_02",
                              "rihurekutogeizi_003_03"};
    const std::vector<Drawn> expected = {{"rihurekutogeizi_001", 336, 600}, {charging[frame], 380, 600}};
    EXPECT_EQ(Sprites(), expected);
    Flush();
    gauge = {3, 0.25f};
    screen->SetReflectGauge(2, &gauge);
    hud->DrawReflectGauge(1);
    EXPECT_EQ(Sprites().size(), (screen->GetStepCount() & 2) ? 2u : 1u);
    Flush();
    gauge = {0, 0.0f};
    screen->SetReflectGauge(2, &gauge);
    hud->DrawReflectGauge(1);
    EXPECT_EQ(Sprites(), (std::vector<Drawn>{{"rihurekutogeizi_001", 336, 600}}));
    Flush();
}

// The newest falling pop-up of a player in its colour, older ones red; digits end at
// the pop-up's x, which is moved inside the screen near the left edge. Gravity
// pop-ups are white with their mark after the units; a 0 draws nothing.
TEST_F(HudTest, PopupsByAgeAndPlayer) {
    Start();
    auto* older = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {200, 300, 0.5f}, 5, 1));
    auto* newest = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {20, 300, 0.5f}, 12, 1));
    auto* blue = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {300, 200, 0.5f}, 0, 2));
    ASSERT_TRUE(older && newest && blue);
    older->newest = 0;
    older->age = 20;
    newest->newest = 1;
    blue->newest = 1;
    hud->DrawFallingPopups();
    const std::vector<Drawn> falling = {{"su_02_aka_5", 188, 292},    {"su_02_aka_purasu", 180, 292},
                                        {"su_02_ki_1", 40, 292},      {"su_02_ki_2", 48, 292},
                                        {"su_02_ki_purasu", 32, 292}, {"su_02_ao_0", 288, 192},
                                        {"su_02_ao_purasu", 280, 192}};
    EXPECT_EQ(Sprites(), falling);
    Flush();
    ASSERT_TRUE(screen->CreateGravitySprite({}, {300, 100, 0.5f}, 34, 1));
    ASSERT_TRUE(screen->CreateGravitySprite({}, {300, 100, 0.5f}, 0, 2));
    hud->DrawGravityPopups();
    const std::vector<Drawn> gravity = {
        {"aggresive_white_3", 284, 120}, {"aggresive_white_4", 300, 120}, {"aggresive_white_ap", 316, 120}};
    EXPECT_EQ(Sprites(), gravity);
    Flush();
}

// Older falling pop-ups fade from alpha 0.8 by 0.015 a step, down to nothing; gravity
// pop-ups are yellowish-white for player 1 and pale blue for player 2, bluer with age.
TEST_F(HudTest, PopupColoursByPlayerAndAge) {
    Start();
    struct Case {
        int32_t age;
        float alpha;
    } const fading[] = {{0, 0.8f}, {20, 0.5f}, {50, 0.05f}, {60, 0.0f}};
    for (const Case& c : fading) {
        auto* older = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {200, 300, 0.5f}, 7, 1));
        ASSERT_NE(older, nullptr);
        older->newest = 0;
        older->age = c.age;
        hud->DrawFallingPopups();
        const std::vector<ScreenColor> colours = SpriteColours();
        ASSERT_EQ(colours.size(), 2u) << "the digit and the plus sign";
        for (const ScreenColor& colour : colours) {
            EXPECT_EQ(colour.r, 1.0f);
            EXPECT_NEAR(colour.a, c.alpha, 1e-6f) << "age " << c.age;
        }
        Flush();
        delete older;
    }
    // The newest is drawn opaque by the plain drawer: no coloured sprite at all.
    auto* newest = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {200, 300, 0.5f}, 7, 2));
    newest->newest = 1;
    newest->age = 40;
    hud->DrawFallingPopups();
    EXPECT_TRUE(SpriteColours().empty());
    EXPECT_EQ(Sprites().front().name, "su_02_ao_7");
    Flush();
    delete newest;

    struct Gravity {
        int32_t player, age;
        ScreenColor colour;
    } const gravity[] = {{1, 0, {0.9f, 0.9f, 1.0f, 1.0f}},
                         {1, 10, {0.9f, 0.9f, 0.8f, 1.0f}},
                         {2, 10, {0.8f, 0.8f, 1.0f, 1.0f}},
                         {2, 40, {0.4f, 0.5f, 1.0f, 1.0f}}};
    for (const Gravity& c : gravity) {
        auto* popup =
            static_cast<GravitySprite*>(screen->CreateGravitySprite({}, {300, 100, 0.5f}, 5, c.player));
        ASSERT_NE(popup, nullptr);
        popup->age = c.age;
        hud->DrawGravityPopups();
        const std::vector<ScreenColor> colours = SpriteColours();
        ASSERT_EQ(colours.size(), 2u) << "the digit and the mark";
        EXPECT_NEAR(colours[0].r, c.colour.r, 1e-6f) << c.player << " " << c.age;
        EXPECT_NEAR(colours[0].g, c.colour.g, 1e-6f) << c.player << " " << c.age;
        EXPECT_NEAR(colours[0].b, c.colour.b, 1e-6f) << c.player << " " << c.age;
        EXPECT_EQ(colours[0].a, 1.0f);
        Flush();
        delete popup;
    }
}

// The block a sprite belongs to, by its family; the times mark, which the stocks and
// the multipliers share, counts with the block before it.
std::string BlockOf(const std::string& name) {
    auto starts = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
    if (starts("su_02_"))
        return "falling";
    if (starts("aggresive_white_"))
        return "gravity";
    for (const char* prompt :
         {"1P", "2P", "Insert", "Add", "COINS", "ToStart", "ToContinue", "PleaseWait", "PressStartButton"}) {
        if (name == prompt)
            return "credits";
    }
    if (starts("1016_kazu_"))
        return "credits";
    if (name == "time_TIME" || (name.size() == 7 && name.compare(1, 6, "_00_00") == 0))
        return "timer";
    if (starts("rihurekutogeizi_"))
        return "gauges";
    if (name == "sonota_single" || name == "sonota_double")
        return "top";
    if (starts("1616_su_"))
        return "digits";
    if (name == "sonota_1P" || name == "sonota_2P" || name == "sonota_bomb" || starts("zikiaikon_") ||
        starts("bomb_ziki_"))
        return "stocks";
    if (name == "sonota_bairitu" || starts("bairitu_"))
        return "multipliers";
    if (name == "sonota_X")
        return "";
    return "? " + name;
}

// Each set of the world screens draws its own blocks (the list orders them by depth,
// so the blocks are compared as sets), the credits from their set's anchor; during
// the clear the play screen's set leaves out the timer and the gauges.
TEST_F(HudTest, EachSequenceDrawsItsBlocks) {
    Start();
    ASSERT_GE(
        StepUntil([&] { return screen->IsTimeLimitRunning() && (screen->GetStepCount() & 32) == 0; }, 600),
        0);
    ASSERT_FALSE(system->IsPlayerInGame(2)) << "player 2's credit prompt shows";
    auto* falling = static_cast<FallingSprite*>(screen->CreateFallingSprite({}, {200, 300, 0.5f}, 5, 1));
    ASSERT_NE(falling, nullptr);
    falling->newest = 1;
    ASSERT_NE(screen->CreateGravitySprite({}, {300, 100, 0.5f}, 34, 1), nullptr);
    ReflectGauge gauge{1, 0.5f};
    screen->SetReflectGauge(1, &gauge);
    float promptY = -1.0f;
    auto blocks = [&](Hud::Sequence sequence) {
        hud->DrawSequence(sequence);
        std::set<std::string> out;
        promptY = -1.0f;
        for (const Drawn& d : Sprites()) {
            const std::string block = BlockOf(d.name);
            if (!block.empty())
                out.insert(block);
            if (d.name == "2P")
                promptY = d.y;
        }
        Flush();
        return out;
    };
    using S = std::set<std::string>;
    EXPECT_EQ(blocks(Hud::Sequence::kFull), (S{"falling", "gravity", "credits", "timer", "gauges", "top",
                                               "digits", "stocks", "multipliers"}));
    EXPECT_EQ(promptY, 60.0f);
    EXPECT_EQ(blocks(Hud::Sequence::kNoScore), (S{"falling", "gravity", "credits", "gauges"}));
    EXPECT_EQ(promptY, 44.0f);
    EXPECT_EQ(blocks(Hud::Sequence::kGauges), (S{"falling", "gravity", "gauges"}));
    EXPECT_EQ(blocks(Hud::Sequence::kMinimal), (S{"falling", "gravity"}));
    screen->BeginStageClear();
    ASSERT_FALSE(screen->IsNotCleared());
    EXPECT_EQ(blocks(Hud::Sequence::kFull),
              (S{"falling", "gravity", "credits", "top", "digits", "stocks", "multipliers"}));
    // The gauges still show in the sets that always draw them.
    EXPECT_EQ(blocks(Hud::Sequence::kGauges), (S{"falling", "gravity", "gauges"}));
}

TEST(HudRulesTest, PairMultiplierSumIsHeldToTheCap) {
    EXPECT_EQ(Hud::ShownMultiplier(999'999'999, 999'999'999, true), Hud::kMultiplierCap);
    EXPECT_EQ(Hud::ShownMultiplier(600'000'000, 500'000'000, false), 600'000'000u);
    EXPECT_EQ(Hud::ShownMultiplier(6, 5, true), 11u);
    EXPECT_EQ(Hud::ShownMultiplier(-3, 0, false), 0u);
}

}  // namespace
}  // namespace mareldon
