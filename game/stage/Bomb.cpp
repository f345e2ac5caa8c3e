#include <cstdio>

#include "engine/core/Log.h"
#include "game/stage/BomberModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "game/system/PlayerRecord.h"

namespace mareldon {

namespace {

constexpr int32_t kUnlimited = 10;
constexpr int32_t kBomberSe = 37;

}  // namespace

const AttackVector& GameWorldScreen::BombAttackTable() {
    static const AttackVector table{{0.0f, 0.0f, 1.0f}};
    return table;
}

void GameWorldScreen::LaunchBomb(uint32_t playerMask) {
    Note("LaunchBomb", "%u", playerMask);
    if (bombActive || owner == nullptr)
        return;
    int32_t launcher = 0;
    for (int player = 1; player <= 2 && launcher == 0; ++player) {
        const uint32_t bit = 1u << (player - 1);
        if (!(playerMask & bit))
            continue;
        bombOwnerMask = int32_t(bit);
        if (!freeBombs) {
            int32_t& stock = owner->GetPlayer(int(bit)).bombStock;
            if (stock <= 0)
                continue;
            if (stock != kUnlimited)
                --stock;
        }
        launcher = player;
    }
    if (launcher == 0)
        return;
    CancelAllEnemyBullets();
    const int32_t type = owner->GetPlayer(launcher).shipType;
    if (type < 0 || type > 3)
        return;
    char name[16];
    std::snprintf(name, sizeof name, "pl%02d_bomber", int(type));
    TaskObject* parentNode = bomberParent != nullptr ? static_cast<TaskObject*>(bomberParent) : worldRoot;
    bomber = new BomberModel(parentNode, this, name);
    PlaySe(kBomberSe + type);
    LOG_DEBUG("stage", "bomb: player %d launches \"%s\" at screen step %d", launcher, name, int(stepCount));
}

void GameWorldScreen::ApplyBombDamage() {
    if (!bombActive)
        return;
    Note("ApplyBombDamage", "%d", bombOwnerMask);
    const AttackVector& attack = BombAttackTable();
    // Read once: a target struck now may register more circles, which wait for the
    // next step.
    const int32_t count = hitLists.targets.Count();
    for (int32_t i = 0; i < count && i < hitLists.targets.Count(); ++i)
        hitLists.targets.Entries()[size_t(i)].object->ApplyAttack(uint32_t(bombOwnerMask), attack);
}

}  // namespace mareldon
