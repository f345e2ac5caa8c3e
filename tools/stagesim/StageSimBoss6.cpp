#include "tools/stagesim/StageSimBoss6.h"

#include "game/bosses/MultiPartEnemy.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tools/stagesim/StageSim.h"

namespace mareldon {

namespace {

// The stage frame the run starts from: before the guns of 3900 and later.
constexpr float kJumpFrame = 3400.0f;

MultiPartEnemy* FindBoss(TaskObject& task) {
    if (auto* boss = dynamic_cast<MultiPartEnemy*>(&task))
        return boss;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (MultiPartEnemy* boss = FindBoss(*static_cast<TaskObject*>(node)))
            return boss;
    }
    return nullptr;
}

}  // namespace

// Player 1 stays under the boss, shooting; player 2 sweeps wide, shooting in bursts
// and bombing once.
uint32_t Boss6FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    if (player == 1) {
        const uint32_t drift = (step / 45) % 2 == 0 ? S::kRight : S::kLeft;
        return (step % 3 == 0 ? S::kShot : 0u) | (step % 180 < 14 ? drift : 0u) | (step < 60 ? S::kUp : 0u);
    }
    const uint32_t sweep = (step / 110) % 2 == 0 ? S::kLeft : S::kRight;
    const uint32_t bomb = step == 900 ? S::kBomb : 0u;
    return sweep | bomb | ((step / 30) % 3 != 0 ? S::kShot : 0u) | (step < 50 ? S::kUp : 0u);
}

void PopulateBoss6Fight(GameWorldScreen& screen) {
    AddStageStateHasher(HashBoss6State);
    // The boss's clock is the stage's: what passes before the jump arrives as one lump.
    if (StageScene* scene = screen.GetStageScene())
        scene->SetMotionTime(kJumpFrame / 60.0f);
}

void HashBoss6State(StateHash& hash, GameWorldScreen& screen) {
    StaticModelRoot* world = screen.GetWorldRoot();
    MultiPartEnemy* boss = world != nullptr ? FindBoss(*world) : nullptr;
    hash.Int(boss != nullptr);
    if (boss == nullptr)
        return;
    hash.Int(boss->GetStepCount());
    hash.Float(boss->durability);
    hash.Int(int64_t(boss->timeUp) | int64_t(boss->gone) << 1);
    hash.Int(boss->deathRound);
    hash.Int(boss->childCount);
    TreeNode* node = boss->firstChild;
    for (int32_t i = 0; i < boss->childCount; ++i, node = node->next) {
        const auto* gun = dynamic_cast<const MultiPartGun*>(static_cast<TaskObject*>(node));
        if (gun == nullptr)
            continue;
        hash.Int(gun->GunClass());
        for (int32_t field : {gun->wait, gun->shotTimer, gun->shotsLeft, gun->volleysLeft, gun->counter,
                              gun->halfWidth, int32_t(gun->swingDown)})
            hash.Int(field);
        hash.Float(gun->storedAngle);
        hash.Float(gun->storedSpeed);
        hash.Float(gun->second);
        hash.Float(gun->third);
        hash.Vector(gun->GetPosition());
    }
}

}  // namespace mareldon
