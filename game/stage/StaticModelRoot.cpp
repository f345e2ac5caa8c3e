#include "game/stage/StaticModelRoot.h"

namespace mareldon {

StaticModelRoot::StaticModelRoot(TaskObject* parentTask) : StaticModelPart(parentTask, kRootNode) {
    nodeType = kNodeSceneRoot;
}

}  // namespace mareldon
