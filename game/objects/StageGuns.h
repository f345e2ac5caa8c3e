#pragma once

namespace mareldon {

class StageNodeRegistry;

// The guns of the stage models' "BS_*" nodes (but the train's), some by the stage played.
void RegisterStageGuns(StageNodeRegistry& registry);

}  // namespace mareldon
