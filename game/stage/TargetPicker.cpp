#include "game/stage/TargetPicker.h"

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

AttackTarget* TargetPicker::PickRandomTarget() {
    if (screen == nullptr)
        return nullptr;
    const HitList<AttackTarget>& targets = screen->HitLists().targets;
    for (int32_t tries = 0; tries < targets.Count(); ++tries) {
        const uint32_t count = uint32_t(targets.Count());
        AttackTarget* target = targets.Entries()[screen->GetRandom().Next() % count].object;
        if (target != nullptr && target->IsLiveTarget())
            return target;
    }
    return nullptr;
}

}  // namespace mareldon
