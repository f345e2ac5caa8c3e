#include "engine/core/TaskObject.h"

namespace mareldon {

namespace {
inline TaskObject* AsTask(TreeNode* node) {
    return static_cast<TaskObject*>(node);
}
}  // namespace

TaskObject::TaskObject(TaskObject* parent, int32_t priority) {
    Attach(parent, priority);
    if (parent != nullptr)
        InheritServices(*parent);
}

TaskObject::~TaskObject() = default;

void TaskObject::InheritServices(const TaskObject& parent) {
    fileSystem = parent.fileSystem;
    screenTarget = parent.screenTarget;
    graphicsDevice = parent.graphicsDevice;
    soundBox = parent.soundBox;
    renderer = parent.renderer;
    windowSystem = parent.windowSystem;
    mainWindow = parent.mainWindow;
    inputManager = parent.inputManager;
    frameRate = parent.frameRate;
    framePeriod = parent.framePeriod;
}

void TaskObject::CollectDead() {
    MarkDeadChildren();
    SweepDeadChildren();
}

bool TaskObject::IsAlive() {
    return true;
}

void TaskObject::MarkDeadChildren() {
    int32_t count = childCount;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < count; ++i) {
        TaskObject* child = AsTask(node);
        child->MarkDeadChildren();
        if (!child->IsAlive())
            child->state = kDeadMark;
        node = node->next;
    }
}

void TaskObject::SweepDeadChildren() {
    int32_t count = childCount;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < count && childCount > 0; ++i) {
        TaskObject* child = AsTask(node);
        child->SweepDeadChildren();
        if ((child->state & kDeadMark) != 0) {
            // Step back first, so the sibling after the deleted one is not skipped.
            node = child->prev;
            delete node->next;
            if (childCount == 0)
                break;
        }
        node = node->next;
    }
}

void TaskObject::Draw() {
    if (!drawEnabled)
        return;
    DrawPre();
    DrawChildren();
    DrawPost();
}

void TaskObject::DrawPost() {
    if (drawSelf)
        OnDrawPost();
}

void TaskObject::DrawPre() {
    if (drawSelf)
        OnDrawPre();
}

void TaskObject::DrawChildren() {
    if (!drawChildren)
        return;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < childCount; ++i) {
        AsTask(node)->Draw();
        node = node->next;
    }
}

bool TaskObject::SetDrawChildren(bool flag) {
    drawChildren = flag;
    return flag;
}

bool TaskObject::GetDrawChildren() {
    return drawChildren != 0;
}

void TaskObject::Update() {
    if (!updateEnabled)
        return;
    UpdatePre();
    UpdateChildren();
    UpdatePost();
    stepCount = GetStepCount() + 1;
}

void TaskObject::UpdatePost() {
    if (updateSelf)
        OnUpdatePost();
}

void TaskObject::UpdatePre() {
    if (updateSelf)
        OnUpdatePre();
}

void TaskObject::UpdateChildren() {
    if (!updateChildren)
        return;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < childCount; ++i) {
        AsTask(node)->Update();
        node = node->next;
    }
}

bool TaskObject::SetUpdateChildren(bool flag) {
    updateChildren = flag;
    return flag;
}

bool TaskObject::GetUpdateChildren() {
    return updateChildren != 0;
}

bool TaskObject::SetDrawSelf(bool flag) {
    drawSelf = flag;
    return flag;
}

bool TaskObject::GetDrawSelf() {
    return drawSelf != 0;
}

bool TaskObject::SetUpdateSelf(bool flag) {
    updateSelf = flag;
    return flag;
}

bool TaskObject::GetUpdateSelf() {
    return updateSelf != 0;
}

bool TaskObject::SetVisible(bool flag) {
    return SetDrawSelf(flag);
}

bool TaskObject::IsVisible() {
    return GetDrawSelf();
}

bool TaskObject::SetActive(bool flag) {
    return SetUpdateSelf(flag);
}

bool TaskObject::IsActive() {
    return GetUpdateSelf();
}

int32_t TaskObject::GetStepCount() {
    return stepCount;
}

}  // namespace mareldon
