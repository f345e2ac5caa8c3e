#include "game/screens/PlaceholderBackdrop.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/ShaderGenBase.h"
#include "engine/render/scene/CameraNode.h"
#include "game/objects/StaticModelPart.h"
#include "game/objects/StaticModelRoot.h"
#include "game/render/LightFile.h"
#include "game/render/NormalShaderGen.h"

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

}  // namespace

PlaceholderBackdrop::PlaceholderBackdrop(TaskObject& screen) {
    if (!screen.renderer || !screen.screenTarget)
        return;
    root = new StaticModelRoot(&screen);
    model = new StaticModelPart(root, kModelName);
    skinned = new StaticModelPart(root, kSkinnedModelName);
    skinned->SetPosition(kSkinnedPosition);
    LoadLightFile(root, screen.fileSystem, kLightFileName, nullptr);
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
    camera->AddView(RefPtr<RenderView>(
        new RenderView(screen.renderer, RefPtr<TextureBase>(screen.screenTarget), clear, normal, whole)));
}

void PlaceholderBackdrop::Step() {
    if (root != nullptr)
        root->StepAnimation();
}

void PlaceholderBackdrop::Draw() {
    if (root == nullptr)
        return;
    root->DrawHierarchy();
    camera->Render(root);
}

}  // namespace mareldon
