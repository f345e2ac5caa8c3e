#include "game/system/StageStart.h"

#include "engine/core/Log.h"
#include "game/system/StageTable.h"

namespace mareldon {

namespace {

// Digits up to `stop` (or the end); false when there are none, anything else
// stands in the way, or the value reaches `limit`.
bool ParseBelow(const char*& p, char stop, int32_t limit, int32_t& value) {
    int64_t result = 0;
    const char* start = p;
    while (*p != '\0' && *p != stop) {
        if (*p < '0' || *p > '9')
            return false;
        result = result * 10 + (*p - '0');
        if (result >= limit)
            return false;
        ++p;
    }
    if (p == start)
        return false;
    value = int32_t(result);
    return true;
}

}  // namespace

bool ParseStageStart(const char* text, int32_t stageCount, StageStart& out) {
    out = StageStart{};
    if (text == nullptr)
        return false;
    StageStart parsed;
    const char* p = text;
    if (!ParseBelow(p, ':', stageCount, parsed.stage))
        return false;
    if (*p == ':') {
        ++p;
        if (!ParseBelow(p, '\0', StageStart::kShipTypes, parsed.shipType))
            return false;
    }
    out = parsed;
    return true;
}

StageStart ReadStageStart(const char* value) {
    StageStart start;
    if (value != nullptr && !ParseStageStart(value, int32_t(kStageCount), start)) {
        LOG_WARN("scene", "MARELDON_STAGE=\"%s\" ignored: expected N or N:SHIP, N 0-%d, SHIP 0-%d", value,
                 int(kStageCount) - 1, StageStart::kShipTypes - 1);
    }
    return start;
}

}  // namespace mareldon
