#include "game/screens/PlaceholderBackdrop.h"

#include <memory>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/ShaderGenBase.h"
#include "engine/render/scene/CameraNode.h"
#include "game/objects/StaticModelPart.h"
#include "game/objects/StaticModelRoot.h"
#include "game/render/LightFile.h"
#include "game/render/LightWeightShaderGen.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ShadowmapNode.h"

namespace mareldon {

namespace {

constexpr float kNear = 1.0f;
constexpr float kFar = 100.0f;
constexpr float kFieldOfView = 0.8f;
// The screen is portrait: 640 / 480 across, 1 up.
constexpr float kXFactor = 4.0f / 3.0f;
constexpr float kYFactor = 1.0f;
constexpr float kCameraDistance = 6.0f;
// The bar runs 2 units along x from its origin: centred, under the cube.
constexpr Vec3 kSkinnedPosition{-1.0f, -2.1f, 0.0f};
constexpr float kGroundHeight = -2.6f;
// The swarm hovers behind and above the cube in two rows of eight, where nothing else
// is drawn, so every quad shows whatever pose the cube turns to.
constexpr float kSwarmDepth = 3.0f;
constexpr float kSwarmRows[2] = {2.85f, 3.4f};
constexpr float kSwarmLeft = -2.1f;
constexpr float kSwarmSpacing = 0.6f;

}  // namespace

PlaceholderBackdrop::PlaceholderBackdrop(TaskObject& screen) {
    if (!screen.renderer || !screen.screenTarget)
        return;
    root = new StaticModelRoot(&screen);
    model = new StaticModelPart(root, kModelName);
    skinned = new StaticModelPart(root, kSkinnedModelName);
    skinned->SetPosition(kSkinnedPosition);
    ground = new StaticModelPart(root, kGroundName);
    ground->SetPosition(Vec3{0.0f, kGroundHeight, 0.0f});
    for (int k = 0; k < kSwarmCount; ++k) {
        swarm[k] = new StaticModelPart(root, kSwarmName);
        swarm[k]->SetPosition(
            Vec3{kSwarmLeft + kSwarmSpacing * float(k % 8), kSwarmRows[k / 8], kSwarmDepth});
    }
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    LoadLightFile(root, screen.fileSystem, kLightFileName, &shadowMaps);
    if (!shadowMaps.empty()) {
        const float* p = ShadowmapNode::kDefaultParameters;
        shadow = new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr);
        shadow->ReadTracks(*shadowMaps.front());
    }
    camera = new CameraNode(root, kNear, kFar, kFieldOfView, kXFactor, kYFactor);
    // The camera looks along its +z axis, at the model from in front of it.
    camera->SetPosition(Vec3{0.0f, 0.0f, -kCameraDistance});
    ClearRecord clear;
    clear.flags = 0x3;  // colour and depth
    clear.color = kClearColour;
    clear.z = 1.0f;
    // An all-zero viewport covers the whole target.
    const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
    RefPtr<ShaderGenBase> normal(new NormalShaderGen(screen.renderer));
    RefPtr<RenderView> view(
        new RenderView(screen.renderer, RefPtr<TextureBase>(screen.screenTarget), clear, normal, whole));
    view->AddLayer("lightweight", RefPtr<ShaderGenBase>(new LightWeightShaderGen(screen.renderer)));
    camera->AddView(view);
}

void PlaceholderBackdrop::Step() {
    if (root != nullptr)
        root->StepAnimation();
}

void PlaceholderBackdrop::Draw() {
    if (root == nullptr)
        return;
    root->DrawHierarchy();
    // The shadow map first: the scene's materials sample it.
    if (shadow != nullptr)
        shadow->Camera().Render(root);
    camera->Render(root);
}

}  // namespace mareldon
