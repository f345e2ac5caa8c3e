#pragma once

#include "engine/core/String.h"
#include "game/objects/Enemy.h"

namespace mareldon {

// An enemy of one layer with one hit sphere at its pivot; its kill drops its name as
// an item and shows an explosion. Radius 0 makes a passive carrier of a mesh that never
// enters the target list (the bosses' "NULL" layers).
class LayerEnemy : public Enemy {
  public:
    static constexpr const char* kExplosion = "EXPLOSION_ita_MA01";

    LayerEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability, float radius, const String& name,
               AttachKind kind = AttachKind::kPlain);

    void OnUpdatePre() override;
    void OnDestroyed() override;

    float radius;
    String itemName;
};

}  // namespace mareldon
