#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/objects/Enemy.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/PlaceholderSounds.h"
#include "tools/archive/PlaceholderStages.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// Every node under `task` of class T, depth first; the ships' models are left out.
template <typename T>
void CollectNodes(TaskObject& task, std::vector<T*>& found) {
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        TaskObject* child = static_cast<TaskObject*>(node);
        if (dynamic_cast<PlayerShip*>(child) != nullptr)
            continue;
        if (auto* match = dynamic_cast<T*>(child))
            found.push_back(match);
        CollectNodes(*child, found);
    }
}

template <typename T>
std::vector<T*> FindNodes(TaskObject& task) {
    std::vector<T*> found;
    CollectNodes(task, found);
    return found;
}

// The model of the world screen's stage (entry 6, "STAGE_HATE"), from the test's nodes
// under "Scene"; the camera looks down from 25 units: world (x, 0, z) is seen at pixel
// (240 + 10 x, 320 - 10 z) or so.
using SceneNodes = std::function<std::vector<MbdWriter::Node>(StageModelBuilder&)>;

inline constexpr const char* kFixtureStage = "STAGE_HATE";

// The whole stage model, root and all.
struct WholeModel {
    std::function<MbdWriter::Node(StageModelBuilder&)> make;
    // Further models of the archive (wrecks and the like).
    std::function<void(MbdWriter&)> extra = {};
};

inline std::vector<uint8_t> EnemyStageArchive(const WholeModel& model) {
    MbdWriter writer;
    StageModelBuilder builder(writer);
    writer.AddModel(kFixtureStage, model.make(builder));
    if (model.extra)
        model.extra(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

// A layer enemy of durability 3 and radius 1 dropping "BONUS_S".
inline Object3D* BuildTestLayerEnemy(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 3.0f, 1.0f, String("BONUS_S"));
}

// The world screen on a stage model of the test's making, its nodes built through a
// registry of the test's own: the stage objects, plus whatever the test adds before
// StartWorld. Player 1 is in play.
class EnemyStageFixture : public WorldScreenFixture {
  public:
    explicit EnemyStageFixture(const SceneNodes& scene, float endTime = 300.0f)
        : EnemyStageFixture(WholeModel{[scene, endTime](StageModelBuilder& b) {
              return b.Stage(kFixtureStage, scene(b), endTime, 25.0f);
          }}) {}
    explicit EnemyStageFixture(const WholeModel& model) : WorldScreenFixture(EnemyStageArchive(model)) {
        plainWorld = true;
        musicOn = 0;
        // Without a ship the world stands still.
        entered = 1;
        RegisterStageObjects(registry);
    }

    StageScene& Scene() { return *screen->GetStageScene(); }
    float StageTime() { return screen->GetStageTime(); }
    template <typename T>
    std::vector<T*> Find() {
        // The world root: "Scene" may sit elsewhere between frames.
        return FindNodes<T>(*static_cast<TaskObject*>(screen->GetWorldRoot()));
    }
    template <typename T>
    T* FindNamed(const char* name) {
        for (T* node : Find<T>()) {
            if (node->name.Equals(name))
                return node;
        }
        return nullptr;
    }
    // Steps until the stage clock reaches `time`.
    void StepTo(float time) {
        for (int i = 0; i < 100000 && StageTime() < time - 1e-4f; ++i)
            Step();
    }

    StageNodeRegistry registry;
    ScopedStageNodeRegistry scope{registry};
};

}  // namespace mareldon
