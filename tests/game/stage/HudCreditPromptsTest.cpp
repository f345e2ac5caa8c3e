// The head-up display's credit prompts for both players in every status, read
// back from the world screen's draw list, and the credit overlay over it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/stage/GameWorldScreen.h"
#include "game/stage/Hud.h"
#include "game/system/GameSystem.h"
#include "tests/game/render/ScreenDrawLog.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// The prompt table: what each status shows, the first line's shift for player 2
// and the second line's offset by player.
struct Prompt {
    int status;
    const char* text;  // null: no first line
    bool coins;
    float shift;
    const char* second;
    float offset[2];
};
const Prompt kPrompts[] = {
    {3, "Insert", true, 0, "ToStart", {48, 328}},
    {4, "Insert", true, 0, "ToContinue", {48, 328}},
    {9, "Insert", true, 0, "ToContinue", {48, 328}},
    {5, "Add", true, 32, "ToStart", {32, 332}},
    {6, "Add", true, 32, "ToContinue", {32, 324}},
    {10, "Add", true, 32, "ToContinue", {32, 324}},
    {7, "PressStartButton", false, -16, "ToStart", {48, 332}},
    {8, "PressStartButton", false, -16, "ToContinue", {48, 328}},
    {11, "PressStartButton", false, -16, "ToContinue", {48, 328}},
};

class HudCreditPromptsTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        AddScreen();
        Enter(1);
        ASSERT_TRUE(StartWorld());
        hud = std::make_unique<Hud>(*screen);
        screen->DrawHudMinimal();  // empties the list
        OperatingSettings rules = system->GetOperatingSettings();
        rules.coins = 4;
        rules.continueCoins = 3;
        system->StoreOperatingSettings(rules);
    }
    std::vector<DrawnQuad> DrawCredits(float ax, float ay) {
        static const ScreenDrawLog log({"1P", "2P", "Insert", "Add", "COINS", "ToStart", "ToContinue",
                                        "PleaseWait", "PressStartButton", "1016_kazu_0", "1016_kazu_1",
                                        "1016_kazu_2", "1016_kazu_3", "1016_kazu_4", "1016_kazu_5",
                                        "1016_kazu_6", "1016_kazu_7", "1016_kazu_8", "1016_kazu_9"});
        hud->DrawCredits(ax, ay);
        std::vector<DrawnQuad> drawn = log.Read(*screen->GetSystemDrawer()->Commands());
        screen->DrawHudMinimal();
        return drawn;
    }
    // Player p's prompt for `status` from anchor (ax, ay), each piece 4 pixels
    // after the one before, the label at the size of "1P".
    std::vector<DrawnQuad> Expected(int p, int status, int coinsNeeded, float ax, float ay) {
        SpriteSheet& sheet = *screen->GetSystemDrawer()->Sheet();
        const float depth = 0.5f;
        if (status == 1) {
            return {
                ExpectedQuads{&sheet}.Centred("PleaseWait", 2 * ax + (p == 0 ? 48 : 392), ay + 16, depth)};
        }
        for (const Prompt& prompt : kPrompts) {
            if (prompt.status != status) {
                continue;
            }
            std::vector<DrawnQuad> out;
            float x = 2 * ax + 280 * p + (p == 1 ? prompt.shift : 0);
            auto piece = [&](const std::string& name, float w, float h) {
                out.push_back(ExpectedQuads::Over(name.c_str(), x, ay, x + w, ay + h, depth));
                x += w + 4;
            };
            piece(p == 0 ? "1P" : "2P", sheet.Find("1P").w, sheet.Find("1P").h);
            piece(prompt.text, sheet.Find(prompt.text).w, sheet.Find(prompt.text).h);
            if (prompt.coins) {
                piece("1016_kazu_" + std::to_string(coinsNeeded), 10, 16);
                piece("COINS", sheet.Find("COINS").w, sheet.Find("COINS").h);
            }
            const SpriteRect& second = sheet.Find(prompt.second);
            const float sx = ax + prompt.offset[p];
            out.push_back(
                ExpectedQuads::Over(prompt.second, sx, ay + 16, sx + second.w, ay + 16 + second.h, depth));
            return out;
        }
        return {};  // 2, 12, 13: nothing
    }

    std::unique_ptr<Hud> hud;
};

