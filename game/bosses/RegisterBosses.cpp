#include "game/bosses/RegisterBosses.h"

#include "game/bosses/Boss1Body.h"
#include "game/bosses/Boss4Body.h"

namespace mareldon {

void RegisterBossObjects(StageNodeRegistry& registry) {
    RegisterBoss1(registry);
    RegisterBoss4(registry);
}

}  // namespace mareldon
