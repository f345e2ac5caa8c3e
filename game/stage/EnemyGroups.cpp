#include "game/stage/EnemyGroups.h"

namespace mareldon {

bool EnemyGroups::JoinGroup(int32_t group, uint8_t number) {
    if (!IsGroup(group))
        return false;
    if (counts[group] == 0) {
        owners[group] = number;
        counts[group] = 1;
        return true;
    }
    if (owners[group] != number)
        return false;
    ++counts[group];
    return true;
}

void EnemyGroups::LeaveGroup(int32_t group) {
    if (IsGroup(group) && counts[group] > 0)
        --counts[group];
}

int32_t EnemyGroups::GetCount(int32_t group) const {
    return IsGroup(group) ? counts[group] : 0;
}

uint8_t EnemyGroups::GetOwner(int32_t group) const {
    return IsGroup(group) ? owners[group] : 0;
}

}  // namespace mareldon
