#pragma once

namespace mareldon {

class StageNodeRegistry;

// Puts the stage objects of this layer into the registry: the frame-node objects (the
// bosses' node names as stand-ins until their classes are registered over them), the
// control node "EC_GENERAL", the "GP*" group rule, the eye bones and the scenery of a
// layer without an entry. The stage scene lies below and cannot name them, so every
// composition root calls this.
void RegisterStageObjects(StageNodeRegistry& registry);

}  // namespace mareldon
