#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-2 boss of the placeholder "STAGE_HI": boxes on the layers of "ba02_cyou",
// nested as the boss's classes expect (sections 1-4 deep, guns 3 or 5 deep), in the
// camera's view from the given time on.
inline constexpr float kPlaceholderBoss2Appear = 9500.0f / 60.0f;
// Where the body stands under "Scene".
inline constexpr float kPlaceholderBoss2Z = 3.5f;

// One colour per layer 0..14 (0xRRGGBB); the broken model's layer N is the same colour
// at a third of its brightness.
uint32_t PlaceholderBoss2Colour(int32_t layer);
uint32_t PlaceholderBoss2BrokenColour(int32_t layer);
// Half a side of layer N's box.
float PlaceholderBoss2Half(int32_t layer);

// What a test may leave out of the model: a layer or a gun node.
struct PlaceholderBoss2Omit {
    int32_t layer = -1;
    const char* gun = nullptr;
};

// The body node (Layer0) with everything below it.
MbdWriter::Node PlaceholderBoss2Node(StageModelBuilder& builder, float appearTime = kPlaceholderBoss2Appear,
                                     float endTime = 300.0f, const PlaceholderBoss2Omit& omit = {});

// "ba02_cyou_koware" (Layers 0-14).
void AddPlaceholderBoss2Models(MbdWriter& writer);

// Puts the boss under the stage model's "Scene".
void AddPlaceholderBoss2ToStage(MbdWriter& writer, MbdWriter::Node& stage);

}  // namespace mareldon
