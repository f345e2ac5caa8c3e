#include "tools/stagesim/StageSimBoss2.h"

#include "game/bosses/Boss2Body.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

namespace {

// Frames before the fight start at which the run puts the stage and boss clocks.
constexpr float kJumpFrame = 9540.0f;

Boss2Body* FindBody(TaskObject& task) {
    if (auto* body = dynamic_cast<Boss2Body*>(&task))
        return body;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss2Body* body = FindBody(*static_cast<TaskObject*>(node)))
            return body;
    }
    return nullptr;
}

}  // namespace

uint32_t Boss2FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    // Short sways keep both under the core sections, the pods out of the line of fire.
    const uint32_t sweep = ((step / 12) + player) % 2 == 0 ? S::kRight : S::kLeft;
    const uint32_t rise = step < 60 ? S::kUp : 0u;
    const uint32_t bomb = player == 2 && (step == 400 || step == 1700) ? S::kBomb : 0u;
    return sweep | rise | bomb | (step % 2 == 0 ? S::kShot : 0u);
}

void PopulateBoss2Fight(GameWorldScreen& screen) {
    if (StageScene* scene = screen.GetStageScene())
        scene->SetMotionTime(kJumpFrame / 60.0f);
    TaskObject* root = screen.GetWorldRoot();
    Boss2Body* body = root != nullptr ? FindBody(*root) : nullptr;
    if (body != nullptr) {
        if (Object3D* bossRoot = body->ParentNode())
            bossRoot->SetMotionTime(kJumpFrame / 60.0f);
    }
}

}  // namespace mareldon
