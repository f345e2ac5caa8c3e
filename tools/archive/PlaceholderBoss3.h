#pragma once

#include <cstdint>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-3 boss of the placeholder "STAGE_UMI": boxes on the layers of
// "bg_03big_spider", nested as the boss's classes expect, with its 31 muzzle nodes, in
// the camera's view from the given time on.
inline constexpr float kPlaceholderBoss3Appear = 8600.0f / 60.0f;
// Where the body stands under "Scene".
inline constexpr float kPlaceholderBoss3Z = 3.5f;

// One colour per layer (0xRRGGBB), index = layer number 0..21; the broken model's layer
// N is the same colour at a third of its brightness.
uint32_t PlaceholderBoss3Colour(int32_t layer);
uint32_t PlaceholderBoss3BrokenColour(int32_t layer);
// Half a side of layer N's box.
float PlaceholderBoss3Half(int32_t layer);

// Leaves out a layer or a muzzle node (its name without "Null_JYUUKOU_") when building.
struct PlaceholderBoss3Omit {
    int32_t layer = -1;
    const char* muzzle = nullptr;
};

// The body node (Layer15) with everything below it.
MbdWriter::Node PlaceholderBoss3Node(StageModelBuilder& builder, float appearTime = kPlaceholderBoss3Appear,
                                     float endTime = 300.0f, const PlaceholderBoss3Omit& omit = {});

// "bg_03big_spider_koware" (Layers 0-21).
void AddPlaceholderBoss3Models(MbdWriter& writer);

// Puts the boss under the "Scene" node of a stage model.
void AddPlaceholderBoss3ToStage(MbdWriter& writer, MbdWriter::Node& stage);

}  // namespace mareldon
