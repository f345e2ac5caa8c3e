#include "game/system/StageStart.h"

#include <gtest/gtest.h>

#include "game/system/StageTable.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

TEST(StageStartTest, ParsesStageAndShipOrRefuses) {
    struct Case {
        const char* text;
        int32_t stage;  // -1: refused
        int32_t ship;
    };
    const Case cases[] = {
        {"1", 1, 0},     {"3:2", 3, 2},  {"12:3", 12, 3}, {"0", 0, 0},      {"007:01", 7, 1},
        {"13", -1, 0},   {"3:4", -1, 0}, {"", -1, 0},     {":1", -1, 0},    {"3:", -1, 0},
        {"-1", -1, 0},   {"1x", -1, 0},  {" 1", -1, 0},   {"1:2:3", -1, 0}, {"99999999999999999999", -1, 0},
        {"2:-1", -1, 0},
    };
    for (const Case& c : cases) {
        StageStart start{5, 1};
        EXPECT_EQ(ParseStageStart(c.text, int32_t(kStageCount), start), c.stage >= 0) << c.text;
        EXPECT_EQ(start.stage, c.stage) << c.text;
        EXPECT_EQ(start.shipType, c.ship) << c.text;
    }
    EXPECT_FALSE(ReadStageStart(nullptr).IsSet());
    EXPECT_FALSE(ReadStageStart("x").IsSet());
    EXPECT_EQ(ReadStageStart("6").stage, 6);
}

class StageStartFlowTest : public testing::Test, public GameSystemFixture {};

TEST_F(StageStartFlowTest, BootGoesStraightToThePlayScreenWithPlayerOneInGame) {
    GameSystemPorts ports = Ports();
    ports.stageStart = StageStart{3, 2};
    system = new GameSystem(&root, ports);
    ASSERT_TRUE(RunUntil("actualgame", 20));
    // No notice, logo, title, ship select or stage hand-over on the way.
    ASSERT_EQ(Built().size(), 2u);
    EXPECT_EQ(Built()[0], "LoadingScreen boot actualgame");
    EXPECT_EQ(Built()[1], "ActualGameScreen title1 title " +
                              std::to_string(system->GetGameSettings().difficulty) + " 0 3");
    EXPECT_EQ(system->GetPlayingStage(), 3);
    const PlayerRecord& one = system->GetPlayer(1);
    EXPECT_EQ(one.shipType, 2);
    EXPECT_EQ(one.shipStock, system->GetGameSettings().shipStock);
    EXPECT_EQ(one.bombStock, system->GetGameSettings().bombStock);
    EXPECT_EQ(one.stage, 3);
    EXPECT_TRUE(system->IsPlayerInGame(1));
    EXPECT_FALSE(system->IsPlayerInGame(2));
    EXPECT_FALSE(system->IsAttractMode());
    // Nothing paid, nothing reported as a start.
    EXPECT_EQ(system->GetCoinUnits(), 0);
    for (const auto& event : Events())
        EXPECT_NE(event.first, 0x0B010000u);
}

TEST_F(StageStartFlowTest, RunsOnceThenTheFlowIsTheCabinetsAgain) {
    GameSystemPorts ports = Ports();
    ports.stageStart = StageStart{1, 0};
    system = new GameSystem(&root, ports);
    ASSERT_TRUE(RunUntil("actualgame", 20));
    // The test mode returns through "boot", which now goes on to the notice.
    system->GetCurrentScene()->RequestSuccessor("testmode");
    root.CollectDead();
    system->GetCurrentScene()->RequestSuccessor("boot");
    root.CollectDead();
    EXPECT_TRUE(RunUntil("notice", 20));
}

TEST_F(StageStartFlowTest, AStageOutsideTheTableKeepsTheNormalFlow) {
    GameSystemPorts ports = Ports();
    ports.stageStart = StageStart{40, 0};
    system = new GameSystem(&root, ports);
    EXPECT_TRUE(RunUntil("notice", 20));
    EXPECT_EQ(system->GetPlayer(1).shipStock, 0);
}

}  // namespace
}  // namespace mareldon
