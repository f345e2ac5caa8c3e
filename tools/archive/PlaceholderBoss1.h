#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

// The stage-1 boss of the placeholder "STAGE_KAZE": boxes on the layers of
// "ba_01zenyoku", nested as the boss's classes expect, in the camera's view from the
// given time on (the body's window; its sections show with it).
inline constexpr float kPlaceholderBoss1Appear = 8000.0f / 60.0f;
// Where the body stands under "Scene".
inline constexpr float kPlaceholderBoss1Z = 3.5f;

// One colour per section layer (0xRRGGBB), index = layer number 0..17; the broken
// model's layer N is the same colour at a third of its brightness, a little smaller,
// with its +x, +z quarter knocked out.
uint32_t PlaceholderBoss1Colour(int32_t layer);
uint32_t PlaceholderBoss1BrokenColour(int32_t layer);

// The body node (Layer17) with everything below it.
MbdWriter::Node PlaceholderBoss1Node(StageModelBuilder& builder, float appearTime = kPlaceholderBoss1Appear,
                                     float endTime = 300.0f);

// "ba_01zenyoku_koware" (Layers 0-16), the weapon models and the effect "EXPLOSION_BS01".
void AddPlaceholderBoss1Models(MbdWriter& writer);

}  // namespace mareldon
