#include "game/stage/StaticModelPart.h"

#include "engine/render/draw/Renderer.h"

namespace mareldon {

StaticModelPart::StaticModelPart(TaskObject* parentTask) : ClockNode(parentTask, 0) {}

StaticModelPart::StaticModelPart(TaskObject* parentTask, const String& modelName) : ClockNode(parentTask, 0) {
    if (renderer)
        BindMotion(renderer->FindModel(modelName));
}

StaticModelPart::StaticModelPart(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position,
                                 const String& modelName)
    : ClockNode(parentTask, 0), screen(ownerScreen) {
    SetPosition(position);
    if (renderer)
        BindMotion(renderer->FindModel(modelName));
}

StaticModelPart::StaticModelPart(TaskObject* parentTask, RootNodeTag tag) : ClockNode(parentTask, 0, tag) {}

}  // namespace mareldon
