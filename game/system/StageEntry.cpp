#include "game/system/StageEntry.h"

#include "game/system/StageTable.h"

namespace mareldon {

StageEntry::StageEntry(const StageRow& row)
    : lightName(row.lightName),
      stageId(row.stageId),
      music(row.music),
      bossMusicTime(row.bossMusicTime),
      bossMusic(row.bossMusic),
      flagTime(row.flagTime),
      value3(row.value3),
      nearClip(row.nearClip),
      farClip(row.farClip),
      fieldOfView(row.fieldOfView) {}

}  // namespace mareldon
