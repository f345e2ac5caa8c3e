// Any bytes as a whole archive file; every model of an accepted archive is bound as a
// stage: its nodes become the stage objects by name (layers become layer enemies, which
// follow what they hang under), and the stage runs 60 steps with a hit on every enemy
// now and then.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/render/archive/ArchiveBuilder.h"
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/ShaderGenBase.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"

namespace {

using namespace mareldon;

void BuildLayouts(ModelNodeData& node) {
    if (node.mesh) {
        for (const auto& part : node.mesh->parts)
            part->BuildLayout();
    }
    for (const auto& child : node.children)
        BuildLayouts(*child);
}

class FuzzRoot : public TaskObject {
  public:
    FuzzRoot() : TaskObject(nullptr, 0) {
        frameRate = 60.0f;
        framePeriod = 1.0f / 60.0f;
        renderer = RefPtr<Renderer>(
            new Renderer(RefPtr<FileSystem>(), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
    }
};

Object3D* BuildLayer(Object3D* parent, NodeSpawnInfo& info) {
    // Every other layer follows what it hangs under.
    info.attached = uint8_t(info.name.Length() & 1u);
    return new LayerEnemy(parent, info, 2.0f, float(info.name.Length() % 3), String("BONUS_S"));
}

const StageNodeRegistry& Registry() {
    static StageNodeRegistry registry = [] {
        StageNodeRegistry made;
        RegisterStageObjects(made);
        made.defaultLayer = BuildLayer;
        return made;
    }();
    return registry;
}

void CollectEnemies(TaskObject& task, std::vector<Enemy*>& found) {
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        TaskObject* child = static_cast<TaskObject*>(node);
        if (auto* enemy = dynamic_cast<Enemy*>(child))
            found.push_back(enemy);
        CollectEnemies(*child, found);
    }
}

void RunStages(const std::vector<RefPtr<ModelEntry>>& models) {
    FuzzRoot root;
    RefPtr<TextureBase> target(new ResourceProxy(RefPtr<Texture>()));
    RefPtr<RenderView> view(new RenderView(root.renderer, target, RenderView::DefaultClear(),
                                           RefPtr<ShaderGenBase>(), TextureViewport{}));
    ScopedStageNodeRegistry scope(Registry());
    std::vector<StageScene*> scenes;
    for (const RefPtr<ModelEntry>& model : models)
        scenes.push_back(new StageScene(&root, nullptr, 0, StageEntryHandle(), model));
    AttackVector attack;
    attack.values[0] = 0.75f;
    std::vector<Enemy*> enemies;
    for (int step = 0; step < 60; ++step) {
        for (StageScene* scene : scenes)
            scene->StepAnimation();
        root.Update();
        root.CollectDead();
        if (step % 10 == 5) {
            enemies.clear();
            CollectEnemies(root, enemies);
            for (Enemy* enemy : enemies)
                enemy->ApplyAttack(1, attack);
        }
        for (StageScene* scene : scenes) {
            scene->DrawHierarchy();
            scene->SubmitTraversal(view);
        }
        root.renderer->DrawRegistered(view);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ArchiveHeader header;
    std::string error;
    if (!ReadArchiveHeader(data, size, size, header, error))
        return 0;
    RefPtr<WordBlock> body(new WordBlock((size_t(header.bodySize) + 3) / 4));
    std::memcpy(body->Bytes(), data + kArchiveHeaderSize, size_t(header.bodySize));
    ArchiveBuilder built;
    built.ShareBody(body);
    if (!ParseArchiveBody(body->Bytes(), size_t(header.bodySize), header, size, built, error))
        return 0;
    for (const RefPtr<ModelEntry>& model : built.models)
        BuildLayouts(*model->root);
    RunStages(built.models);
    return 0;
}
