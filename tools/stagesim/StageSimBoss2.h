#pragma once

#include <cstdint>

namespace mareldon {

class GameWorldScreen;

// Stage 2 ("STAGE_HI") fought from just before its boss's fight: the stage clock and the
// boss clock jump to frame 9540; both ships sway a little under the boss firing, player 2 bombs
// twice.
uint32_t Boss2FightButtons(int32_t player, int32_t step);
void PopulateBoss2Fight(GameWorldScreen& screen);

}  // namespace mareldon
