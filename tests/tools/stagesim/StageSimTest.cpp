#include "tools/stagesim/StageSim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/stage/GameWorldScreen.h"

namespace mareldon {
namespace {

int Count(const StageSimRun& run, const std::string& operation, const std::string& prefix = "") {
    int count = 0;
    for (const WorldEvent& event : run.events)
        count += event.operation == operation && event.arguments.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

int32_t StepOf(const StageSimRun& run, const std::string& operation, const std::string& prefix = "") {
    for (const WorldEvent& event : run.events) {
        if (event.operation == operation && event.arguments.rfind(prefix, 0) == 0)
            return event.step;
    }
    return -1;
}

uint32_t ShipTypeOf(const std::vector<uint8_t>& file) {
    uint32_t type = 0;
    std::memcpy(&type, file.data(), 4);
    return type;
}

TEST(StageSimTest, EveryCaseReplaysToTheSameStateAtEveryStep) {
    for (const StageSimCase& simCase : StageSimCases()) {
        SCOPED_TRACE(simCase.name);
        EXPECT_GE(simCase.steps, 2000);
        StageSim sim(simCase);
        const StageSimRun recorded = sim.Record();
        ASSERT_TRUE(recorded.ran);
        ASSERT_EQ(recorded.hashes.size(), size_t(simCase.steps));
        // Both players' traces, with their ship types.
        const std::vector<std::string> traces = sim.TraceNames();
        ASSERT_EQ(traces.size(), 2u);
        for (int player = 1; player <= 2; ++player) {
            const std::string& name = traces[size_t(player - 1)];
            EXPECT_EQ(name.substr(name.size() - 8), "_" + std::to_string(player) + ".trace");
            EXPECT_EQ(ShipTypeOf(*sim.TraceFile(name)), uint32_t(simCase.shipTypes[player - 1]));
        }

        const StageSimRun replayed = sim.Replay();
        ASSERT_TRUE(replayed.ran);
        EXPECT_EQ(StageSim::FirstDifference(recorded, replayed), -1);
        ASSERT_EQ(replayed.events.size(), recorded.events.size());
        for (size_t i = 0; i < recorded.events.size(); ++i) {
            const WorldEvent &a = recorded.events[i], &b = replayed.events[i];
            if (a.step != b.step || a.operation != b.operation || a.arguments != b.arguments) {
                ADD_FAILURE() << "event " << i << ": " << a.step << " " << a.operation << " " << a.arguments
                              << " / " << b.step << " " << b.operation << " " << b.arguments;
                break;
            }
        }
    }
}

TEST(StageSimTest, TheDuelExercisesWhatItReplays) {
    const StageSimCase* duel = FindStageSimCase("duel");
    ASSERT_NE(duel, nullptr);
    StageSim sim(*duel);
    const StageSimRun run = sim.Record();
    ASSERT_TRUE(run.ran);
    EXPECT_GT(Count(run, "FireEnemyBullet"), 100);
    EXPECT_GE(Count(run, "AttachEffect", "refrect_force_0"), 2) << "the reflect force opens";
    EXPECT_GE(Count(run, "FireReflectedBullet"), 1) << "and turns bullets back";
    EXPECT_GE(Count(run, "LaunchBomb"), 1);
    EXPECT_GT(Count(run, "AddScore"), 10);
}

TEST(StageSimTest, TheBoss3CaseFightsTheSpider) {
    const StageSimCase* fight = FindStageSimCase("boss3");
    ASSERT_NE(fight, nullptr);
    StageSim sim(*fight);
    const StageSimRun run = sim.Record(false);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(Count(run, "BossEvent", "fight.start 8700"), 1);
    EXPECT_GT(Count(run, "BossPatternStart", "kasaR"), 12);
    EXPECT_GT(Count(run, "FireEnemyBullet"), 100);
    // The ships' shots reach the core: the phase changes within the run.
    EXPECT_EQ(Count(run, "BossEvent", "phase.begin 0"), 1);
}

TEST(StageSimTest, TheBoss2CaseFightsTheBossToTheStageClear) {
    const StageSimCase* boss = FindStageSimCase("boss2");
    ASSERT_NE(boss, nullptr);
    StageSim sim(*boss);
    const StageSimRun run = sim.Record(false);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(Count(run, "BossEvent", "start.fight"), 1);
    EXPECT_EQ(Count(run, "BossEvent", "transition.B"), 1);
    EXPECT_EQ(Count(run, "BossEvent", "defeat.begin"), 1);
    EXPECT_EQ(Count(run, "BeginStageClear"), 1);
    EXPECT_GT(Count(run, "BossPatternStart"), 10);
}

TEST(StageSimTest, TheBoss5CaseRunsFromTheBallToTheMandalasTimeOutAndTheClear) {
    const StageSimCase* boss = FindStageSimCase("boss5");
    ASSERT_NE(boss, nullptr);
    StageSim sim(*boss);
    const StageSimRun run = sim.Record(false);
    ASSERT_TRUE(run.ran);
    for (const char* once : {"ball.start 11400", "ball.timeout.40", "ball.timeout.38", "ball.defeat.begin 0",
                             "ball.defeat.handover 360", "centre.appear.attack 180", "ring.appear.attack 180",
                             "centre.defeat.begin 0", "ring.defeat.stopped 160"})
        EXPECT_EQ(Count(run, "BossEvent", once), 1) << once;
    EXPECT_LT(StepOf(run, "BossEvent", "ball.timeout.40"), StepOf(run, "BossEvent", "ball.timeout.38"));
    EXPECT_LT(StepOf(run, "BossEvent", "ball.defeat.handover"), StepOf(run, "BossEvent", "centre.appear 0"));
    EXPECT_EQ(Count(run, "BossTimedOut"), 1);
    EXPECT_EQ(Count(run, "BeginStageClear"), 1);
    EXPECT_EQ(StepOf(run, "BeginStageClear") - StepOf(run, "BossEvent", "centre.defeat.begin"), 360);
    EXPECT_GT(Count(run, "BossPatternStart", "chusin1."), 0);
    EXPECT_GT(Count(run, "BossPatternStart", "medarion5."), 0);
    EXPECT_GT(Count(run, "FireEnemyBullet"), 100);
    EXPECT_GT(Count(run, "CubeLineEffect"), 0);
}

TEST(StageSimTest, TheBoss6CaseBuildsTheLateGunsOnceAndEndsInTheClear) {
    const StageSimCase* boss = FindStageSimCase("boss6");
    ASSERT_NE(boss, nullptr);
    StageSim sim(*boss);
    const StageSimRun run = sim.Record(false);
    ASSERT_TRUE(run.ran);
    // The run starts at frame 3400: what was due before is not built on the jump.
    const char* const guns[] = {"10 3626", "11 3626", "11 4126", "11 4226", "12 4326", "13 4626", "14 4626"};
    for (const char* gun : guns)
        EXPECT_EQ(Count(run, "BossGun", gun), 1) << gun;
    EXPECT_EQ(Count(run, "BossGun"), 7);
    EXPECT_GT(Count(run, "GunShot", "MultiPartGun12"), 0);
    EXPECT_EQ(Count(run, "BossEvent", "stage6.destroyed 5420"), 1);
    EXPECT_EQ(Count(run, "BeginStageClear"), 1);
    EXPECT_EQ(StepOf(run, "BeginStageClear"), StepOf(run, "BossEvent", "stage6.destroyed"));
}

TEST(StageSimTest, OneExtraGeneratorDrawIsCaughtAtItsStep) {
    StageSimCase shortDuel = *FindStageSimCase("duel");
    shortDuel.steps = 600;
    StageSim sim(shortDuel);
    const StageSimRun recorded = sim.Record(false);
    const StageSimRun replayed = sim.Replay(
        [](int32_t step, GameWorldScreen& screen) {
            if (step == 437)
                screen.GetRandom().Next();
        },
        false);
    EXPECT_EQ(StageSim::FirstDifference(recorded, replayed), 437);
}

TEST(StageStateHashTest, AddedBytesAndOrderChangeTheHash) {
    StateHash a, b, c;
    a.Int(1);
    a.Int(2);
    b.Int(2);
    b.Int(1);
    c.Int(1);
    c.Int(2);
    EXPECT_NE(a.Value(), b.Value());
    EXPECT_EQ(a.Value(), c.Value());
    // FNV-1a 64 of "a".
    StateHash text;
    text.Bytes("a", 1);
    EXPECT_EQ(text.Value(), 0xaf63dc4c8601ec8cull);
}

}  // namespace
}  // namespace mareldon
