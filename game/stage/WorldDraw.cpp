#include "engine/render/draw/SceneDrawSet.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/ShadowmapNode.h"
#include "game/render/SpriteSheet.h"
#include "game/render/TextureProjection.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

namespace {

// Shared by every world screen: the water texture is redrawn every other frame
// whichever screen draws it.
uint8_t waterParity = 0;

constexpr float kBoundaryWaterTime = 20.0f;

ClearRecord MakeClear(uint32_t flags, uint32_t colour) {
    ClearRecord clear;
    clear.flags = flags;
    clear.color = colour;
    clear.z = 1.0f;
    clear.stencil = 0;
    return clear;
}

void Detach(TreeNode* node) {
    if (node != nullptr)
        node->Attach(nullptr, 0);
}

}  // namespace

void GameWorldScreen::ResetWaterParity() {
    waterParity = 0;
}

void GameWorldScreen::OnDrawPre() {
    DrawWorld();
}

void GameWorldScreen::DrawWorld() {
    // A screen that never loaded a stage with its cameras draws only its bullets.
    if (stageScene == nullptr || sceneCamera == nullptr || underlayParent == nullptr) {
        DrawSparks();
        DrawScoreChips();
        DrawEnemyBullets();
        DrawReflectedBullets();
        return;
    }
    Object3D* sceneRoot = stageScene->sceneRoot;
    // With the stage scene standing in for "Scene", the scene pass draws it in place.
    const bool ownSceneRoot = sceneRoot != stageScene;
    const bool live = livePlay != 0;
    // Each pass is noted by camera and subtree ("all": whatever is still attached).
    auto render = [this](CameraNode* camera, const char* cameraName, Object3D* root, const char* rootName) {
        if (camera == nullptr)
            return;
        Note("Render", "%s %s", cameraName, root != nullptr ? rootName : "all");
        camera->Render(root);
    };
    auto clear = [this](TextureBase* target, const char* targetName, const ClearRecord& record) {
        if (target == nullptr)
            return;
        Note("Clear", "%s %u", targetName, record.flags);
        target->Clear(record);
    };

    if (textureProjection != nullptr && waterCamera != nullptr)
        ComputeProjectiveTextureMatrix(textureProjection->projection, *waterCamera);
    worldRoot->DrawHierarchy();

    StaticModelRoot* spawnParents[5] = {underlayParent, effectParent, itemParent, playerShotParent,
                                        bomberParent};
    for (StaticModelRoot* parent : spawnParents)
        Detach(parent);
    if (shadowMapNode != nullptr)
        render(&shadowMapNode->Camera(), "shadow", nullptr, "all");
    if (ownSceneRoot)
        Detach(sceneRoot);
    if (live) {
        for (PlayerShip* ship : ships)
            Detach(ship);
    }

    const ClearRecord screenClear = MakeClear(3, 0);
    const ClearRecord depthClear = MakeClear(2, 0xFF000000u);
    auto clearScreen = [&] {
        if (live)
            clear(screenTarget.Get(), "screen", screenClear);
    };
    Object3D* underWater = stageScene->underWaterNode;
    Object3D* boundaryWater = stageScene->boundaryWaterNode;
    const bool water = underWater != nullptr ||
                       (boundaryWater != nullptr && worldRoot->GetMotionTime() < kBoundaryWaterTime);
    if (water) {
        clear(waterTarget.Get(), "water", depthClear);
        waterParity = uint8_t((waterParity - 1) & 1);
        if (waterParity == 1) {
            render(waterCamera, "water", boundaryWater, "boundary");
            if (underWater != nullptr)
                render(waterCamera, "water", underWater, "underwater");
        }
        TreeNode* underWaterParent = underWater != nullptr ? underWater->parent : nullptr;
        Detach(underWater);
        clearScreen();
        render(sceneCamera, "scene", nullptr, "all");
        if (underWater != nullptr)
            underWater->Attach(underWaterParent, 0);
    } else {
        clearScreen();
        render(sceneCamera, "scene", nullptr, "all");
    }

    if (bombActive) {
        render(bombCamera, "bomb", bomberParent, "bomber");
        clear(screenTarget.Get(), "screen", depthClear);
    }
    render(effectCamera, "effect", underlayParent, "underlay");
    if (ownSceneRoot)
        render(sceneCamera, "scene", sceneRoot, "scene");
    render(effectCamera, "effect", effectParent, "effects");
    if (drawSet) {
        Note("Render", "drawset");
        drawSet->Draw();
    }
    render(effectCamera, "effect", playerShotParent, "shots");
    if (live) {
        if (ships[0] != nullptr)
            render(shipCamera, "ship", ships[0], "ship1");
        if (ships[1] != nullptr)
            render(shipCamera, "ship", ships[1], "ship2");
    }
    DrawSparks();
    render(effectCamera, "effect", itemParent, "items");
    DrawScoreChips();
    DrawEnemyBullets();
    DrawReflectedBullets();

    // Equal priorities go last among their siblings, so the spawn parents and the
    // ships end the scene's children, in this order, after every frame.
    underlayParent->Attach(sceneRoot, 0);
    if (ownSceneRoot)
        sceneRoot->Attach(worldRoot, 0);
    effectParent->Attach(sceneRoot, 0);
    bomberParent->Attach(sceneRoot, 0);
    playerShotParent->Attach(sceneRoot, 0);
    if (live) {
        for (PlayerShip* ship : ships) {
            if (ship != nullptr)
                ship->Attach(sceneRoot, 0);
        }
    }
    itemParent->Attach(sceneRoot, 0);
}

}  // namespace mareldon
