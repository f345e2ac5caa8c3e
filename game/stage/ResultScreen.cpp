#include "game/stage/ResultScreen.h"

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

ResultScreen::ResultScreen(GameWorldScreen* ownerScreen) : TaskObject(ownerScreen, 0), owner(ownerScreen) {}

}  // namespace mareldon
