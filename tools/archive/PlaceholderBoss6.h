#pragma once

#include <string>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-6 boss of the placeholder "STAGE_HATE": "ba_06medarion_gear" (Layer0 with
// Layers 1-5 below it), in the camera's view from the start to `endTime`.
MbdWriter::Node PlaceholderBoss6Node(StageModelBuilder& builder, float endTime = 120.0f);

// Puts the boss under "Scene" of "STAGE_HATE"; other stages stay as they are.
void AddPlaceholderBoss6ToStage(MbdWriter& writer, MbdWriter::Node& stage, const std::string& id);

}  // namespace mareldon
