#include "game/stage/PlayerGun.h"

namespace mareldon {

PlayerGunBase::PlayerGunBase(TaskObject* parentTask, GameWorldScreen* ownerScreen, int32_t mask,
                             int32_t gunSlot)
    : ShooterObject(parentTask, ownerScreen), playerMask(mask), slot(gunSlot) {}

void PlayerGunBase::Configure() {
    SetBurstInterval(0);
    SetShotInterval(1);
    SetBurstShots(0);
    SetBurstCount(1);
}

}  // namespace mareldon
