#pragma once

#include <cstdint>

namespace mareldon {

// The player-shot cells of the "game" sheet: rows of twelve from u 0.625732, v 0.0625,
// each 0.03125 apart. The shot classes use cells 0 to 55.
constexpr int32_t kPlayerShotCells = 56;
constexpr int32_t kPlayerShotCellsPerRow = 12;
constexpr float kPlayerShotU0 = 0.625732f;
constexpr float kPlayerShotV0 = 0.0625f;
constexpr float kPlayerShotPitch = 0.03125f;
constexpr float kPlayerShotWidth = 0.030029f;
constexpr float kPlayerShotHeight = 0.0307617f;
// Pixels of the sprite's square on screen.
constexpr float kPlayerShotHalfSize = 16.0f;

// The texture rectangle (u0, v0, u1, v1) of a cell; false for a cell outside the sheet.
bool PlayerShotCellUv(int32_t cell, float (&uv)[4]);

}  // namespace mareldon
