#include "engine/render/scene/CameraNode.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

namespace {

constexpr float kAspectX = 1.3333334f;
constexpr float kAspectY = 1.0f;

}  // namespace

void GameWorldScreen::LoadStage() {
    timeLimitRunning = 0;
    timeLimitEnabled = 1;
    timeLimit = stageEntry ? stageEntry->timeLimit : 0.0f;
    cleared = 0;
    clearCountdown = kClearCountdown;

    for (PlayerShip*& ship : ships) {
        delete ship;
        ship = nullptr;
    }
    worldRoot->DeleteChildren();
    worldRoot->timeScale = 1.0f;
    worldRoot->SetMotionTime(0.0f);
    for (int player = 0; player < 2; ++player) {
        popupGroups[player]->DeleteChildren();
        gravityGroups[player]->DeleteChildren();
        newestPopups[player] = nullptr;
        newestGravitySprites[player] = nullptr;
    }

    const String modelName = stageEntry ? stageEntry->stageId : String();
    stageScene = new StageScene(worldRoot, this, uint32_t(stageEntryIndex), stageEntry, modelName);
    cameraRig = new Object3D(stageScene->keptTypeFiveNode, 0);
    // The other cameras and every render view come with the drawing pass.
    const float nearClip = stageEntry ? stageEntry->nearClip : 1.0f;
    const float farClip = stageEntry ? stageEntry->farClip : 100.0f;
    const float fieldOfView = stageEntry ? stageEntry->fieldOfView : 0.5235988f;
    sceneCamera = new CameraNode(cameraRig, nearClip, farClip, fieldOfView, kAspectX, kAspectY);

    Object3D* sceneRoot = stageScene->sceneRoot;
    StaticModelRoot** parents[5] = {&playerShotParent, &itemParent, &effectParent, &underlayParent,
                                    &bomberParent};
    for (StaticModelRoot** parentSlot : parents) {
        *parentSlot = new StaticModelRoot(sceneRoot);
        // A root node starts at the identity; under the scene it takes the scene's frame.
        (*parentSlot)->InvalidateWorld();
    }
    // The first step projects through the stage as it stands at time 0.
    worldRoot->Animate();
    SetupCamera();
}

}  // namespace mareldon
