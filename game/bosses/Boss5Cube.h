#pragma once

#include "engine/core/String.h"
#include "game/objects/Enemy.h"

namespace mareldon {

// The cube of the stage-5 boss model ("ba_05_3cube:Layer0"): a target of its own that
// sends out radar rings every 128 frames once its motion passes 96 seconds and drops its
// bonus and explosion when shot down. "NULL" names nothing.
class Boss5CubeLayerPart0 : public Enemy {
  public:
    static constexpr float kLineEffectsAfter = 96.0f;

    Boss5CubeLayerPart0(TaskObject* parent, NodeSpawnInfo& info, float durability, float hitRadius,
                        const String& bonusName, const String& explosionName);

    void OnUpdatePre() override;
    void OnDestroyed() override;

    float hitRadius;
    String bonus;
    String explosion;
};

}  // namespace mareldon
