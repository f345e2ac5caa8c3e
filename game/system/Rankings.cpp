#include "game/system/Rankings.h"

#include <algorithm>

namespace mareldon {

namespace {

int Clamp(int i) {
    return std::clamp(i, 0, kRankingSize - 1);
}

template <typename Entry, typename Key>
int FindPosition(const std::array<Entry, kRankingSize>& table, uint64_t key, Key keyOf) {
    for (int i = 0; i < kRankingSize; ++i) {
        if (key > keyOf(table[i])) {
            return i;
        }
    }
    return -1;
}

template <typename Entry>
void InsertAt(std::array<Entry, kRankingSize>& table, int position, const Entry& entry) {
    std::move_backward(table.begin() + position, table.end() - 1, table.end());
    table[position] = entry;
}

PlayerRecord DefaultRecord(int k, const char* name, int shipType) {
    PlayerRecord record;
    record.score = static_cast<uint64_t>(10 - k) * 1000000000000ull;
    record.multiplier = 1000 - 100 * k;
    record.stage = 1;
    record.name = name;
    record.shipType = shipType;
    return record;
}

}  // namespace

const PlayerRecord& Rankings::GetRankingEntry(int i) const {
    return single[Clamp(i)];
}

const PairRankingEntry& Rankings::GetPairRankingEntry(int i) const {
    return pairs[Clamp(i)];
}

int Rankings::FindRankPosition(const PlayerRecord& record) const {
    if (record.continueCount >= 1) {
        return -1;
    }
    return FindPosition(single, record.score, [](const PlayerRecord& r) { return r.score; });
}

int Rankings::InsertRanking(const PlayerRecord& record) {
    const int position = FindRankPosition(record);
    if (position >= 0) {
        InsertAt(single, position, record);
    }
    return position;
}

int Rankings::FindPairRankPosition(const PairRankingEntry& pair) const {
    return FindPosition(pairs, pair.Key(), [](const PairRankingEntry& p) { return p.Key(); });
}

int Rankings::InsertPairRanking(const PairRankingEntry& pair) {
    const int position = FindPairRankPosition(pair);
    if (position >= 0) {
        InsertAt(pairs, position, pair);
    }
    return position;
}

void Rankings::ResetRanking() {
    single.fill(PlayerRecord{});
    for (int k = 0; k < kRankingSize; ++k) {
        InsertRanking(DefaultRecord(k, "ZEV", k % 4));
    }
}

void Rankings::ResetPairRanking() {
    pairs.fill(PairRankingEntry{});
    for (int k = 0; k < kRankingSize; ++k) {
        InsertPairRanking({DefaultRecord(k, "ZEV", k % 4), DefaultRecord(k, "VEZ", (k + 2) % 4)});
    }
}

}  // namespace mareldon
