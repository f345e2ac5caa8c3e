#include "game/bosses/RegisterBosses.h"

#include "game/bosses/Boss1Body.h"

namespace mareldon {

void RegisterBossObjects(StageNodeRegistry& registry) {
    RegisterBoss1(registry);
}

}  // namespace mareldon
