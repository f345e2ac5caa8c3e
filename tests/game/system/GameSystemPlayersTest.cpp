#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/system/GameSystem.h"
#include "game/system/SceneTask.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

using testing::ElementsAre;
using Event = std::pair<uint32_t, uint32_t>;

class GameSystemPlayersTest : public testing::Test, public GameSystemFixture {
  protected:
    void SetUp() override { Start(); }
    void SetCoins(int32_t coins, int32_t credits, int32_t continueCoins = 10, int32_t playMode = 0) {
        OperatingSettings op = system->DefaultOperatingSettings();
        op.coins = coins;
        op.credits = credits;
        op.continueCoins = continueCoins;
        op.playMode = playMode;
        system->StoreOperatingSettings(op);
        Events().clear();
    }
    // Moves the scene flow to a stage past the first (joins count as continues there).
    void EnterStage(int stage) {
        Step();
        for (int i = 0; i < stage; ++i) {
            system->GetCurrentScene()->RequestSuccessor("nextstage");
            root.CollectDead();
        }
        Events().clear();
    }
};

TEST_F(GameSystemPlayersTest, CoinTwoCreditThreeGrantsAndCaps) {
    SetCoins(2, 3);
    system->AddCoin();
    EXPECT_EQ(system->GetCredits(), 0);
    EXPECT_EQ(system->CoinsToNextCredit(), 1);
    EXPECT_TRUE(Events().empty());
    system->AddCoin();
    EXPECT_EQ(system->GetCredits(), 3);
    EXPECT_THAT(Events(), ElementsAre(Event{0x09010000, 6}));
    for (int i = 0; i < 4; ++i) {
        system->AddCoin();
    }
    EXPECT_EQ(system->GetCredits(), 9);
    system->AddCoin();  // swallowed at nine credits
    EXPECT_EQ(system->GetCoinUnits(), 18);

    // A grant that would pass nine leaves exactly nine.
    system->TakeCoinsForCredit(1);
    EXPECT_EQ(system->GetCredits(), 8);
    system->AddCoin();
    system->AddCoin();
    EXPECT_EQ(system->GetCoinUnits(), 18);
    EXPECT_EQ(Events().back(), (Event{0x09010000, 18}));
    system->AddServiceCredit();
    EXPECT_EQ(system->GetCoinUnits(), 18);
}

TEST_F(GameSystemPlayersTest, ServiceCreditAddsOneCredit) {
    SetCoins(3, 1);
    system->AddServiceCredit();
    EXPECT_EQ(system->GetCredits(), 1);
    EXPECT_EQ(system->GetCoinUnits(), 3);
    EXPECT_THAT(Events(), ElementsAre(Event{0x0A010000, 3}));
}

TEST_F(GameSystemPlayersTest, FreePlayChangesNothingAndCostsNothing) {
    SetCoins(2, 1, 10, 1);
    system->AddCoin();
    system->AddCoin();
    system->AddServiceCredit();
    EXPECT_EQ(system->GetCoinUnits(), 0);
    EXPECT_EQ(system->CoinsToNextCredit(), 0);
    EXPECT_EQ(system->CoinsForPlayer(1), 0);
    EXPECT_EQ(system->GetPlayerStatus(1), 7);
    system->StartGame(1);
    EXPECT_EQ(system->GetCoinUnits(), 0);
    EXPECT_THAT(Events(), ElementsAre(Event{0x0B010000, 0}));
}

TEST_F(GameSystemPlayersTest, StatusTable) {
    EXPECT_EQ(system->GetPlayerStatus(1), 3);
    system->AddCoin();
    EXPECT_EQ(system->GetPlayerStatus(1), 7);
    EXPECT_TRUE(system->CanPlayerStart(1));
    EXPECT_EQ(system->AddStartLock(), 1);
    EXPECT_EQ(system->GetPlayerStatus(1), 1);
    EXPECT_FALSE(system->CanPlayerStart(1));
    EXPECT_EQ(system->ReleaseStartLock(), 0);
    system->GetPlayer(1).playCount = 1;
    EXPECT_EQ(system->GetPlayerStatus(1), 8);
    system->GetPlayer(1).shipStock = 1;
    EXPECT_EQ(system->GetPlayerStatus(1), 2);
    EXPECT_TRUE(system->IsPlayerInGame(1));
    system->GetPlayerFlags(1)[1] = 1;
    system->GetPlayer(1).shipStock = 0;
    EXPECT_EQ(system->GetPlayerStatus(1), 11);
    system->GetPlayerFlags(1)[2] = 1;
    EXPECT_TRUE(system->IsPlayerSelectingShip(1));
    system->GetPlayerFlags(1)[0] = 1;
    EXPECT_TRUE(system->IsPlayerStatus12(1));
    // Player 2 is untouched; a mask of 0 means player 1.
    EXPECT_EQ(system->GetPlayerStatus(2), 7);
    EXPECT_EQ(system->GetPlayerStatus(0), 12);
}

TEST_F(GameSystemPlayersTest, ContinuePriceComesOffPendingCoinsThenCredits) {
    SetCoins(2, 1, 3);
    system->GetPlayer(1).playCount = 1;
    system->AddCoin();
    system->AddCoin();
    system->AddCoin();  // one credit (2 units) and one pending coin
    EXPECT_EQ(system->CoinsForPlayer(1), 0);
    EXPECT_EQ(system->GetPlayerStatus(1), 8);
    system->TakeCoinsForCredit(1);
    EXPECT_EQ(system->GetCoinUnits(), 0);
    // Without continue, the first start costs COIN.
    EXPECT_EQ(system->CoinsForPlayer(2), 2);
    EXPECT_EQ(system->GetPlayerStatus(1), 4);
}

