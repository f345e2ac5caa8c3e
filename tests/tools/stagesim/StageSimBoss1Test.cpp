#include "tools/stagesim/StageSimBoss1.h"

#include <gtest/gtest.h>

#include <string>

#include "game/bosses/Boss1Body.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "tools/stagesim/StageSim.h"

namespace mareldon {
namespace {

int Count(const StageSimRun& run, const std::string& operation, const std::string& prefix = "") {
    int count = 0;
    for (const WorldEvent& event : run.events)
        count += event.operation == operation && event.arguments.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

Boss1Body* FindBody(TaskObject& task) {
    if (auto* body = dynamic_cast<Boss1Body*>(&task))
        return body;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss1Body* body = FindBody(*static_cast<TaskObject*>(node)))
            return body;
    }
    return nullptr;
}

TEST(StageSimBoss1Test, TheShipsFightTheBossAndItsStateIsInTheHash) {
    StageSimCase fight = *FindStageSimCase("boss1");
    fight.steps = 900;
    StageSim sim(fight);
    const StageSimRun recorded = sim.Record(false);
    ASSERT_TRUE(recorded.ran);
    EXPECT_EQ(Count(recorded, "BossEvent", "fight.start 8100"), 1);
    EXPECT_GE(Count(recorded, "BossPatternStart", "wingA.0"), 3);
    EXPECT_GE(Count(recorded, "BossHittable", "ba_01zenyoku:Layer"), 9);
    EXPECT_GT(Count(recorded, "FireEnemyBullet"), 100);
    EXPECT_GE(Count(recorded, "BossEvent", "damage."), 1) << "the ships' shots break something";

    // A section's durability is seen by nothing else in the step: only the boss's
    // part of the hash tells.
    const StageSimRun replayed = sim.Replay(
        [](int32_t step, GameWorldScreen& screen) {
            if (step != 400)
                return;
            Boss1Body* body = FindBody(*screen.GetWorldRoot());
            if (body != nullptr && body->Section(kBoss1Layer9) != nullptr)
                body->Section(kBoss1Layer9)->durability -= 1.0f;
        },
        false);
    EXPECT_EQ(StageSim::FirstDifference(recorded, replayed), 400);
}

}  // namespace
}  // namespace mareldon
