#pragma once

#include <cstdint>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The placeholder stages' scenery, in world units on the field (y up; x to the
// screen's right and z to its top, as the stage camera looks down from 25 above).
// Every mesh part is named after the shading group it draws in.
namespace scenery {

// The ground: 12 x 40 at y 0, x -6 to 6, z -7 to 33; a checker of 1-unit cells,
// kGroundLight where floor(x) + floor(z) is even, kGroundDark elsewhere. Group
// "ground" (a plain one), receiving shadows.
inline constexpr float kGroundHalfWidth = 6.0f;
inline constexpr float kGroundNear = -7.0f;
inline constexpr float kGroundFar = 33.0f;
inline constexpr uint32_t kGroundLight = 0xD8D0B8;
inline constexpr uint32_t kGroundDark = 0x5A8C50;
// Group "block", solid orange, casting and receiving shadows: a tower and a low block.
inline constexpr uint32_t kBlock = 0xE07828;
struct Box {
    float x, z;          // centre of the footprint
    float halfX, halfZ;  // half the footprint
    float height;        // from the ground up
};
inline constexpr Box kTower{-2.5f, 0.5f, 0.6f, 0.6f, 3.0f};
inline constexpr Box kLowBlock{2.5f, -1.0f, 0.8f, 0.6f, 1.5f};
// Group "unseen", magenta: drawn by no camera and casting no shadow.
inline constexpr uint32_t kUnseen = 0xFF00FF;
inline constexpr Box kUnseenBlock{0.0f, 1.5f, 0.5f, 0.5f, 1.0f};
// Group "alphaface": a cyan block at half opacity.
inline constexpr uint32_t kGlass = 0x30C8FF;
inline constexpr Box kGlassBlock{-0.5f, 3.5f, 0.6f, 0.6f, 1.2f};
// Group "addsat": a yellow square added over the ground, 0.05 above it.
inline constexpr uint32_t kGlow = 0xFFDC40;
inline constexpr Box kGlowQuad{-2.5f, -2.5f, 0.8f, 0.8f, 0.05f};
// "STAGE_UMI": group "waterface", a light blue plane at a third opacity 0.02 above
// the ground right of x 0.5, over a sea floor (a teal checker 1.5 below the ground)
// in the frame node "UnderWater"; "STAGE_KU" has that floor in "BoundaryWater".
inline constexpr float kWaterLeft = 0.5f;
inline constexpr uint32_t kWaterface = 0x78B4FF;
inline constexpr float kSeaFloorDepth = -1.5f;
// The field stands still for kHoldTime seconds, so captures of a stage's first
// seconds find everything where it was placed; then it slides toward -z, kSlide
// units by the stage model's end.
inline constexpr float kHoldTime = 10.0f;
inline constexpr float kSlide = 26.0f;

}  // namespace scenery

// The scenery's textures, added once per archive.
struct StageSceneryImages {
    int32_t ground = -1;
    int32_t block = -1;
    int32_t unseen = -1;
    int32_t glass = -1;
    int32_t glow = -1;
    int32_t seaFloor = -1;
    int32_t waterface = -1;
};
StageSceneryImages AddStageSceneryImages(MbdWriter& writer);

// The frame node "Field" to go under "Scene": the ground, the blocks, the unseen
// and translucent blocks and the glow square, keyed to hold and then slide, and
// with `water` the water plane.
MbdWriter::Node SceneryField(MbdWriter& writer, const StageSceneryImages& images, bool water);
// The sea floor's mesh node, for "UnderWater" or "BoundaryWater".
MbdWriter::Node SeaFloor(MbdWriter& writer, const StageSceneryImages& images, const std::string& name);

}  // namespace mareldon
