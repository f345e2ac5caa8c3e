#pragma once

#include "engine/core/TaskObject.h"

namespace mareldon {

class GameSystem;

// A task that knows its game system: every screen and overlay of the game.
class SystemTask : public TaskObject {
  public:
    // Attached under the game system itself.
    SystemTask(GameSystem* owner, int32_t priority);
    // Attached under another system task; the owner is the parent's owner.
    SystemTask(SystemTask* parent, int32_t priority);

    GameSystem* GetOwner() const { return owner; }
    bool IsCurrentScene() const;
    bool IsNotCurrentScene() const { return !IsCurrentScene(); }

  protected:
    GameSystem* owner;
};

}  // namespace mareldon
