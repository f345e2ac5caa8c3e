#pragma once

#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class Enemy;
class GameWorldScreen;

// What stays of a tower or a big gun: a named model under the enemy's parent, placed
// as the enemy was, whose layers are plain scenery. A missing model leaves it empty.
class WreckModel : public StaticModelPart {
  public:
    WreckModel(TaskObject* parent, GameWorldScreen* world, const String& modelName);
    // Under the enemy's parent at its position and rotation; null when the enemy has no
    // parent node.
    static WreckModel* CreateFor(Enemy& enemy, const String& modelName);

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
};

// Binds `modelName` to `part` when the archive holds it; otherwise one warning and
// nothing bound (the placeholder fallback would show an unrelated model).
bool BindStageModel(StaticModelPart& part, const String& modelName, const char* what);

}  // namespace mareldon
