#include <memory>
#include <vector>

#include "engine/core/Log.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/FlyController.h"
#include "game/render/LightFile.h"
#include "game/render/ShadowmapNode.h"
#include "game/render/SpriteSheet.h"
#include "game/render/TextureProjection.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/InputManager.h"

namespace mareldon {

namespace {

constexpr float kAspectX = 1.3333334f;
constexpr float kAspectY = 1.0f;
constexpr float kFlySpeedScale = 0.0125f;
constexpr uint32_t kFlyDevices = 16;
constexpr uint32_t kViewClearColour = 0xFF000000u;
constexpr int32_t kWaterViewSize = 256;
// -95 degrees about x: the default shadow map looks down on the field from above.
constexpr float kShadowPitch = -1.6580629f;
constexpr Vec3 kShadowPosition{0.0f, 20.0f, 0.0f};

// Generator numbers as the constructor builds them (1-based); 0 draws nothing.
enum Gen : int8_t {
    kNone = 0,
    kDefault = 1,
    kAdd = 2,
    kAlpha = 3,
    kUnlit = 4,
    kUnlitAdd = 5,
    kWater = 6,
    kScroll = 7,
    kLine = 9,
    kLwAlpha = 10,
    kLwAdd = 11,
    kLwAlpha2 = 12,
    kLwUnlit = 13,
    kLwUnlitAdd = 14,
};

struct LayerSpec {
    const char* group;
    Gen gen;
};

constexpr int32_t kMaxLayers = 10;

// One render view: the camera it belongs to, its default generator and its layers.
// Within a camera the rows are its views in render order.
struct ViewSpec {
    GameWorldScreen::CameraId camera;
    Gen fallback;
    LayerSpec layers[kMaxLayers];
};

using Cam = GameWorldScreen::CameraId;

// Which shading group each camera draws in which view, and with which generator. The
// opaque view (the one with a default) comes before the transparent groups.
constexpr ViewSpec kViews[] = {
    {Cam::kScene,
     kDefault,
     {{"nonshade", kUnlit},
      {"unseen", kNone},
      {"alphaface", kNone},
      {"zangai2x2", kNone},
      {"nonshadeaddsat", kNone},
      {"waterface", kNone},
      {"addsat", kNone}}},
    {Cam::kScene, kNone, {{"alphaface", kAlpha}, {"zangai2x2", kAlpha}, {"waterface", kWater}}},
    {Cam::kScene, kNone, {{"nonshadeaddsat", kUnlitAdd}, {"waterface", kAlpha}}},
    {Cam::kScene, kNone, {{"addsat", kAdd}, {"3dlines", kLine}}},

    {Cam::kBomb, kNone, {{"nonshadeaddsat2", kUnlitAdd}}},
    {Cam::kBomb,
     kDefault,
     {{"nonshade", kUnlit},
      {"nonshade2", kNone},
      {"unseen", kNone},
      {"alphaface", kNone},
      {"zangai2x2", kNone},
      {"nonshadeaddsat", kNone},
      {"nonshadeaddsat2", kNone},
      {"waterface", kNone},
      {"addsat", kNone}}},
    {Cam::kBomb, kNone, {{"alphaface", kAlpha}, {"zangai2x2", kAlpha}, {"waterface", kWater}}},
    {Cam::kBomb, kNone, {{"nonshadeaddsat", kUnlitAdd}, {"waterface", kAlpha}, {"nonshade2", kUnlitAdd}}},
    {Cam::kBomb, kNone, {{"addsat", kAdd}, {"3dlines", kLine}}},

    {Cam::kShip,
     kDefault,
     {{"nonshade", kLwUnlit}, {"alphaface", kNone}, {"nonshadeaddsat", kNone}, {"addsat", kNone}}},
    {Cam::kShip, kNone, {{"alphaface", kLwAlpha2}}},
    {Cam::kShip, kNone, {{"nonshadeaddsat", kLwUnlitAdd}}},
    {Cam::kShip, kNone, {{"addsat", kLwAdd}}},

    {Cam::kWater,
     kDefault,
     {{"nonshade", kUnlit},
      {"unseen", kNone},
      {"alphaface", kNone},
      {"waterface", kNone},
      {"nonshadeaddsat", kNone},
      {"addsat", kNone}}},
    {Cam::kWater, kNone, {{"alphaface", kAlpha}}},
    {Cam::kWater, kNone, {{"nonshadeaddsat", kUnlitAdd}}},
    {Cam::kWater, kNone, {{"addsat", kAdd}}},

    {Cam::kEffect,
     kLwAlpha,
     {{"nonshade", kLwUnlit},
      {"bullet0", kLwUnlit},
      {"unseen", kNone},
      {"alphaface", kNone},
      {"nonshadeaddsat", kNone},
      {"addsat", kNone},
      {"uvscroll4x2", kNone},
      {"uvscroll8x4", kNone},
      {"uvscroll8x8", kNone},
      {"UScroll8", kNone}}},
    {Cam::kEffect,
     kNone,
     {{"alphaface", kAlpha}, {"uvscroll4x2", kScroll}, {"uvscroll8x4", kScroll}, {"uvscroll8x8", kScroll}}},
    {Cam::kEffect, kNone, {{"nonshadeaddsat", kLwUnlitAdd}, {"bullet1", kLwAdd}, {"UScroll8", kLwUnlit}}},
    {Cam::kEffect, kNone, {{"addsat", kLwAdd}, {"bullet2", kLwAdd}}},
};

}  // namespace

RefPtr<ShaderGenBase> GameWorldScreen::GetGenerator(int32_t number) const {
    if (number < 1 || number > kGeneratorCount)
        return RefPtr<ShaderGenBase>();
    return generators[size_t(number - 1)];
}

CameraNode* GameWorldScreen::GetCamera(CameraId id) const {
    switch (id) {
        case CameraId::kScene:
            return sceneCamera;
        case CameraId::kBomb:
            return bombCamera;
        case CameraId::kShip:
            return shipCamera;
        case CameraId::kWater:
            return waterCamera;
        case CameraId::kEffect:
            return effectCamera;
    }
    return nullptr;
}

void GameWorldScreen::BuildCameraViews(CameraId id) {
    CameraNode* camera = GetCamera(id);
    // Without a renderer (a headless screen) there is nothing to draw with.
    if (camera == nullptr || !renderer)
        return;
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0;
    clear.color = kViewClearColour;
    clear.z = 1.0f;
    clear.stencil = 0;
    RefPtr<TextureBase> target(screenTarget);
    TextureViewport viewport{0, 0, 0, 0, 0.0f, 0.0f};
    if (id == CameraId::kWater) {
        target = RefPtr<TextureBase>(waterTarget);
        viewport = TextureViewport{0, 0, kWaterViewSize, kWaterViewSize, 0.0f, 1.0f};
    }
    for (const ViewSpec& spec : kViews) {
        if (spec.camera != id)
            continue;
        RefPtr<RenderView> view(
            new RenderView(renderer, target, clear, GetGenerator(spec.fallback), viewport));
        for (const LayerSpec& layer : spec.layers) {
            if (layer.group != nullptr)
                view->AddLayer(layer.group, GetGenerator(layer.gen));
        }
        camera->AddView(view);
    }
}

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
    // The stage scene stands in for a missing "Scene" or type-5 node.
    Object3D* sceneRoot = stageScene->sceneRoot;
    cameraRig = new Object3D(stageScene->keptTypeFiveNode, 0);

