#include "game/screens/EndingScreen.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr int32_t kStageIndex = 3;

}  // namespace

EndingScreen::EndingScreen(GameSystem* system, const String& breakInName, const String& successorName,
                           int32_t mode, int32_t entry)
    : GameWorldScreen(system, breakInName, successorName, kStageIndex, mode, entry, 1, 1) {
    PlaceholderScreen::Report(Describe("EndingScreen", breakInName, successorName) + " " +
                              std::to_string(mode) + " " + std::to_string(entry));
    owner->AddStartLock();
    for (int mask = 1; mask <= 2; ++mask) {
        PlayerRecord& record = owner->GetPlayer(mask);
        if (record.shipStock != 0) {
            record.shipStock = 0;
            owner->StartNameEntry(mask);
        }
    }
    if (drawSet) {
        sheet_ = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "ending"));
        drawer_ = RefPtr<SpriteDrawer>(new SpriteDrawer(*drawSet, "shadingname", sheet_));
        picture_ = sheet_->FindOrNull("endingback");
    }
}

EndingScreen::~EndingScreen() {
    owner->ReleaseStartLock();
    drawer_ = RefPtr<SpriteDrawer>();
    sheet_ = RefPtr<SpriteSheet>();
}

bool EndingScreen::IsShowingPicture() const {
    return owner->IsPlayerStatus12(1) || owner->IsPlayerStatus12(2);
}

void EndingScreen::OnUpdatePre() {
    GameWorldScreen::OnUpdatePre();
    if (IsCurrentScene() && !owner->IsPlayerInGame(1) && !owner->IsPlayerInGame(2) && !IsShowingPicture()) {
        RequestSuccessor("gameover");
        SetExitCountdown(kExitCountdown);
    }
    if (players_[0].Pressed(kNoClearToggle)) {
        noClear_ = !noClear_;
        SetNoClear(noClear_);
    }
}

void EndingScreen::OnDrawPost() {
    if (!IsShowingPicture()) {
        return;
    }
    DrawHud();
    if (drawer_ && picture_ != nullptr) {
        const float w = screenTarget ? float(screenTarget->Width()) : 480.0f;
        const float h = screenTarget ? float(screenTarget->Height()) : 640.0f;
        drawer_->DrawSprite(*picture_, {w * 0.5f, h * 0.5f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f});
    }
    if (drawSet) {
        drawSet->Draw();
    }
}

}  // namespace mareldon
