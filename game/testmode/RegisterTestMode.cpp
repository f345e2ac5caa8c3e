#include "game/testmode/RegisterTestMode.h"

#include "game/system/GameSystem.h"
#include "game/system/SceneRegistry.h"
#include "game/testmode/TestModeScreen.h"

namespace mareldon {

void RegisterTestMode(SceneRegistry& registry) {
    registry.Add("testmode", [](GameSystem& system, const SceneSetup& at) -> SceneTask* {
        return new TestModeScreen(&system, at.breakIn, at.successor);
    });
}

}  // namespace mareldon
