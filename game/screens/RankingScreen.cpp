#include "game/screens/RankingScreen.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr int32_t kStageIndex = 3;
constexpr float kDefaultHeight = 640.0f;
constexpr float kDefaultWidth = 480.0f;

}  // namespace

RankingScreen::RankingScreen(GameSystem* system, const String& breakInName, const String& successorName,
                             int32_t entry, int32_t listKind)
    : GameWorldScreen(system, breakInName, successorName, kStageIndex, kPlayReplay, entry, 0, 1),
      listKind_(listKind == 1 ? 1 : 0) {
    PlaceholderScreen::Report(Describe("RankingScreen", breakInName, successorName) + " " +
                              std::to_string(entry) + " " + std::to_string(listKind));
    SpawnPlayers(1);
    scrollY_ = -1.5f * (screenTarget ? float(screenTarget->Height()) : kDefaultHeight);
    clock_ = new StaticModelRoot(this);
    if (drawSet) {
        sheet_ = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "rank"));
        drawer_ = RefPtr<SpriteDrawer>(new SpriteDrawer(*drawSet, "shadingname", sheet_));
        for (int sprite = 0; sprite < RankingRows::kSpriteCount; ++sprite) {
            const char* name = RankingRows::SpriteName(sprite);
            sprites_[size_t(sprite)] = name[0] != 0 ? sheet_->FindOrNull(name) : nullptr;
        }
        auto size = [this](int sprite, float& w, float& h) {
            if (const SpriteRect* rect = sprites_[size_t(sprite)]) {
                w = rect->w;
                h = rect->h;
            }
        };
        size(RankingRows::kPlace0, sizes_.placeW, sizes_.placeH);
        size(RankingRows::kShip0, sizes_.shipW, sizes_.shipH);
        size(RankingRows::kStage, sizes_.stageW, sizes_.stageH);
        size(RankingRows::kStageNumber0, sizes_.numberW, sizes_.numberH);
        size(RankingRows::kNameGlyph0, sizes_.glyphW, sizes_.glyphH);
    }
}

RankingScreen::~RankingScreen() {
    drawer_ = RefPtr<SpriteDrawer>();
    sheet_ = RefPtr<SpriteSheet>();
}

float RankingScreen::GetClockTime() const {
    return clock_ != nullptr ? clock_->GetMotionTime() : 0.0f;
}

bool RankingScreen::CheckBreakIn(SceneTask& screen, const ScreenInput (&players)[2]) {
    GameSystem* system = screen.GetOwner();
    bool breakIn = players[0].Pressed(ScreenButton::kCoin) || players[0].Released(ScreenButton::kService) ||
                   players[1].Released(ScreenButton::kService);
    for (int mask = 1; mask <= 2 && !breakIn; ++mask) {
        breakIn = system->CanPlayerStart(mask) && players[mask - 1].Pressed(ScreenButton::kStart);
    }
    if (breakIn) {
        screen.RequestBreakIn("");
    }
    return breakIn;
}

void RankingScreen::OnUpdatePre() {
    if (scrollY_ < RankingRows::kScrollEnd) {
        scrollY_ += RankingRows::kScrollStep;
    }
    GameWorldScreen::OnUpdatePre();
    // Tested before the clock steps.
    if (int32_t(GetClockTime()) == kClockSeconds) {
        RequestSuccessor("");
    }
    CheckBreakIn(*this, players_);
    clock_->StepAnimation();
    SetupCamera();
}

void RankingScreen::OnDrawPre() {
    if (screenTarget) {
        ClearRecord clear;
        clear.flags = 0x3;
        clear.color = 0xFF000000u;
        clear.z = 1.0f;
        clear.stencil = 0;
        screenTarget->ClearAll(clear);
    }
    GameWorldScreen::OnDrawPre();
}

int RankingScreen::LayoutRow(int place, RankingRows::Item* out, RankingRows::Band& band) const {
    const float width = screenTarget ? float(screenTarget->Width()) : kDefaultWidth;
    const float y = scrollY_ + RankingRows::kRowPitch * float(place);
    if (listKind_ == 1) {
        const PairRankingEntry& entry = owner->GetPairRankingEntry(place);
        return RankingRows::Row(place, y, scrollY_, width, sizes_, entry.first, &entry.second, out, band);
    }
    return RankingRows::Row(place, y, scrollY_, width, sizes_, owner->GetRankingEntry(place), nullptr, out,
                            band);
}

void RankingScreen::OnDrawPost() {
    if (!drawer_ || !drawSet) {
        return;
    }
    constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
    if (const SpriteRect* title =
            sprites_[listKind_ == 1 ? RankingRows::kPairTitle : RankingRows::kSingleTitle]) {
        drawer_->DrawSprite(*title, {240.0f, 32.0f, 0.0f}, kWhite);
    }
    RankingRows::Item items[RankingRows::kMaxItems];
    RankingRows::Band band{};
    for (int place = 0; place < RankingRows::kRows; ++place) {
        const int count = LayoutRow(place, items, band);
        if (colorDrawer) {
            const ScreenColor& a = band.colour0;
            const ScreenColor& b = band.colour1;
            colorDrawer->DrawQuad({band.x0, band.y0, 0.2f, a.r, a.g, a.b, a.a},
                                  {band.x1, band.y1, 0.2f, b.r, b.g, b.b, b.a});
        }
        for (int i = 0; i < count; ++i) {
            const RankingRows::Item& item = items[i];
            if (const SpriteRect* rect = sprites_[size_t(item.sprite)]) {
                drawer_->DrawSpriteRect(*rect, {item.x0, item.y0, 0.0f}, {1.0f, 1.0f, 1.0f, item.alpha0},
                                        {item.x1, item.y1, 0.0f}, {1.0f, 1.0f, 1.0f, item.alpha1});
            }
        }
    }
    drawSet->Draw();
}

}  // namespace mareldon
