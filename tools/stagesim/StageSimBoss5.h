#pragma once

#include <cstdint>

namespace mareldon {

class GameWorldScreen;
class StateHash;

// Stage 5 ("STAGE_TEN") fought from just before the ball of light attacks, with 41
// seconds left: the ball stops firing at 40, gives up at 38 and hands over to the
// mandala, whose centre and ring then attack while the ships shoot at the centre.
uint32_t Boss5FightButtons(int32_t player, int32_t step);
void PopulateBoss5Fight(GameWorldScreen& screen);
// The boss's state: the ball, the centre and the ring (flags, timelines, pose, patterns).
void HashBoss5State(StateHash& hash, GameWorldScreen& screen);

}  // namespace mareldon
