#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/objects/Enemy.h"
#include "game/objects/GunshipEnemies.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class KuchikuEnemy;

// The hidden model a destroyer section takes its wreck mesh from: "la_kuchiku_k", of
// which only the section's own layer is kept.
class KuchikuModelScene : public StaticModelPart {
  public:
    static constexpr const char* kModel = "la_kuchiku_k";

    KuchikuModelScene(TaskObject* parent, KuchikuEnemy* owner, int32_t sectionIndex);
    ~KuchikuModelScene() override;

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;

    // The mesh of "la_kuchiku_k:Layer<index>", or null when the model has none.
    MeshObject* wreckLayer = nullptr;
    int32_t sectionIndex;
    KuchikuEnemy* owner;

  private:
    String layerName;
};

// The destroyer: section 0 is the hull, which becomes its wreck and stays; sections 1
// and 2 are deck sections, removed when destroyed.
class KuchikuEnemy : public Enemy {
  public:
    static constexpr float kHullRadius = 2.0f;

    KuchikuEnemy(TaskObject* parent, NodeSpawnInfo& info, const LayerArgs& args);
    ~KuchikuEnemy() override;

    bool IsAlive() override { return alive != 0; }
    void OnUpdatePre() override;
    void OnDestroyed() override;

    KuchikuModelScene* wreckScene = nullptr;
    int32_t sectionIndex;
    uint8_t alive = 1;
    uint8_t wrecked = 0;
    int32_t wreckTime = 0;
    Random random;

  private:
    // The hull's children go with the sweep, not inside the attack that wrecked it: a
    // bomb may still be walking the targets they are.
    void ShedChildren();
};

}  // namespace mareldon
