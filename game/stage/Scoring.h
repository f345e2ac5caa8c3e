#pragma once

#include <cstdint>

namespace mareldon {

struct PlayerRecord;

inline constexpr uint64_t kScoreCap = 15000000000000000000ull;
inline constexpr int32_t kMultiplierCap = 999999999;

// The exact score + amount, at most the cap. A negative amount larger than the score
// ends at the cap as well: the sum wraps at 64 bits and is read unsigned.
uint64_t AddCappedScore(uint64_t score, __int128 amount);
// The two players together stay under the cap too: past it (a sum that carries
// past 64 bits counts as past it) player 1 holds the cap and player 2 nothing.
void ApplyPairCap(uint64_t& first, uint64_t& second);
// A pickup's value joins the chain, and the new chain the multiplier, up to its cap.
// Answers the new chain.
int32_t RaiseChain(PlayerRecord& record, int32_t value);
// What a pickup taken at this age pays per chain: 10 when fresh, down to 1 from 90 on.
int32_t PickupFactor(int32_t age);

}  // namespace mareldon
