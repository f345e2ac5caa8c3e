// What the name entry and the continue countdown draw, read back from their draw set.
#include "game/screens/NameEntryScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/screens/NameGlyphs.h"
#include "game/system/GameSystem.h"
#include "tests/game/screens/OverlayDrawFixture.h"

namespace mareldon {
namespace {

class NameEntryScreenDrawTest : public testing::Test, public OverlayDrawFixture {
  protected:
    void SetUp() override {
        game = Sheet("game");
        rank = Sheet("rank");
    }
    std::vector<DrawnQuad> Draw(NameEntryScreen& overlay) {
        std::vector<std::string> names(NameEntryScreen::GameSpriteNames().begin(),
                                       NameEntryScreen::GameSpriteNames().end());
        for (int i = 0; i < NameGlyphs::kCount; ++i) {
            if (NameGlyphs::SpriteName(i) != nullptr) {
                names.emplace_back(NameGlyphs::SpriteName(i));
            }
        }
        return Frame(overlay.GetDrawKit(), names, [&] { overlay.OnDrawPost(); });
    }
    // `count` updates with these buttons on the player's input (pressed and repeating).
    void Update(NameEntryScreen& overlay, int player, int count, uint32_t buttons = 0) {
        inputs.masks[player - 1] = ButtonSet{0, buttons, buttons, 0};
        for (int i = 0; i < count; ++i) {
            overlay.OnUpdatePre();
        }
        inputs.masks[player - 1] = ButtonSet{};
    }
    DrawnQuad Small(char digit, float x, float y, float z) const {
        return ExpectedQuads{game.Get()}.Centred((std::string("namerezi_con_su_") + digit).c_str(), x, y, z);
    }
    DrawnQuad OnGame(const char* name, float x, float y) const {
        return ExpectedQuads{game.Get()}.Centred(name, x, y, 0);
    }
    static DrawnQuad Letter(char letter, float x) {
        return ExpectedQuads::Over((std::string("3232_ei_dai_") + letter).c_str(), x, 100, x + 32, 132, 0);
    }
    static DrawnQuad Cursor(float x) {
        return ExpectedQuads::Over("namerezi_carsoru_00", x, 132, x + 32, 140, 0);
    }

