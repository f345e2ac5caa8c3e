#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

struct StageRow;

// One stage the game can run: the names its model, lights and music are found
// under, and the values stage play reads.
class StageEntry {
  public:
    explicit StageEntry(const StageRow& row);
    virtual ~StageEntry() = default;

    String lightName;
    String stageId;  // archive scene name; the light file is stageId + ".lights"
    String music;    // empty: no stage music
    float bossMusicTime;
    String bossMusic;
    float timeLimitStart;
    float timeLimit;
    float nearClip;
    float farClip;
    float fieldOfView;
};

using StageEntryHandle = RefPtr<StageEntry>;

}  // namespace mareldon
