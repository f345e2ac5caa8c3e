#include "game/system/Rankings.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

constexpr uint64_t kTrillion = 1000000000000ull;

class RankingsTest : public testing::Test {
  protected:
    void SetUp() override {
        rankings.ResetRanking();
        rankings.ResetPairRanking();
    }
    static PlayerRecord Record(uint64_t score, int continues = 0) {
        PlayerRecord record;
        record.score = score;
        record.continueCount = continues;
        record.name = "NEW";
        return record;
    }
    Rankings rankings;
};

TEST_F(RankingsTest, DefaultsAreBestFirst) {
    for (int k = 0; k < kRankingSize; ++k) {
        const PlayerRecord& entry = rankings.GetRankingEntry(k);
        EXPECT_EQ(entry.score, (10 - k) * kTrillion);
        EXPECT_EQ(entry.multiplier, 1000 - 100 * k);
        EXPECT_EQ(entry.stage, 1);
        EXPECT_EQ(entry.shipType, k % 4);
        EXPECT_EQ(entry.name, "ZEV");
        const PairRankingEntry& pair = rankings.GetPairRankingEntry(k);
        EXPECT_EQ(pair.Key(), 2 * (10 - k) * kTrillion);
        EXPECT_EQ(pair.second.name, "VEZ");
        EXPECT_EQ(pair.second.shipType, (k + 2) % 4);
    }
}

TEST_F(RankingsTest, InsertionRules) {
    // An equal score goes below the stored one.
    EXPECT_EQ(rankings.InsertRanking(Record(7 * kTrillion)), 4);
    EXPECT_EQ(rankings.GetRankingEntry(4).name, "NEW");
    EXPECT_EQ(rankings.GetRankingEntry(5).score, 6 * kTrillion);
    EXPECT_EQ(rankings.GetRankingEntry(9).score, 2 * kTrillion);
    // A continued record never ranks.
    EXPECT_EQ(rankings.FindRankPosition(Record(99 * kTrillion, 1)), -1);
    EXPECT_EQ(rankings.InsertRanking(Record(99 * kTrillion, 1)), -1);
    // Position 9 replaces only the last entry.
    EXPECT_EQ(rankings.InsertRanking(Record(2 * kTrillion + 1)), 9);
    EXPECT_EQ(rankings.GetRankingEntry(8).score, 3 * kTrillion);
    EXPECT_EQ(rankings.GetRankingEntry(9).score, 2 * kTrillion + 1);
    EXPECT_EQ(rankings.FindRankPosition(Record(2 * kTrillion)), -1);
}

TEST_F(RankingsTest, PairsRankBySumRegardlessOfContinues) {
    PairRankingEntry pair{Record(15 * kTrillion, 3), Record(kTrillion + 1, 9)};
    EXPECT_EQ(rankings.InsertPairRanking(pair), 2);
    EXPECT_EQ(rankings.GetPairRankingEntry(2).first.continueCount, 3);
    EXPECT_EQ(rankings.GetPairRankingEntry(3).Key(), 16 * kTrillion);
}

}  // namespace
}  // namespace mareldon