    const float nearClip = stageEntry ? stageEntry->nearClip : 1.0f;
    const float farClip = stageEntry ? stageEntry->farClip : 100.0f;
    const float fieldOfView = stageEntry ? stageEntry->fieldOfView : 0.5235988f;
    auto makeCamera = [&](CameraNode*& slot, CameraId id) {
        slot = new CameraNode(cameraRig, nearClip, farClip, fieldOfView, kAspectX, kAspectY);
        BuildCameraViews(id);
    };
    makeCamera(sceneCamera, CameraId::kScene);
    makeCamera(bombCamera, CameraId::kBomb);
    makeCamera(shipCamera, CameraId::kShip);
    makeCamera(waterCamera, CameraId::kWater);
    textureProjection = new TextureProjection(worldRoot, RefPtr<TextureBase>(waterTarget));
    makeCamera(effectCamera, CameraId::kEffect);

    LoadLights(sceneRoot);

    StaticModelRoot** parents[5] = {&playerShotParent, &itemParent, &effectParent, &underlayParent,
                                    &bomberParent};
    for (StaticModelRoot** parentSlot : parents) {
        *parentSlot = new StaticModelRoot(sceneRoot);
        // A root node starts at the identity; under the scene it takes the scene's frame.
        (*parentSlot)->InvalidateWorld();
    }
    // The first step projects through the stage as it stands at time 0.
    worldRoot->Animate();
    // The free camera's speed grows with the rig's height over the field. Keys never
    // reach the input manager as a keyboard, so the rig stays where the stage puts it.
    const float height = cameraRig->GetWorldMatrix()[7] - sceneRoot->GetWorldMatrix()[7];
    cameraRig->AddController(
        RefPtr<NodeController>(new FlyController(inputManager, kFlyDevices, height * kFlySpeedScale)));

    SetupCamera();
}

void GameWorldScreen::LoadLights(Object3D* sceneRoot) {
    shadowMapNode = nullptr;
    const float* p = ShadowmapNode::kDefaultParameters;
    auto makeShadowMap = [&] {
        return new ShadowmapNode(sceneRoot, p[0], p[1], p[2], p[3], p[4], p[5], nullptr);
    };
    const String fileName = (stageEntry ? stageEntry->stageId : String()) + String(".lights");
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    const bool fromFile = LoadLightFile(worldRoot, fileSystem, fileName, &shadowMaps);
    for (const std::unique_ptr<LightTracks>& record : shadowMaps) {
        shadowMapNode = makeShadowMap();
        shadowMapNode->ReadTracks(*record);
    }
    if (shadowMapNode != nullptr)
        return;
    shadowMapNode = makeShadowMap();
    // Without a light file the defaults stand as they are; a file without a shadow map
    // gets one above the field, looking down.
    if (fromFile) {
        shadowMapNode->rotationTrack.SetKey(0.0f, EulerToQuaternion(kShadowPitch, 0.0f, 0.0f));
        const float position[3] = {kShadowPosition.x, kShadowPosition.y, kShadowPosition.z};
        for (int axis = 0; axis < 3; ++axis)
            shadowMapNode->tracks[axis].SetKey(0.0f, position[axis], 0);
        shadowMapNode->ApplyTracks();
    }
}

}  // namespace mareldon
