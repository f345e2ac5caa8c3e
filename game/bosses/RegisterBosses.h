#pragma once

namespace mareldon {

class StageNodeRegistry;

// The bosses' classes over the stand-ins of RegisterStageObjects, which must run first.
void RegisterBossObjects(StageNodeRegistry& registry);

}  // namespace mareldon
