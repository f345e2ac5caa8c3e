#pragma once

// The timeline itself lives in the stage layer, whose reflect force runs on one.
#include "game/stage/EventTimeline.h"

namespace mareldon {

class Enemy;

// Ends a death sequence: the owner's durability drops to 0 and the timeline stops at
// frame 0.
void TimelineKillCallback(Enemy& owner, EventTimeline& timeline);

}  // namespace mareldon
