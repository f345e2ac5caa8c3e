#pragma once

#include <cstdint>

namespace mareldon {

class GameWorldScreen;
class StateHash;

// Stage 4 ("STAGE_KU") fought from just before its face opens: the ships shoot at the
// weak point until the body goes down (beaten or out of time) and the head attacks.
uint32_t Boss4FightButtons(int32_t player, int32_t step);
void PopulateBoss4Fight(GameWorldScreen& screen);
// The boss's state: body and head flags, damage meters, parts, head pose, patterns.
void HashBoss4State(StateHash& hash, GameWorldScreen& screen);

}  // namespace mareldon
