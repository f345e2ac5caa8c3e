#include "game/stage/BomberModel.h"

#include "engine/core/Log.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

BomberModel::BomberModel(TaskObject* parentTask, GameWorldScreen* ownerScreen, const String& modelName)
    : ClockNode(parentTask, 0), screen(ownerScreen) {
    if (renderer)
        BindMotion(renderer->FindModel(modelName));
    if (screen != nullptr)
        screen->SetBombActive(true);
}

BomberModel::~BomberModel() {
    if (screen != nullptr && screen->bomber == this)
        screen->bomber = nullptr;
}

void BomberModel::OnMotionEnd() {
    if (!alive)
        return;
    alive = 0;
    if (screen != nullptr)
        screen->SetBombActive(false);
    LOG_DEBUG("stage", "bomb: over after %.3f s", double(clock.time));
}

}  // namespace mareldon
