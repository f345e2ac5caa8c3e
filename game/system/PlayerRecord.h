#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace mareldon {

// One player's game: the live and saved records of the game system and every
// ranking entry.
struct PlayerRecord {
    uint64_t score = 0;
    int32_t multiplier = 0;
    int32_t chain = 0;
    int32_t shipStock = 0;  // above 0 while the player is in play
    int32_t bombStock = 0;
    int32_t continueCount = 0;  // 0..9; a continued record is never ranked
    int32_t playCount = 0;      // starts in the current game; not saved
    String name;                // three characters, cp932 bytes
    int32_t stage = 0;          // stage at which the record was started
    int32_t shipType = 0;       // 0..3
    int32_t powerLevel = 0;
};

// Two records ranked together by the sum of their scores.
struct PairRankingEntry {
    PlayerRecord first;
    PlayerRecord second;
    uint64_t Key() const { return first.score + second.score; }
};

}  // namespace mareldon
