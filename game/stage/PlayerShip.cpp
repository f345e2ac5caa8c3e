#include "game/stage/PlayerShip.h"

#include "engine/core/PlayerInput.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

PlayerShip::PlayerShip(TaskObject* parentTask, GameWorldScreen* ownerScreen, int32_t mask, int32_t type,
                       const RefPtr<PlayerInput>& inputHandle, float x, float y, float z)
    : StaticModelPart(parentTask),
      playerMask(mask),
      shipType(type),
      moveSpeed(MoveSpeedOf(type)),
      input(inputHandle) {
    screen = ownerScreen;
    SetPosition(Vec3{x, y, z});
    if (playerMask == 0) {
        SetDrawSelf(false);
        SetDrawChildren(false);
    }
}

PlayerShip::~PlayerShip() {
    // The slot and the hit circles must not outlive the ship, whoever deletes it.
    if (screen != nullptr)
        screen->ForgetShip(this);
}

float PlayerShip::MoveSpeedOf(int32_t type) {
    static constexpr float kSpeeds[4] = {0.1f, 0.12f, 0.08f, 0.09f};
    return type >= 0 && type < 4 ? kSpeeds[type] : kSpeeds[0];
}

}  // namespace mareldon
