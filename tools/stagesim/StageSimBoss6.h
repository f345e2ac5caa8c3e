#pragma once

#include <cstdint>

namespace mareldon {

class GameWorldScreen;
class StateHash;

// Stage 6 ("STAGE_HATE") fought from the boss's frame 3400: it builds its late guns on
// schedule while the ships shoot at it, and goes down (shot or timed up at 5420) into
// the stage clear.
uint32_t Boss6FightButtons(int32_t player, int32_t step);
void PopulateBoss6Fight(GameWorldScreen& screen);
// The boss's state: its clock, durability, end flags and every gun's counters.
void HashBoss6State(StateHash& hash, GameWorldScreen& screen);

}  // namespace mareldon
