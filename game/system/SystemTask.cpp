#include "game/system/SystemTask.h"

#include "game/system/GameSystem.h"
#include "game/system/SceneTask.h"

namespace mareldon {

SystemTask::SystemTask(GameSystem* owner, int32_t priority) : TaskObject(owner, priority), owner(owner) {}

SystemTask::SystemTask(SystemTask* parent, int32_t priority)
    : TaskObject(parent, priority), owner(parent->GetOwner()) {}

bool SystemTask::IsCurrentScene() const {
    return static_cast<const SystemTask*>(owner->GetCurrentScene()) == this;
}

}  // namespace mareldon
