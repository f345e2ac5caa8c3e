#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mareldon {

// Trace files (docs/trace-file-format.md) from a button script, as a player on one
// controller would have recorded them: each logical word is played on a pad (the
// directions on its stick, bits 6 to 29 on its buttons) through the game's own
// recording input, so the file equals what playing those buttons records.

// One line a run of steps: "<steps> <buttons>", the buttons a number (decimal or
// 0x hex) or names joined by '+': up, down, left, right, shot, bomb, b0 to b23,
// none. '#' starts a comment. The first step is the record the input takes when the
// screen is built. False with the line and why in `error`.
bool ParseTraceScript(const std::string& text, std::vector<uint32_t>& words, std::string& error);

// The file of a ship type and one logical word a step (the first for the screen's
// build): 16 + 16 x (steps + 1) bytes.
std::vector<uint8_t> BuildTraceFile(uint32_t shipType, const std::vector<uint32_t>& words);

}  // namespace mareldon
