#pragma once

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The train, the towers and batteries, the wreck-leaving enemies, the debris fighter and
// the transforming ship under `scene` (the "Scene" node of a stage model), with their
// windows spread over the stage's first hundred seconds; and the models they need: the
// dark grey wrecks ("tou_001b", "tou_002b", "nozule_k", "mg_09tankisekiD_k" and the five
// train wrecks with their layer counts) and the effect "EXPLOSION_LLG01".
void AddPlaceholderRailEnemies(MbdWriter& writer, MbdWriter::Node& scene);

// "Null_Train" with its ten cars (their sub-layers, turrets and guns); its x keys take
// it from -40 at 0 s over -30 at 10 s to 4 at 38 s, hold it there until 80 s and take it
// to 30 at 110 s, at z 4.5. Car i is modelled 1.3 i behind the engine.
MbdWriter::Node PlaceholderTrain(StageModelBuilder& builder);
// The wreck models and "EXPLOSION_LLG01".
void AddPlaceholderWreckModels(StageModelBuilder& builder);

// The ten cars of "Null_Train" in the order the train takes them.
inline constexpr const char* kPlaceholderTrainCars[10] = {
    "mg_04rail_locomotive", "mg_04rail_tender", "mg_04rail_metalB", "mg_04rail_cargo",  "mg_04rail_metalA",
    "mg_04rail_metalB",     "mg_04rail_cargo",  "mg_04rail_metalA", "mg_04rail_metalB", "mg_04rail_cargo"};

}  // namespace mareldon
