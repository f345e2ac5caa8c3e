#include "game/screens/DemoPlayScreen.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr int32_t kStageIndex = 3;

}  // namespace

DemoPlayScreen::DemoPlayScreen(GameSystem* system, const String& breakInName, const String& successorName,
                               int32_t entry)
    : GameWorldScreen(system, breakInName, successorName, kStageIndex, kPlayReplay, entry, 0, 1) {
    PlaceholderScreen::Report(Describe("DemoPlayScreen", breakInName, successorName) + " " +
                              std::to_string(entry));
    EnableFreeBombs();
    SpawnPlayers(1);
    SpawnPlayers(2);
    if (drawSet) {
        sheet_ = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "game"));
        noticeDrawer_ = RefPtr<SpriteDrawer>(new SpriteDrawer(*drawSet, "shadingname", sheet_));
        // The display's sprites from the HUD drawer's own sheet, the notice from this one.
        const SpriteSheet* hudSheet = GetGameDrawer() != nullptr ? GetGameDrawer()->Sheet().Get() : nullptr;
        for (int sprite = 0; sprite < DemoPlayHud::kSpriteCount; ++sprite) {
            const SpriteSheet* from = sprite >= DemoPlayHud::kGameOver ? sheet_.Get() : hudSheet;
            sprites_[size_t(sprite)] =
                from != nullptr ? from->FindOrNull(DemoPlayHud::SpriteName(sprite)) : nullptr;
        }
    }
}

DemoPlayScreen::~DemoPlayScreen() {
    noticeDrawer_ = RefPtr<SpriteDrawer>();
    sheet_ = RefPtr<SpriteSheet>();
}

void DemoPlayScreen::OnUpdatePre() {
    GameWorldScreen::OnUpdatePre();
    if (GetStepCount() == kSteps) {
        RequestSuccessor("");
    }
    RankingScreen::CheckBreakIn(*this, players_);
}

void DemoPlayScreen::ReadHud(DemoPlayHud::State& state) const {
    state.pair = owner->IsPairMode();
    state.topScore = owner->GetTopScore();
    state.step = stepCount;
    for (int i = 0; i < 2; ++i) {
        const int mask = 1 << i;
        const PlayerRecord& record = owner->GetPlayer(mask);
        DemoPlayHud::Player& p = state.players[i];
        p.selectingShip = owner->IsPlayerSelectingShip(mask);
        p.panel = owner->IsPlayerInGame(mask) && !p.selectingShip && !owner->IsPlayerStatus12(mask) &&
                  !owner->IsPlayerStatus9To11(mask);
        p.shipType = record.shipType;
        p.shipStock = record.shipStock;
        p.bombStock = record.bombStock;
        p.multiplier = record.multiplier;
        p.score = record.score;
        p.continues = record.continueCount;
        const ReflectGauge& gauge = GetReflectGauge(i + 1);
        p.gaugeState = gauge.state;
        p.gaugeFill = gauge.value;
    }
}

void DemoPlayScreen::OnDrawPost() {
    DrawHudMinimal();
    const bool shown = notice_.Update(stepCount, owner->GetOperatingSettings().playMode == 1);
    if (!drawSet) {
        return;
    }
    if (shown && noticeDrawer_) {
        const int sprite = notice_.index == 0 ? DemoPlayHud::kGameOver : DemoPlayHud::kInsertCoin;
        if (const SpriteRect* rect = sprites_[size_t(sprite)]) {
            const float w = screenTarget ? float(screenTarget->Width()) : 480.0f;
            const float h = screenTarget ? float(screenTarget->Height()) : 640.0f;
            noticeDrawer_->DrawSprite(*rect, {w * 0.5f, h * 0.5f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f});
        }
    }
    DemoPlayHud::State state;
    ReadHud(state);
    const int count = DemoPlayHud::Layout(state, items_);
    TexturedScreenDrawer* drawer = GetGameDrawer();
    for (int i = 0; i < count; ++i) {
        const DemoPlayHud::Item& item = items_[i];
        if (item.kind == DemoPlayHud::Item::kBar) {
            if (colorDrawer) {
                const ScreenColor& c = item.colour;
                colorDrawer->DrawQuad({item.x0, item.y0, item.z, c.r, c.g, c.b, c.a},
                                      {item.x1, item.y1, item.z, c.r, c.g, c.b, c.a});
            }
            continue;
        }
        const SpriteRect* rect = sprites_[size_t(item.sprite)];
        if (rect == nullptr || drawer == nullptr) {
            continue;
        }
        if (item.kind == DemoPlayHud::Item::kCentred) {
            drawer->DrawSpriteScaled(*rect, {item.x0, item.y0, item.z});
        } else {
            drawer->DrawSprite(*rect, {item.x0, item.y0, item.z}, {item.x1, item.y1, item.z});
        }
    }
    drawSet->Draw();
}

}  // namespace mareldon
