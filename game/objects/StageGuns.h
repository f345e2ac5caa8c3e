#pragma once

namespace mareldon {

class StageNodeRegistry;
struct GunRow;

// The guns of the stage models' "BS_*" nodes (but the train's), some by the stage played.
void RegisterStageGuns(StageNodeRegistry& registry);
// The floating island's gun, which the lens turret of kind 2 also carries.
const GunRow& UkishimaGunRow();

}  // namespace mareldon
