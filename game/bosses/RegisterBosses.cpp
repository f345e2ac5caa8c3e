#include "game/bosses/RegisterBosses.h"

#include "game/bosses/Boss1Body.h"
#include "game/bosses/Boss2Body.h"
#include "game/bosses/Boss3Body.h"

namespace mareldon {

void RegisterBossObjects(StageNodeRegistry& registry) {
    RegisterBoss1(registry);
    RegisterBoss3(registry);
    RegisterBoss2(registry);
}

}  // namespace mareldon
