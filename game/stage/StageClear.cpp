#include <cmath>

#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/system/GameSystem.h"
#include "game/system/SceneRegistry.h"

namespace mareldon {

void GameWorldScreen::LoadStageMusic() {
    if (!musicOn || !stageEntry)
        return;
    ResourceManager* resources = renderer.Get();
    bossCue = SoundCueRef(resources, soundBox, stageEntry->bossMusic);
    clearCue = SoundCueRef(resources, soundBox, "crear");
    nameCue = SoundCueRef(resources, soundBox, "name");
    continueCue = SoundCueRef(resources, soundBox, "conti");
    if (stageEntry->music.IsEmpty())
        return;
    stageCue = SoundCueRef(resources, soundBox, stageEntry->music);
    currentCue = stageCue;
    StartCue(currentCue, stageEntry->music.Text(), 0);
}

void GameWorldScreen::BeginStageClear() {
    if (cleared || noClear)
        return;
    // Truncated toward zero; a clear reached below zero keeps 0.
    clearTime = int32_t(std::trunc(GetTimeLeft()));
    cleared = 1;
    if (owner != nullptr)
        owner->SetStartBlocked(true);
    for (PlayerShip* ship : ships) {
        if (ship != nullptr)
            ship->SetProtection(kClearProtection, 1);
    }
    Note("BeginStageClear", "%d", clearTime);
    if (musicOn && !currentCue.IsEmpty()) {
        StopCue(currentCue, "current");
        StartCue(clearCue, "crear", 0);
        currentCue = clearCue;
    }
    // The result overlay lives above this layer; the scene registry builds it.
    const SceneRegistry* scenes = owner != nullptr ? owner->GetScenes() : nullptr;
    if (scenes != nullptr && scenes->stageResult != nullptr)
        scenes->stageResult(*this, *this);
}

void GameWorldScreen::StopAllMusic() {
    StopCue(currentCue, "current");
    StopCue(nameCue, "name");
    StopCue(continueCue, "conti");
}

void GameWorldScreen::StopStageMusic() {
    StopCue(currentCue, "current");
    currentCue = SoundCueRef();
}

}  // namespace mareldon
