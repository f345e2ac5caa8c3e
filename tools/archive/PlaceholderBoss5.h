#pragma once

#include <string>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-5 boss of the placeholder "STAGE_TEN": the mandala "ba_05_1mandara" with the
// ball "ba_05_4hikari_dama" directly under its root layer, the cube "ba_05_3cube" beside
// it, nested as the boss's classes expect and in the camera's view from `appearTime`.
inline constexpr float kPlaceholderBoss5Appear = 11300.0f / 60.0f;
inline constexpr float kPlaceholderBoss5Z = 3.5f;

// The mandala root (Layer21) with everything below it.
MbdWriter::Node PlaceholderBoss5Node(StageModelBuilder& builder, float appearTime = kPlaceholderBoss5Appear,
                                     float endTime = 400.0f);
// The cube (Layer0 with its passive layers).
MbdWriter::Node PlaceholderCubeNode(StageModelBuilder& builder, float appearTime = kPlaceholderBoss5Appear,
                                    float endTime = 400.0f);

// The mandala's two motion models and the effect "EXPLOSION_S5BOSS".
void AddPlaceholderBoss5Models(MbdWriter& writer);

// Puts the mandala and the cube under "Scene" of "STAGE_TEN"; other stages stay as they are.
void AddPlaceholderBoss5ToStage(MbdWriter& writer, MbdWriter::Node& stage, const std::string& id);

}  // namespace mareldon
