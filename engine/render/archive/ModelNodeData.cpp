#include "engine/render/archive/ModelNodeData.h"

#include "engine/core/KeyTrack.h"

namespace mareldon {

ModelNodeData::ModelNodeData() = default;
ModelNodeData::~ModelNodeData() = default;

}  // namespace mareldon
