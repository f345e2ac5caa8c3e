#include "tools/stagesim/StageSimBoss1.h"

#include "game/bosses/Boss1Body.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "tools/stagesim/StageSim.h"

namespace mareldon {

namespace {

// Frames before the fight start at which the run puts the boss clock.
constexpr float kJumpFrame = 8080.0f;

Boss1Body* FindBody(TaskObject& task) {
    if (auto* body = dynamic_cast<Boss1Body*>(&task))
        return body;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss1Body* body = FindBody(*static_cast<TaskObject*>(node)))
            return body;
    }
    return nullptr;
}

Boss1Body* FindBody(GameWorldScreen& screen) {
    TaskObject* root = screen.GetWorldRoot();
    return root != nullptr ? FindBody(*root) : nullptr;
}

}  // namespace

// Player 1 stays under the core, shooting; player 2 sweeps under the wings, shooting
// in bursts and bombing once.
uint32_t Boss1FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    if (player == 1) {
        const uint32_t drift = (step / 40) % 2 == 0 ? S::kLeft : S::kRight;
        return (step % 3 == 0 ? S::kShot : 0u) | (step % 200 < 20 ? drift : 0u) | (step < 60 ? S::kUp : 0u);
    }
    const uint32_t sweep = (step / 120) % 2 == 0 ? S::kLeft : S::kRight;
    const uint32_t bomb = step == 1200 ? S::kBomb : 0u;
    return sweep | bomb | ((step / 30) % 3 != 0 ? S::kShot : 0u) | (step < 40 ? S::kUp : 0u);
}

void PopulateBoss1Fight(GameWorldScreen& screen) {
    AddStageStateHasher(HashBoss1State);
    Boss1Body* body = FindBody(screen);
    Object3D* clock = body != nullptr ? body->ParentNode() : nullptr;
    // What passes before the jump arrives as one lump, as after a long inactive spell.
    if (clock != nullptr)
        clock->SetMotionTime((kJumpFrame - 0.5f) / 60.0f);
}

void HashBoss1State(StateHash& hash, GameWorldScreen& screen) {
    Boss1Body* body = FindBody(screen);
    hash.Int(body != nullptr);
    if (body == nullptr)
        return;
    hash.Int(body->GetStepCount());
    hash.Float(body->CoreDamageTaken());
    for (const EventTimeline* meter : {body->wingADamage, body->wingBDamage}) {
        hash.Int(meter->GetFrame());
        hash.Float(meter->GetAccumulator());
    }
    hash.Int(int64_t(body->InCorePhase()) | int64_t(body->IsCoreOpen()) << 1 |
             int64_t(body->IsDefeated()) << 2 | int64_t(body->IsTimedOut()) << 3 |
             int64_t(body->IsDrifting()) << 4);
    hash.Vector(body->GetWorldPosition());
    for (int32_t i = 0; i < kBoss1SectionCount; ++i) {
        const Boss1Section* section = body->Section(i);
        hash.Int(section != nullptr ? section->hittable : -1);
        if (section != nullptr)
            hash.Float(section->durability);
    }
    for (int32_t i = 0; i < Boss1WingTip::kCount; ++i) {
        Boss1WingTip* tip = body->Tip(i);
        hash.Float(tip != nullptr ? tip->GetRotation().y : -1.0f);
    }
}

}  // namespace mareldon
