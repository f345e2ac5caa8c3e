#pragma once

#include "engine/core/TaskObject.h"

namespace mareldon {

class GameWorldScreen;

// The result tally a clear opens under its world screen. A stand-in until the
// tally itself is built: an empty child task that lives as long as the screen.
class ResultScreen : public TaskObject {
  public:
    explicit ResultScreen(GameWorldScreen* owner);

    GameWorldScreen* owner;
};

}  // namespace mareldon
