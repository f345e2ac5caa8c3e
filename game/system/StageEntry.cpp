#include "game/system/StageEntry.h"

#include "game/system/StageTable.h"

namespace mareldon {

StageEntry::StageEntry(const StageRow& row)
    : lightName(row.lightName),
      stageId(row.stageId),
      music(row.music),
      bossMusicTime(row.bossMusicTime),
      bossMusic(row.bossMusic),
      timeLimitStart(row.timeLimitStart),
      timeLimit(row.timeLimit),
      nearClip(row.nearClip),
      farClip(row.farClip),
      fieldOfView(row.fieldOfView) {}

}  // namespace mareldon
