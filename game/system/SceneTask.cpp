#include "game/system/SceneTask.h"

#include "game/system/GameSystem.h"

namespace mareldon {

SceneTask::SceneTask(GameSystem* owner, const String& breakInName, const String& successorName,
                     int32_t priority)
    : SystemTask(owner, priority), breakInName(breakInName), successorName(successorName) {}

void SceneTask::RequestSuccessor(const String& name) {
    Request(name, successorName);
}

void SceneTask::RequestBreakIn(const String& name) {
    Request(name, breakInName);
}

void SceneTask::Request(const String& name, const String& fallback) {
    if (!IsCurrentScene()) {
        return;
    }
    owner->currentScene_ = nullptr;
    owner->leftSceneName_ = owner->currentSceneName_;
    owner->currentSceneName_ = "";
    owner->requestedSceneName_ = name.IsEmpty() ? fallback : name;
}

}  // namespace mareldon
