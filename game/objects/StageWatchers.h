#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/render/scene/Object3D.h"
#include "game/stage/NodeSpawnInfo.h"

namespace mareldon {

class GameWorldScreen;
class StageNodeRegistry;

// "senyouwatcher": two holders, each over one watched enemy. When both enemies went
// within 20 steps of each other, a "BONUS_S" drops at their last midpoint on every
// fourth frame from then on (the stream never stops; it always was so).
class SenyouWatcher : public Object3D {
  public:
    static constexpr float kStepPeriod = 1.0f / 60.0f;

    SenyouWatcher(TaskObject* parent, NodeSpawnInfo& info);

    void OnUpdatePre() override;

    float elapsed = 0.0f;
    Vec3 dropPoint{0.0f, 0.0f, 0.0f};
    GameWorldScreen* world;
};

// "Splasher": a water splash point with no step of its own.
class Splasher : public Object3D {
  public:
    Splasher(TaskObject* parent, NodeSpawnInfo& info);

    GameWorldScreen* world;
};

// "Splasher2": from time 126 on, while below y 4, draws one number of the world's
// generator a step; recorded plays replay against that sequence.
class Splasher2 : public Splasher {
  public:
    using Splasher::Splasher;

    void OnUpdatePre() override;
};

void RegisterStageWatchers(StageNodeRegistry& registry);

}  // namespace mareldon
