#include "game/stage/FallingSprite.h"

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

NumberPopup::NumberPopup(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& screenPosition,
                         int32_t shown, int32_t player)
    : TaskObject(parentTask, 0),
      screen(ownerScreen),
      position(screenPosition),
      value(shown),
      playerNumber(player) {}

NumberPopup::~NumberPopup() {
    if (screen != nullptr)
        screen->ForgetPopup(this);
}

void FallingSprite::OnUpdatePre() {
    ++age;
    position.y -= 1.0f;
}

void GravitySprite::OnUpdatePre() {
    position.x += velocity.x;
    position.y += velocity.y;
    position.z += velocity.z;
    velocity.y -= 0.02f;
    ++age;
}

}  // namespace mareldon
