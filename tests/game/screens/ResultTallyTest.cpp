#include "game/screens/ResultTally.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace mareldon {
namespace {

// Pays into two scores with the players' multipliers and logs the effects.
class ScoreSink : public ResultTally::Sink {
  public:
    int Multiplier(int mask) override { return multipliers[mask >> 1]; }
    void PlaySe(int id) override { effects.push_back(id); }
    void AddScore64(int mask, uint64_t value) override {
        scores[mask >> 1] += value * uint64_t(multipliers[mask >> 1]);
        ++payments;
    }
    void AddScoreRaw(int mask, uint64_t value) override {
        scores[mask >> 1] += value;
        ++payments;
    }
    void SavePlayerRecords() override { ++saves; }
    void StopStageMusic() override { ++musicStops; }
    int Effects(int id) const { return int(std::count(effects.begin(), effects.end(), id)); }

    int multipliers[2] = {1, 1};
    uint64_t scores[2] = {0, 0};
    std::vector<int> effects;
    int payments = 0;
    int saves = 0;
    int musicStops = 0;
};

// Runs the overlay's steps through the end of the tally.
void RunTally(ResultTally& tally, ScoreSink& sink, int steps = 60 * 12) {
    for (int step = 0; step < steps; ++step) {
        tally.Update(step, sink);
    }
}

constexpr ResultTally::Entry kAbsent{false, 0, 0};

TEST(ResultTallyTest, BonusesOfOnePlayer) {
    const struct {
        int clearTime, kills, bombs;
        uint64_t time, shootdown, bomb, total;
    } cases[] = {
        {140, 100, 0, 1400000000, 100000000, 0, 1500000000},
        {0, 50, 3, 0, 50000000, 30000000, 80000000},  // cleared by the timer: no time bonus
        {10, 0, 10, 100000000, 0, 0, 100000000},      // infinite bombs pay nothing
        {250, 0, 0, 2500000000, 0, 0, 2500000000},    // past 214 s the product needs 64 bits
        {-3, 0, 0, 0, 0, 0, 0},                       // never below 0
    };
    for (const auto& c : cases) {
        const ResultTally::Entry players[2] = {{true, c.kills, c.bombs}, kAbsent};
        const ResultTally tally(c.clearTime, false, players);
        const ResultTally::Player& p = tally.GetPlayer(0);
        EXPECT_EQ(p.timeBonus, c.time) << c.clearTime;
        EXPECT_EQ(p.shootdownBonus, c.shootdown) << c.clearTime;
        EXPECT_EQ(p.bombBonus, c.bomb) << c.clearTime;
        EXPECT_EQ(p.totalBonus, c.total) << c.clearTime;
        EXPECT_EQ(tally.GetPlayer(1).totalBonus, 0u);
    }
}

TEST(ResultTallyTest, PaysTheWholeBonusInTwentyStepsTimesTheMultiplier) {
    const ResultTally::Entry players[2] = {{true, 100, 0}, kAbsent};
    ResultTally tally(140, false, players);
    ScoreSink sink;
    sink.multipliers[0] = 3;
    RunTally(tally, sink);
    EXPECT_EQ(tally.GetPlayer(0).countStep, 75000000u);
    EXPECT_EQ(tally.GetPlayer(0).remainingBonus, 0u);
    EXPECT_EQ(sink.scores[0], uint64_t{3} * 1500000000u);
    EXPECT_EQ(sink.payments, 21) << "twenty steps and the rest (0)";
    EXPECT_EQ(sink.Effects(ResultTally::kCountSe), 20);
    EXPECT_EQ(sink.Effects(ResultTally::kRowSe), 4) << "rows 1 to 4; row 0 comes with the tally";
    EXPECT_EQ(sink.Effects(ResultTally::kFinishSe), 1);
    EXPECT_EQ(sink.musicStops, 1);
    EXPECT_TRUE(tally.IsFinished());
    EXPECT_TRUE(tally.IsCountDone());
}

TEST(ResultTallyTest, TimelineOfIntroRowsCountAndFinish) {
    const ResultTally::Entry players[2] = {{true, 10, 1}, kAbsent};
    ResultTally tally(30, false, players);
    ScoreSink sink;
    int firstRow = -1, firstPay = -1, finished = -1;
    for (int step = 0; step < 60 * 12; ++step) {
        tally.Update(step, sink);
        if (firstRow < 0 && tally.IsRowShown(0))
            firstRow = step;
        if (firstPay < 0 && sink.payments > 0)
            firstPay = step;
        if (finished < 0 && tally.IsFinished())
            finished = step;
        if (step == 71) {
            EXPECT_FLOAT_EQ(tally.GetStageBannerX(), 240.0f);
            EXPECT_FLOAT_EQ(tally.GetClearBannerX(), 240.0f);
        }
    }
    EXPECT_EQ(firstRow, 121);
    // Second 5 of the tally begins at step 420 and only sets the step.
    EXPECT_EQ(firstPay, 421);
    EXPECT_EQ(finished, 120 + 8 * 60);
}

TEST(ResultTallyTest, ZeroTotalNeverCounts) {
    const ResultTally::Entry players[2] = {{true, 0, 0}, kAbsent};
    ResultTally tally(0, false, players);
    ScoreSink sink;
    RunTally(tally, sink);
    EXPECT_EQ(sink.payments, 0);
    EXPECT_EQ(sink.Effects(ResultTally::kCountSe), 0);
    EXPECT_TRUE(tally.IsFinished());
    EXPECT_FALSE(tally.IsCountDone());
}

TEST(ResultTallyTest, TwoPlayersCountInLockstepAndEachGetsTheirWholeBonus) {
    const ResultTally::Entry players[2] = {{true, 40, 2}, {true, 60, 1}};
    ResultTally tally(100, false, players);
    ScoreSink sink;
    sink.multipliers[1] = 2;
    RunTally(tally, sink);
    EXPECT_EQ(sink.scores[0], uint64_t{1000000000 + 40000000 + 20000000});
    EXPECT_EQ(sink.scores[1], uint64_t{2} * (1000000000 + 60000000 + 10000000));
    EXPECT_EQ(tally.GetPlayer(0).countSteps, 20);
    EXPECT_EQ(tally.GetPlayer(1).countSteps, 20);
}

TEST(ResultTallyTest, PairModePaysTheTimeOnceAndTheRestToPlayerOne) {
    const ResultTally::Entry players[2] = {{true, 30, 2}, {true, 20, 1}};
    ResultTally tally(100, true, players);
    EXPECT_EQ(tally.GetPlayer(0).totalBonus, 1000000000u + 30000000u + 20000000u);
    EXPECT_EQ(tally.GetPlayer(1).totalBonus, 20000000u + 10000000u) << "no time bonus twice";
    ScoreSink sink;
    sink.multipliers[0] = 2;
    sink.multipliers[1] = 3;
    RunTally(tally, sink);
    const uint64_t pair = uint64_t{1050000000 + 30000000} * 5;
    EXPECT_EQ(sink.scores[0] + sink.scores[1], pair) << "the pair's score rises by the whole bonus";
    EXPECT_EQ(sink.scores[1], 20 * (pair / 1000)) << "player 2 gets twenty 0.1 % steps";
    EXPECT_EQ(sink.saves, 1);
    EXPECT_EQ(tally.GetPairRemaining(), 0u);
}

TEST(ResultTallyTest, PairModeWithTheFirstPlayerOutGivesTheTimeToTheSecond) {
    const ResultTally::Entry players[2] = {kAbsent, {true, 20, 0}};
    const ResultTally tally(50, true, players);
    EXPECT_EQ(tally.GetPlayer(0).totalBonus, 0u);
    EXPECT_EQ(tally.GetPlayer(0).timeBonus, 500000000u) << "shown all the same";
    EXPECT_EQ(tally.GetPlayer(1).totalBonus, 520000000u);
}

}  // namespace
}  // namespace mareldon
