#pragma once

#include <array>

#include "game/system/PlayerRecord.h"

namespace mareldon {

constexpr int kRankingSize = 10;

// The two high-score tables, best first: single players, and pairs ranked by
// the sum of both scores. Insertion is strictly greater, so a score equal to a
// stored one goes below it.
struct Rankings {
    std::array<PlayerRecord, kRankingSize> single;
    std::array<PairRankingEntry, kRankingSize> pairs;

    // Entry i (0 best); an index outside 0..9 is clamped.
    const PlayerRecord& GetRankingEntry(int i) const;
    const PairRankingEntry& GetPairRankingEntry(int i) const;

    // Position 0..9 the record would take, or -1 (also for any continued record).
    int FindRankPosition(const PlayerRecord& record) const;
    // Places a copy at that position, dropping the last entry; the position or -1.
    int InsertRanking(const PlayerRecord& record);
    int FindPairRankPosition(const PairRankingEntry& pair) const;
    int InsertPairRanking(const PairRankingEntry& pair);

    // Built-in tables: "ZEV" (and "VEZ" beside it in pairs), scores 10..1 x 10^12.
    void ResetRanking();
    void ResetPairRanking();
};

}  // namespace mareldon
