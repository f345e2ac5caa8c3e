// The credit overlay: drawn by the game system over its scenes, and the drawing
// resources it uses.
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/SceneTask.h"

namespace mareldon {

namespace {

constexpr float kOverlayY = 625.0f;
constexpr float kDigitOffset = 48.0f;
constexpr uint32_t kOverlayClearColour = 0xFF000000;

constexpr const char* kOverlayNames[GameSystem::kOverlaySpriteCount] = {
    "credit",           "FreePlay_002",     "Enjoy",
    "1016_Coin_kazu_0", "1016_Coin_kazu_1", "1016_Coin_kazu_2",
    "1016_Coin_kazu_3", "1016_Coin_kazu_4", "1016_Coin_kazu_5",
    "1016_Coin_kazu_6", "1016_Coin_kazu_7", "1016_Coin_kazu_8",
    "1016_Coin_kazu_9"};
constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

const char* GameSystem::OverlaySpriteName(int sprite) {
    return sprite >= 0 && sprite < kOverlaySpriteCount ? kOverlayNames[sprite] : "";
}

void GameSystem::SetScreenViewport() {
    if (screenTarget) {
        screenTarget->SetViewport(TextureViewport{0, 0, kScreenWidth, kScreenHeight, 0.0f, 1.0f});
    }
}

void GameSystem::SetFullViewport() {
    if (screenTarget) {
        screenTarget->SetViewport(
            TextureViewport{0, 0, screenTarget->Width(), screenTarget->Height(), 0.0f, 1.0f});
    }
}

void GameSystem::BuildOverlay() {
    // Without a screen there is nothing to draw on.
    if (!renderer || !screenTarget) {
        return;
    }
    overlayGenerator_ = NormalShaderGen::NormalShaderGenAlt(renderer);
    overlayDrawSet_ = RefPtr<SceneDrawSet>(new SceneDrawSet(renderer));
    ClearRecord clear = RenderView::DefaultClear();
    clear.color = kOverlayClearColour;
    clear.z = 1.0f;
    // Its flags stay 0: the overlay is drawn over the scenes, never clears them.
    const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
    overlayDrawSet_->AddView(RefPtr<RenderView>(
        new RenderView(renderer, RefPtr<TextureBase>(screenTarget), clear, overlayGenerator_, whole)));
    overlaySheet_ = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "systemimage"));
    overlayDrawer_ = RefPtr<SpriteDrawer>(new SpriteDrawer(*overlayDrawSet_, "shadingname", overlaySheet_));
    for (int sprite = 0; sprite < kOverlaySpriteCount; ++sprite) {
        overlayRects_[size_t(sprite)] = &overlaySheet_->Find(kOverlayNames[sprite]);
    }
}

int GameSystem::CollectOverlay(float width, OverlaySprite (&out)[2]) const {
    const bool shown = attentionTimer_ > 0 || (attract_ && IsFreePlay());
    if (!shown || errorShown_ || currentSceneName_.Equals("testmode") || currentSceneName_.Equals("quit")) {
        return 0;
    }
    const float centre = width * 0.5f + 1.0f;
    if (IsFreePlay()) {
        if (currentSceneName_.Equals("notice") || currentSceneName_.Equals("boot")) {
            return 0;
        }
        out[0] = {kFreePlaySprite, centre, kOverlayY};
        return 1;
    }
    const auto hasStatus = [this](int status) {
        return GetPlayerStatus(1) == status || GetPlayerStatus(2) == status;
    };
    if (hasStatus(8) || hasStatus(11)) {
        if (IsPlayerStatus9To11(1) || IsPlayerStatus9To11(2)) {
            out[0] = {kEnjoySprite, centre, kOverlayY};
            return 1;
        }
        return 0;
    }
    const int credits = GetCredits() < kMaxCredits ? GetCredits() : kMaxCredits;
    out[0] = {kCreditSprite, centre, kOverlayY};
    out[1] = {kDigitSprite0 + (credits < 0 ? 0 : credits), width * 0.5f + kDigitOffset, kOverlayY};
    return 2;
}

void GameSystem::DrawCredits() {
    if (!resourcesLoaded_) {
        return;
    }
    if (overlayDrawSet_) {
        OverlaySprite sprites[2];
        const int count = CollectOverlay(float(screenTarget->Width()), sprites);
        for (int i = 0; i < count; ++i) {
            overlayDrawer_->DrawSprite(*overlayRects_[size_t(sprites[i].sprite)],
                                       Vec3{sprites[i].x, sprites[i].y, 0.0f}, kWhite);
        }
        overlayDrawSet_->Draw();
    }
    SetFullViewport();
}

}  // namespace mareldon