// Credit units short of a credit (a continue cheaper than COIN left them) count
// towards the next one.
TEST_F(GameSystemPlayersTest, CoinsToNextCreditCountsLeftoverUnits) {
    SetCoins(3, 1, 2);
    system->GetPlayer(1).playCount = 1;
    for (int i = 0; i < 3; ++i) {
        system->AddCoin();
    }
    EXPECT_EQ(system->CoinsToNextCredit(), 0);
    system->TakeCoinsForCredit(1);  // the continue costs 2 of the 3 units
    ASSERT_EQ(system->GetCoinUnits(), 1);
    EXPECT_EQ(system->CoinsToNextCredit(), 2);
    system->AddCoin();
    EXPECT_EQ(system->CoinsToNextCredit(), 1);
}

TEST_F(GameSystemPlayersTest, PartnerJoiningARunningGameMarksBothContinued) {
    system->AddServiceCredit();
    system->JoinPlayers(1);
    EXPECT_EQ(system->GetPlayerStatus(1), 2);
    EXPECT_EQ(system->GetPlayer(1).continueCount, 0);
    system->AddServiceCredit();
    system->JoinPlayers(2);
    EXPECT_EQ(system->GetPlayer(1).continueCount, 1);
    EXPECT_EQ(system->GetPlayer(2).continueCount, 1);
    EXPECT_EQ(system->FindRankPosition(system->GetPlayer(1)), -1);
}

TEST_F(GameSystemPlayersTest, JoinInAfterTheFirstStageCountsContinuesUpToNine) {
    EnterStage(2);
    SetCoins(1, 1, 10, 1);
    Built().clear();
    system->JoinPlayers(2);
    EXPECT_THAT(Built(), ElementsAre("JoinInScreen 2"));
    EXPECT_EQ(system->GetPlayerStatus(2), 13);
    EXPECT_EQ(Events()[1], (Event{0x13020100, 0}));
    for (int i = 0; i < 12; ++i) {
        system->JoinPlayers(2);
    }
    EXPECT_EQ(system->GetPlayer(2).continueCount, 9);
    EXPECT_EQ(system->GetPlayer(2).playCount, 13);
    EXPECT_EQ(Built().size(), 1u) << "the ship choice opens on the first join only";
    for (int i = 0; i < 3; ++i) {
        Step();
    }
    EXPECT_EQ(system->GetPlayerFlags(2)[2], 0) << "cleared when the overlay is done";
}

TEST_F(GameSystemPlayersTest, NameEntryReportsAndRanks) {
    EnterStage(3);
    PlayerRecord& record = system->GetPlayer(1);
    record.score = 9500000000000ull;
    system->StartNameEntry(1);
    EXPECT_THAT(Events(), ElementsAre(Event{0x12030000, 0}));
    EXPECT_EQ(record.stage, 3);
    EXPECT_TRUE(system->IsPlayerStatus12(1));
    for (int i = 0; i < 3; ++i) {
        Step();
    }
    EXPECT_FALSE(system->IsPlayerStatus12(1));
    EXPECT_EQ(system->GetRankingEntry(1).score, 9500000000000ull);
}

TEST_F(GameSystemPlayersTest, StartGameResetsTheRecord) {
    SetCoins(1, 1, 10, 1);
    GameSettings game = system->DefaultGameSettings();
    game.shipStock = 5;
    game.bombStock = 1;
    system->StoreGameSettings(game);
    PlayerRecord& record = system->GetPlayer(1);
    record.score = 77;
    record.multiplier = 12;
    record.chain = 4;
    record.powerLevel = 3;
    system->SetPairMode(true);
    system->StartGame(1);
    EXPECT_EQ(record.score, 77u) << "pair mode keeps the score";
    EXPECT_EQ(record.multiplier, 12);
    EXPECT_EQ(record.chain, 0);
    EXPECT_EQ(record.powerLevel, 0);
    EXPECT_EQ(record.shipStock, 5);
    EXPECT_EQ(record.bombStock, 1);
    EXPECT_EQ(record.name, "   ");
    system->SetPairMode(false);
    system->StartGame(1);
    EXPECT_EQ(record.score, 0u);
    EXPECT_EQ(record.multiplier, 0);
}

TEST_F(GameSystemPlayersTest, TopScoreAndSavedRecords) {
    EXPECT_EQ(system->GetTopScore(), 10000000000000ull);
    system->SetPairMode(true);
    EXPECT_EQ(system->GetTopScore(), 20000000000000ull);
    system->GetPlayer(1).score = 15000000000000ull;
    system->GetPlayer(2).score = 6000000000000ull;
    EXPECT_EQ(system->UpdateTopScore(), 21000000000000ull);
    EXPECT_EQ(system->GetTopScore(), 21000000000000ull);
    system->SetPairMode(false);
    EXPECT_EQ(system->UpdateTopScore(), 6000000000000ull) << "the last value compared";
    EXPECT_EQ(system->GetTopScore(), 15000000000000ull);

    system->SavePlayerRecords();
    EXPECT_EQ(system->GetSavedScore()[1].score, 6000000000000ull);
    system->GetPlayer(2).continueCount = 1;
    system->GetPlayer(2).score = 1;
    system->SavePlayerRecords();
    EXPECT_EQ(system->GetSavedScore()[1].score, 6000000000000ull) << "continued records are not saved";
    system->ResetGame();
    EXPECT_EQ(system->GetSavedScore()[0].score, 0u);
    EXPECT_EQ(system->GetPlayer(2).continueCount, 0);
    EXPECT_EQ(system->GetGameMode(), 1);
    EXPECT_FALSE(system->IsPairMode());
}

}  // namespace
}  // namespace mareldon