    RefPtr<SpriteSheet> game;
    RefPtr<SpriteSheet> rank;
};

// Base x 58.5 for player 1 and 326.5 for player 2; the place 16 to the left; the
// seconds left; the letters up to the cursor and the cursor once the first 60
// steps are past; then the stored name blinking on bit 1 of the step count.
TEST_F(NameEntryScreenDrawTest, EntryThenNameShownByPlayer) {
    const struct {
        int player;
        int above;  // the score sits just above this ranking entry
        float base;
        const char* place;
    } cases[] = {{1, 0, 58.5f, "namerezi_1st_00"}, {2, 2, 326.5f, "namerezi_3rd_00"}};
    for (const auto& c : cases) {
        PlayerRecord& player = system->GetPlayer(c.player);
        player.score = system->GetRankingEntry(c.above).score + 1;
        auto* overlay = new NameEntryScreen(system, c.player);
        ASSERT_EQ(overlay->GetState(), NameEntryScreen::kNameEntry);
        const float b = c.base;
        // 20 seconds, no letters yet.
        EXPECT_EQ(Draw(*overlay), (std::vector<DrawnQuad>{
                                      OnGame(c.place, b - 16, 116), OnGame("namerezi_nameentry_00", b, 84),
                                      Small('2', b + 64, 76, 0.5f), Small('0', b + 82, 76, 0.5f)}))
            << "player " << c.player;
        Update(*overlay, c.player, 61);  // 1139 steps left: 18 seconds
        EXPECT_EQ(Draw(*overlay), (std::vector<DrawnQuad>{
                                      OnGame(c.place, b - 16, 116), OnGame("namerezi_nameentry_00", b, 84),
                                      Small('1', b + 64, 76, 0.5f), Small('8', b + 82, 76, 0.5f),
                                      Letter('A', b + 16), Cursor(b + 16)}));
        Update(*overlay, c.player, 1, ScreenButton::kDown);
        Update(*overlay, c.player, 1, ScreenButton::kFirst);
        EXPECT_EQ(Draw(*overlay), (std::vector<DrawnQuad>{
                                      OnGame(c.place, b - 16, 116), OnGame("namerezi_nameentry_00", b, 84),
                                      Small('1', b + 64, 76, 0.5f), Small('8', b + 82, 76, 0.5f),
                                      Letter('B', b + 16), Letter('B', b + 48), Cursor(b + 48)}));
        Update(*overlay, c.player, 1, ScreenButton::kStart);
        ASSERT_EQ(overlay->GetState(), NameEntryScreen::kNameShown);
        overlay->stepCount = 2;
        EXPECT_EQ(Draw(*overlay), (std::vector<DrawnQuad>{Letter('B', b + 16), OnGame(c.place, b - 16, 116),
                                                          OnGame("namerezi_nameentry_00", b, 84)}));
        overlay->stepCount = 4;
        EXPECT_EQ(Draw(*overlay), (std::vector<DrawnQuad>{OnGame(c.place, b - 16, 116),
                                                          OnGame("namerezi_nameentry_00", b, 84)}));
        delete overlay;
    }
}

// The continue countdown: the large one only while the player waits alone, the
// small one always at base 76.8 for player 1 and 364.8 for player 2; one-digit
// seconds move the small digit 9 to the left, 0 has places of its own.
TEST_F(NameEntryScreenDrawTest, ContinueCountdownLargeAndSmall) {
    using Digits = std::vector<std::pair<char, float>>;
    const struct {
        int player;
        bool partnerInGame;
        int updates;
        Digits large;  // empty: no large countdown
        Digits small;
    } cases[] = {
        {1, false, 0, {{'0', 264}, {'2', 224}}, {{'0', 172.8f}, {'2', 154.8f}}},
        {1, false, 659, {{'0', 264}, {'1', 224}}, {{'0', 172.8f}, {'1', 154.8f}}},
        {1, false, 660, {{'9', 252}}, {{'9', 163.8f}}},
        {1, false, 1220, {{'0', 248}}, {{'0', 163.8f}}},
        {1, true, 0, {}, {{'0', 172.8f}, {'2', 154.8f}}},
        {2, false, 0, {{'0', 264}, {'2', 224}}, {{'0', 460.8f}, {'2', 442.8f}}},
        {2, true, 0, {}, {{'0', 460.8f}, {'2', 442.8f}}},
        {2, true, 1000, {}, {{'4', 451.8f}}},
    };
    for (const auto& c : cases) {
        system->GetPlayer(c.player).score = 0;
        system->GetPlayer(c.player).shipStock = 0;
        system->GetPlayer(c.player ^ 3).shipStock = c.partnerInGame ? 3 : 0;
        auto* overlay = new NameEntryScreen(system, c.player);
        ASSERT_EQ(overlay->GetState(), NameEntryScreen::kContinue);
        Update(*overlay, c.player, c.updates);
        std::vector<DrawnQuad> expected;
        if (!c.large.empty()) {
            expected.push_back(OnGame("continue_dai", 240, 228));
            for (const auto& [digit, x] : c.large) {
                expected.push_back(OnGame((std::string("continue_dai_kazu_") + digit).c_str(), x, 324));
            }
        }
        const float base = c.player == 1 ? 76.8f : 364.8f;
        expected.push_back(OnGame("continue_syou", base + 1, 109));
        for (const auto& [digit, x] : c.small) {
            expected.push_back(Small(digit, x, 109, 0));
        }
        EXPECT_EQ(Draw(*overlay), expected) << "player " << c.player << " after " << c.updates;
        delete overlay;
    }
}

}  // namespace
}  // namespace mareldon
