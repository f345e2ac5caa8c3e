// The input watch: once a step, before the scenes, the game system takes coins,
// service credits and the test and error switches from the board.
#include "engine/render/device/GraphicsDevice.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/SceneTask.h"
#include "game/system/SoundIds.h"

namespace mareldon {

void GameSystem::RingCoinChime() {
    SeSlot& chime = seSlots_[kSeCoinChime];
    if (chime.counter <= 0) {
        chime.counter = kSeGuardSteps;
        chime.cue.Stop();
        chime.cue.Play(0);
    }
    attentionTimer_ = kAttentionSteps;
}

void GameSystem::WatchInputs() {
    SetScreenViewport();
    if (!resourcesLoaded_) {
        return;
    }
    TickSeCounters();
    if (errorShown_) {
        // An error screen is up: the inputs are read no more.
        if (inputManager != nullptr) {
            inputManager->enabled = false;
        }
        return;
    }
    if (attentionTimer_ > 0) {
        --attentionTimer_;
    }
    const ButtonSet first = GetSystemButtons(0);
    const ButtonSet second = GetSystemButtons(1);
    const bool inTestMode = currentSceneName_.Equals("testmode");
    if (!inTestMode && (first.pressed & SystemButton::kCoin)) {
        AddCoin();
        RingCoinChime();
    }
    if (!inTestMode && ((first.released | second.released) & SystemButton::kService)) {
        if (operating_.continueCoins == 10) {
            AddServiceCredit();
        } else {
            AddCoin();
        }
        RingCoinChime();
    }
    if (!inTestMode && (first.pressed & SystemButton::kTest)) {
        // The running scene goes at once, before it could update this step.
        delete currentScene_;
        currentScene_ = nullptr;
        requestedSceneName_ = "testmode";
    }
    if (!inTestMode && (first.held & SystemButton::kCoinError)) {
        DeleteAllChildren();
        requestedSceneName_ = "coinerror";
    }
    if (first.held & SystemButton::kIoError) {
        DeleteAllChildren();
        requestedSceneName_ = "i/oerror";
    }
    if (graphicsDevice) {
        // No cabinet input reaches these keys; a keyboard on the PC does.
        if (first.pressed & SystemButton::kTurnLeft) {
            graphicsDevice->SetRotation((graphicsDevice->GetRotation() + 3) % 4);
        }
        if (first.pressed & SystemButton::kTurnRight) {
            graphicsDevice->SetRotation((graphicsDevice->GetRotation() + 1) % 4);
        }
        if (first.pressed & SystemButton::kWindowToggle) {
            graphicsDevice->SetWindowed(graphicsDevice->IsWindowed() == 0 ? 2 : 0);
        }
    }
}

}  // namespace mareldon
