#include <gtest/gtest.h>

#include <string>

#include "tools/stagesim/StageSim.h"

namespace mareldon {
namespace {

int Count(const StageSimRun& run, const std::string& operation, const std::string& prefix = "") {
    int count = 0;
    for (const WorldEvent& event : run.events)
        count += event.operation == operation && event.arguments.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

TEST(StageSimBoss4Test, TheCaseFightsTheFaceUntilTheHeadAttacks) {
    const StageSimCase* boss4 = FindStageSimCase("boss4");
    ASSERT_NE(boss4, nullptr);
    StageSim sim(*boss4);
    const StageSimRun run = sim.Record(false);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(Count(run, "BossEvent", "start.open 11400"), 1);
    EXPECT_GT(Count(run, "FireEnemyBullet"), 100);
    EXPECT_EQ(Count(run, "BossEvent", "defeat.begin 0"), 1);
    EXPECT_EQ(Count(run, "BossShown"), 1);
    EXPECT_GE(Count(run, "BossEvent", "appear.attack 150"), 1);
    EXPECT_GE(Count(run, "BossPatternStart", "U_me"), 1);
}

}  // namespace
}  // namespace mareldon
