#pragma once

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-4 boss of the placeholder "STAGE_KU": boxes on the layers of "ba_04kao",
// nested as its classes expect, with its muzzle and marker nodes; the root is in the
// camera's view from `appearTime` on (the fight starts at frame 11400 of the stage).
inline constexpr float kPlaceholderBoss4Appear = 11100.0f / 60.0f;
// Where the body stands under "Scene", and where the head model carries the head.
inline constexpr float kPlaceholderBoss4Z = 3.5f;

// One colour per layer (0xRRGGBB), 0..33; the broken model's layer N is the same colour
// at a third of its brightness.
uint32_t PlaceholderBoss4Colour(int32_t layer);

// "ba_04kao:Layer0" with everything below it.
MbdWriter::Node PlaceholderBoss4Node(StageModelBuilder& builder, float appearTime = kPlaceholderBoss4Appear,
                                     float endTime = 300.0f);

// "ba_04kao_k" (Layers 0-14), "Boss4Head" and the effect "EXPLOSION_S4BOSS".
void AddPlaceholderBoss4Models(MbdWriter& writer);

// Adds the boss under "Scene" of a stage model.
void AddPlaceholderBoss4ToStage(MbdWriter& writer, MbdWriter::Node& stage);

}  // namespace mareldon
