#pragma once

#include <cstddef>

namespace mareldon {

// One row of the built-in stage table, in play order. Names are cp932 bytes.
struct StageRow {
    const char* lightName;
    const char* stageId;  // archive scene name; base of the ".lights" file name
    const char* music;    // empty: no stage music
    float bossMusicTime;  // stage time at which the boss music replaces the stage music
    const char* bossMusic;
    float timeLimitStart;
    float timeLimit;
    float nearClip;
    float farClip;
    float fieldOfView;  // vertical, radians; aspect 4/3
};

constexpr size_t kStageCount = 13;
extern const StageRow kStageRows[kStageCount];

}  // namespace mareldon
