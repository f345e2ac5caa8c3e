#pragma once

#include <cstdint>

namespace mareldon {

// A development start (MARELDON_STAGE=N[:SHIP]): after "boot" the scene flow puts
// player 1 in the game with ship type SHIP and plays stage entry N, without coins
// or the front-end screens.
struct StageStart {
    static constexpr int32_t kShipTypes = 4;

    int32_t stage = -1;  // stage entry; -1: the normal flow
    int32_t shipType = 0;

    bool IsSet() const { return stage >= 0; }
};

// "N" or "N:SHIP", decimal, N below `stageCount` and SHIP 0..3. Anything else
// leaves `out` unset and returns false.
bool ParseStageStart(const char* text, int32_t stageCount, StageStart& out);

// The start the variable's value asks for; null gives the normal flow, and a
// value that does not parse is logged and gives the normal flow too.
StageStart ReadStageStart(const char* value);

}  // namespace mareldon
