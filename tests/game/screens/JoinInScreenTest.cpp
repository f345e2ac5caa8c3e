// What the join-in panel draws, read back from its draw set.
#include "game/screens/JoinInScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/system/GameSystem.h"
#include "tests/game/screens/OverlayDrawFixture.h"

namespace mareldon {
namespace {

class JoinInScreenDrawTest : public testing::Test, public OverlayDrawFixture {
  protected:
    std::vector<DrawnQuad> Draw(JoinInScreen& panel) {
        std::vector<std::string> names(JoinInScreen::GameSpriteNames().begin(),
                                       JoinInScreen::GameSpriteNames().end());
        names.emplace_back("SelectYourFighter");
        return Frame(panel.GetDrawKit(), names, [&] { panel.OnDrawPost(); });
    }
};

// Base x by player (48 and 321.6 on the 480-wide screen), the three icons with
// the partner's ship left out, the cursor on the choice in the colour of bit 4
// of the step count, the caption, and the seconds left: tens only when not 0.
TEST_F(JoinInScreenDrawTest, PanelByPlayerPartnerChoiceAndSeconds) {
    struct Case {
        int player, partnerShip, moves, step, updates;
        float base;
        std::vector<const char*> icons;
        const char* cursor;
        float cursorX;
        std::vector<std::pair<const char*, float>> digits;
    } const cases[] = {
        {1,
         0,
         0,
         0,
         0,
         48,
         {"2psanka_ziki_02_aka_00", "2psanka_ziki_03_ki_00", "2psanka_ziki_04_midori_00"},
         "2psanka_ziki_06_waku_aka_00",
         48,
         {{"namerezi_con_su_2", 156}, {"namerezi_con_su_0", 174}}},
        {2,
         1,
         0,
         16,
         0,
         321.6f,
         {"2psanka_ziki_01_ao_00", "2psanka_ziki_03_ki_00", "2psanka_ziki_04_midori_00"},
         "2psanka_ziki_05_waku_ao_00",
         321.6f,
         {{"namerezi_con_su_2", 429.6f}, {"namerezi_con_su_0", 447.6f}}},
        // Right twice after the first 30 steps: choice 2, 10 seconds left.
        {2,
         3,
         2,
         47,
         659,
         321.6f,
         {"2psanka_ziki_01_ao_00", "2psanka_ziki_02_aka_00", "2psanka_ziki_03_ki_00"},
         "2psanka_ziki_06_waku_aka_00",
         401.6f,
         {{"namerezi_con_su_1", 429.6f}, {"namerezi_con_su_0", 447.6f}}},
        // Left once from 0 wraps to choice 2; 9 seconds: no tens digit.
        {1,
         2,
         -1,
         63,
         660,
         48,
         {"2psanka_ziki_01_ao_00", "2psanka_ziki_02_aka_00", "2psanka_ziki_04_midori_00"},
         "2psanka_ziki_05_waku_ao_00",
         128,
         {{"namerezi_con_su_9", 174}}},
        // The last 59 steps show 0.
        {1,
         0,
         0,
         0,
         1220,
         48,
         {"2psanka_ziki_02_aka_00", "2psanka_ziki_03_ki_00", "2psanka_ziki_04_midori_00"},
         "2psanka_ziki_06_waku_aka_00",
         48,
         {{"namerezi_con_su_0", 174}}},
    };
    const RefPtr<SpriteSheet> game = Sheet("game");
    const RefPtr<SpriteSheet> systemImage = Sheet("systemimage");
    const ExpectedQuads onGame{game.Get()};
    const ExpectedQuads onSystem{systemImage.Get()};
    for (const Case& c : cases) {
        system->GetPlayer(c.player ^ 3).shipType = c.partnerShip;
        auto* panel = new JoinInScreen(system, c.player);
        const int input = c.player - 1;
        for (int i = 0; i < c.updates; ++i) {
            const bool move = i >= 30 && i < 30 + (c.moves < 0 ? -c.moves : c.moves);
            inputs.masks[input].repeat =
                move ? (c.moves < 0 ? ScreenButton::kLeft : ScreenButton::kRight) : 0;
            panel->OnUpdatePre();
        }
        inputs.masks[input] = ButtonSet{};
        panel->stepCount = c.step;
        std::vector<DrawnQuad> expected;
        for (size_t k = 0; k < c.icons.size(); ++k) {
            expected.push_back(onGame.Centred(c.icons[k], c.base + 40.0f * float(k), 80, 0));
        }
        expected.push_back(onGame.Centred(c.cursor, c.cursorX, 80, 0));
        expected.push_back(onSystem.Centred("SelectYourFighter", c.base + 56, 48, 0));
        for (const auto& [digit, x] : c.digits) {
            expected.push_back(onGame.Centred(digit, x, 80, 0.5f));
        }
        EXPECT_EQ(Draw(*panel), expected) << "player " << c.player << " partner " << c.partnerShip;
        delete panel;
    }
}

// While starts are blocked the panel draws nothing at all.
TEST_F(JoinInScreenDrawTest, NothingWhileStartsAreBlocked) {
    auto* panel = new JoinInScreen(system, 2);
    system->SetStartBlocked(true);
    bool drawn = false;
    panel->GetDrawKit().beforeDraw = [&](DrawCommandList&) { drawn = true; };
    panel->OnDrawPost();
    EXPECT_FALSE(drawn);
    system->SetStartBlocked(false);
    delete panel;
}

}  // namespace
}  // namespace mareldon
