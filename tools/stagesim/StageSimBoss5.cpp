#include "tools/stagesim/StageSimBoss5.h"

#include "game/bosses/Boss5Body.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tools/stagesim/StageSim.h"

namespace mareldon {

namespace {

// The world frame at which the ball attacks, and the time left the run starts with.
constexpr float kJumpFrame = float(Boss5Body::kFightStart) - 20.0f;
constexpr float kTimeLeft = 41.0f;

Boss5MandaraLayerPart21* FindRoot(TaskObject& task) {
    if (auto* root = dynamic_cast<Boss5MandaraLayerPart21*>(&task))
        return root;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss5MandaraLayerPart21* root = FindRoot(*static_cast<TaskObject*>(node)))
            return root;
    }
    return nullptr;
}

void SetClocks(TaskObject& task, float time) {
    if (Object3D* node = task.AsObject3D())
        node->SetMotionTime(time);
    TreeNode* child = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, child = child->next)
        SetClocks(*static_cast<TaskObject*>(child), time);
}

void HashTimeline(StateHash& hash, const EventTimeline* timeline) {
    hash.Int(timeline != nullptr);
    if (timeline == nullptr)
        return;
    hash.Int(timeline->IsStopped());
    hash.Int(timeline->GetFrame());
    hash.Float(timeline->GetAccumulator());
}

void HashController(StateHash& hash, const Boss5Controller& part) {
    hash.Int(part.heldHidden);
    hash.Vector(part.GetPosition());
    hash.Vector(part.GetRotation());
    for (int32_t slot = 0; slot < int32_t(Boss5Slot::kCount); ++slot) {
        const Boss5Muzzle* muzzle = part.Muzzle(Boss5Slot(slot));
        hash.Int(muzzle != nullptr ? muzzle->PatternCount() : -1);
        for (int32_t k = 0; muzzle != nullptr && k < muzzle->PatternCount(); ++k) {
            const BossPattern* pattern = muzzle->Pattern(k);
            hash.Int(pattern->IsFiring());
            hash.Int(pattern->GetShotsLeft());
            hash.Int(pattern->GetBurstsLeft());
        }
    }
}

}  // namespace

// Player 1 stays under the boss, shooting; player 2 sweeps either side, shooting in
// bursts and bombing once during the mandala's attack.
uint32_t Boss5FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    if (player == 1) {
        const uint32_t drift = (step / 60) % 2 == 0 ? S::kLeft : S::kRight;
        return (step % 3 == 0 ? S::kShot : 0u) | (step % 240 < 12 ? drift : 0u) | (step < 80 ? S::kUp : 0u);
    }
    const uint32_t sweep = (step / 90) % 2 == 0 ? S::kRight : S::kLeft;
    const uint32_t bomb = step == 1300 ? S::kBomb : 0u;
    return sweep | bomb | ((step / 20) % 3 != 0 ? S::kShot : 0u) | (step < 70 ? S::kUp : 0u);
}

void PopulateBoss5Fight(GameWorldScreen& screen) {
    AddStageStateHasher(HashBoss5State);
    // The ball's schedule counts the world root's frames, the boss's pose and the camera
    // the stage's: all of them just before the fight, what passed arriving as one lump.
    if (StaticModelRoot* world = screen.GetWorldRoot())
        world->SetMotionTime(kJumpFrame / 60.0f);
    if (StageScene* scene = screen.GetStageScene())
        SetClocks(*scene, kJumpFrame / 60.0f);
    screen.SetTimeLeft(kTimeLeft);
}

void HashBoss5State(StateHash& hash, GameWorldScreen& screen) {
    TaskObject* world = screen.GetWorldRoot();
    Boss5MandaraLayerPart21* root = world != nullptr ? FindRoot(*world) : nullptr;
    hash.Int(root != nullptr);
    if (root == nullptr)
        return;
    if (Boss5Body* ball = root->ball) {
        hash.Int(int64_t(ball->slowing) | int64_t(ball->homing) << 1 | int64_t(ball->attackTimedOut) << 2 |
                 int64_t(ball->timedOut) << 3 | int64_t(ball->hidden) << 4);
        for (const EventTimeline* t : {ball->attack, ball->start, ball->defeat, ball->damage})
            HashTimeline(hash, t);
        HashController(hash, *ball);
        hash.Vector(ball->GetWorldPosition());
    }
    if (const Boss5MandaraLayerPart0* centre = root->centre) {
        hash.Int(int64_t(centre->beaten) | int64_t(centre->timedOut) << 1 | int64_t(centre->cleared) << 2);
        for (const EventTimeline* t : {centre->attack, centre->appear, centre->defeat, centre->damage})
            HashTimeline(hash, t);
        HashController(hash, *centre);
    }
    if (const Boss5MandaraLayerPart22* ring = root->ring) {
        hash.Int(ring->stopped);
        for (const EventTimeline* t : {ring->attack, ring->appear, ring->defeat, ring->trigger})
            HashTimeline(hash, t);
        HashController(hash, *ring);
    }
}

}  // namespace mareldon
