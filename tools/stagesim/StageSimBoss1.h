#pragma once

#include <cstdint>

namespace mareldon {

class GameWorldScreen;
class StateHash;

// Stage 1 ("STAGE_KAZE") fought up to its boss: the boss clock is put just before its
// fight starts, and the ships fly under it and shoot.
uint32_t Boss1FightButtons(int32_t player, int32_t step);
void PopulateBoss1Fight(GameWorldScreen& screen);
// The boss's state: its clock, phases, damage meters, sections and wing tips.
void HashBoss1State(StateHash& hash, GameWorldScreen& screen);

}  // namespace mareldon
