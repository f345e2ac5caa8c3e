#include "game/bosses/RegisterBosses.h"

#include "game/bosses/Boss1Body.h"
#include "game/bosses/Boss2Body.h"
#include "game/bosses/Boss3Body.h"
#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss5Body.h"
#include "game/bosses/MultiPartEnemy.h"

namespace mareldon {

void RegisterBossObjects(StageNodeRegistry& registry) {
    RegisterBoss1(registry);
    RegisterBoss2(registry);
    RegisterBoss3(registry);
    RegisterBoss4(registry);
    RegisterBoss5(registry);
    RegisterBoss6(registry);
}

}  // namespace mareldon
