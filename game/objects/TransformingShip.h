#pragma once

#include <cstdint>

#include "game/objects/LayerEnemies.h"

namespace mareldon {

class TableGun;

// The transforming cannon ship ("ma13_henkeihou_kan:Layer0"): two spheres while drawn;
// once its control node turns the third flag on it opens four more and grows its guns
// (two front and two side guns on the second stage, two side guns elsewhere). Its kill
// drops 21 items once transformed, one big one before.
class TransformingShipEnemy : public DurabilityFormEnemy {
  public:
    TransformingShipEnemy(TaskObject* parent, NodeSpawnInfo& info, float durability);

    void OnUpdatePre() override;

    int32_t unused = 0;
    uint8_t gunsBuilt = 0;
    int32_t gunCount = 0;

  private:
    void BuildGuns();
};

}  // namespace mareldon
