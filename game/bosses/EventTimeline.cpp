#include "game/bosses/EventTimeline.h"

#include "game/objects/Enemy.h"

namespace mareldon {

void TimelineKillCallback(Enemy& owner, EventTimeline& timeline) {
    owner.durability = 0.0f;
    timeline.Stop();
}

}  // namespace mareldon
