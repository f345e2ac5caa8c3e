#include "tools/stagesim/StageSimBoss4.h"

#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/Boss4Weapons.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tools/stagesim/StageSim.h"

namespace mareldon {

namespace {

// The stage frame at which the face opens, and where the run puts the stage clock.
constexpr float kJumpFrame = 11380.0f;

Boss4LayerPart0* FindRoot(TaskObject& task) {
    if (auto* root = dynamic_cast<Boss4LayerPart0*>(&task))
        return root;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss4LayerPart0* root = FindRoot(*static_cast<TaskObject*>(node)))
            return root;
    }
    return nullptr;
}

Boss4LayerPart0* FindRoot(GameWorldScreen& screen) {
    TaskObject* world = screen.GetWorldRoot();
    return world != nullptr ? FindRoot(*world) : nullptr;
}

void HashMeter(StateHash& hash, const EventTimeline* timeline) {
    hash.Int(timeline->IsStopped());
    hash.Int(timeline->GetFrame());
    hash.Float(timeline->GetAccumulator());
}

void HashMuzzle(StateHash& hash, const Boss4Muzzle* muzzle) {
    hash.Int(muzzle != nullptr);
    if (muzzle == nullptr)
        return;
    for (int32_t k = 0; k < muzzle->PatternCount(); ++k) {
        const BossFirePattern* pattern = muzzle->Pattern(k);
        hash.Int(pattern->IsFiring());
        hash.Int(pattern->GetShotsLeft());
        hash.Int(pattern->GetBurstsLeft());
        hash.Float(pattern->angle);
        hash.Float(pattern->speed);
    }
}

}  // namespace

// Player 1 stays under the weak point, shooting; player 2 sweeps under the plates,
// shooting in bursts and bombing once.
uint32_t Boss4FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    if (player == 1) {
        const uint32_t drift = (step / 50) % 2 == 0 ? S::kLeft : S::kRight;
        return (step % 3 == 0 ? S::kShot : 0u) | (step % 240 < 16 ? drift : 0u) | (step < 90 ? S::kUp : 0u);
    }
    const uint32_t sweep = (step / 100) % 2 == 0 ? S::kLeft : S::kRight;
    const uint32_t bomb = step == 1500 ? S::kBomb : 0u;
    return sweep | bomb | ((step / 25) % 3 != 0 ? S::kShot : 0u) | (step < 70 ? S::kUp : 0u);
}

void PopulateBoss4Fight(GameWorldScreen& screen) {
    AddStageStateHasher(HashBoss4State);
    // The face's clock is the stage's: what passes before the jump arrives as one lump.
    if (StageScene* scene = screen.GetStageScene())
        scene->SetMotionTime((kJumpFrame - 0.5f) / 60.0f);
}

void HashBoss4State(StateHash& hash, GameWorldScreen& screen) {
    Boss4LayerPart0* root = FindRoot(screen);
    hash.Int(root != nullptr);
    if (root == nullptr)
        return;
    if (Boss4Body* body = root->body) {
        hash.Int(body->GetStepCount());
        hash.Int(body->IsTimedOut());
        hash.Int(body->IsBeaten());
        hash.Float(body->GetSinkSpeed());
        hash.Vector(body->GetPosition());
        for (const EventTimeline* t : {body->attack, body->start, body->defeat, body->damage})
            HashMeter(hash, t);
        for (const EventTimeline* t : body->plates)
            HashMeter(hash, t);
        for (int32_t layer = 1; layer <= 8; ++layer) {
            const Boss4LayerPart* part = body->Part(layer);
            hash.Int(part != nullptr ? part->hittable : -1);
        }
        for (int32_t slot = 0; slot < kBoss4BodySlotCount; ++slot)
            HashMuzzle(hash, body->Muzzle(slot));
    }
    if (Boss4LayerPart23* head = root->head) {
        hash.Int(head->heldHidden);
        hash.Int(head->IsGuarded());
        hash.Int(head->IsTimedOut());
        hash.Int(head->HasDefeatStarted());
        hash.Int(head->IsReleased());
        hash.Vector(head->GetPosition());
        hash.Vector(head->GetRotation());
        for (const EventTimeline* t : {head->attack, head->appear, head->defeat, head->damage})
            HashMeter(hash, t);
        for (int32_t slot = 0; slot < kBoss4HeadSlotCount; ++slot)
            HashMuzzle(hash, head->Muzzle(slot));
    }
}

}  // namespace mareldon