// Every status for each player, in the pairs one credit state allows: coin
// units 0, 1 of the 4 a credit takes (3 to continue) or a whole credit.
TEST_F(HudCreditPromptsTest, EveryStatusForBothPlayers) {
    enum Coins { kNone, kOne, kCredit };
    struct Side {
        int playCount;
        int flag;  // -1 none, else the flag byte set
        int shipStock;
    };
    struct Case {
        Coins coins;
        bool blocked;
        Side players[2];
        int status[2];
        int needed[2];
        const char* overlay;  // the credit overlay's sprites
    } const cases[] = {
        {kNone, false, {{0, -1, 0}, {1, -1, 0}}, {3, 4}, {4, 3}, "credit 1016_Coin_kazu_0"},
        {kNone, false, {{1, -1, 0}, {0, -1, 0}}, {4, 3}, {3, 4}, "credit 1016_Coin_kazu_0"},
        {kOne, false, {{0, -1, 0}, {1, -1, 0}}, {5, 6}, {3, 2}, "credit 1016_Coin_kazu_0"},
        {kOne, false, {{1, -1, 0}, {0, -1, 0}}, {6, 5}, {2, 3}, "credit 1016_Coin_kazu_0"},
        {kCredit, false, {{0, -1, 0}, {1, -1, 0}}, {7, 8}, {0, 0}, ""},
        {kCredit, false, {{1, -1, 0}, {0, -1, 0}}, {8, 7}, {0, 0}, ""},
        {kNone, false, {{0, 1, 0}, {0, 0, 0}}, {9, 12}, {4, 4}, "credit 1016_Coin_kazu_0"},
        {kNone, false, {{0, 0, 0}, {1, 1, 0}}, {12, 9}, {4, 3}, "credit 1016_Coin_kazu_0"},
        {kOne, false, {{1, 1, 0}, {0, 2, 0}}, {10, 13}, {2, 3}, "credit 1016_Coin_kazu_0"},
        {kOne, false, {{0, 2, 0}, {0, 1, 0}}, {13, 10}, {3, 3}, "credit 1016_Coin_kazu_0"},
        {kCredit, false, {{0, 1, 0}, {0, -1, 3}}, {11, 2}, {0, 0}, "Enjoy"},
        {kCredit, false, {{0, -1, 3}, {1, 1, 0}}, {2, 11}, {0, 0}, "Enjoy"},
        {kCredit, false, {{0, -1, 3}, {0, -1, 0}}, {2, 7}, {0, 0}, "credit 1016_Coin_kazu_1"},
        {kNone, true, {{0, -1, 0}, {1, -1, 0}}, {1, 1}, {4, 3}, "credit 1016_Coin_kazu_0"},
    };
    for (const Case& c : cases) {
        // A coin left over from the case before completes its credit first.
        system->ForceCreditsForTest(0);
        while (system->GetCoinUnits() % 4 != 0) {
            system->AddCoin();
        }
        system->ForceCreditsForTest(c.coins == kCredit ? 1 : 0);
        if (c.coins == kOne) {
            system->AddCoin();
        }
        system->SetStartBlocked(c.blocked);
        for (int p = 0; p < 2; ++p) {
            PlayerRecord& record = system->GetPlayer(1 << p);
            record.playCount = c.players[p].playCount;
            record.shipStock = c.players[p].shipStock;
            uint8_t* flags = system->GetPlayerFlags(1 << p);
            for (int f = 0; f < 3; ++f) {
                flags[f] = c.players[p].flag == f ? 1 : 0;
            }
        }
        const std::string name = std::to_string(c.status[0]) + "/" + std::to_string(c.status[1]);
        ASSERT_EQ(system->GetPlayerStatus(1), c.status[0]) << name;
        ASSERT_EQ(system->GetPlayerStatus(2), c.status[1]) << name;
        for (const float ay : {60.0f, 44.0f}) {
            std::vector<DrawnQuad> expected = Expected(0, c.status[0], c.needed[0], 8, ay);
            for (const DrawnQuad& quad : Expected(1, c.status[1], c.needed[1], 8, ay)) {
                expected.push_back(quad);
            }
            screen->stepCount = 64 + 31;
            EXPECT_EQ(DrawCredits(8, ay), expected) << "statuses " << name << " at y " << ay;
            screen->stepCount = 64 + 32;
            EXPECT_TRUE(DrawCredits(8, ay).empty()) << "hidden while bit 5 is set";
        }
        // The credit overlay over every scene, on the same statuses.
        system->StartAttentionTimer();
        GameSystem::OverlaySprite sprites[2];
        const int count = system->CollectOverlay(480.0f, sprites);
        std::string overlay;
        for (int i = 0; i < count; ++i) {
            overlay += std::string(i > 0 ? " " : "") + GameSystem::OverlaySpriteName(sprites[i].sprite);
        }
        EXPECT_EQ(overlay, c.overlay) << name;
        // Where things are free of the blocks: the credit and its digit centred apart.
        if (count == 2) {
            EXPECT_EQ(sprites[0].x, 241.0f);
            EXPECT_EQ(sprites[1].x, 288.0f);
            EXPECT_EQ(sprites[1].y, 625.0f);
        }
    }
    system->SetStartBlocked(false);
}

}  // namespace
}  // namespace mareldon
