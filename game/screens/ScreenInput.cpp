#include "game/screens/ScreenInput.h"

#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/SystemTask.h"

namespace mareldon {

ScreenInput::ScreenInput(SystemTask& task, uint32_t deviceFlags, int scriptedInput)
    : task_(task), scriptedInput_(scriptedInput) {
    if (task.GetOwner()->GetScriptedInputs() == nullptr && task.inputManager != nullptr) {
        input_ = new PlayerInput(task.inputManager, deviceFlags);
        input_->SetKeyMap(task.GetOwner()->GetKeyMap());
    }
}

ScreenInput::~ScreenInput() {
    delete input_;
}

ButtonSet ScreenInput::Buttons() const {
    if (const SystemInputs* scripted = task_.GetOwner()->GetScriptedInputs()) {
        return scripted->GetButtons(scriptedInput_);
    }
    return input_ != nullptr ? input_->GetButtons() : ButtonSet{};
}

}  // namespace mareldon
