#include "game/screens/ResultScreen.h"

#include <algorithm>

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"
#include "game/system/ResultWorld.h"

namespace mareldon {

namespace {

enum Sprite {
    kResult,
    kBonus,
    kTime,
    kShootdown,
    kBombStock,
    kTotal,
    kStageBanner,
    kClearBanner,
    kNoBonus,
    kPerfectBonus,
    kTimes,
    kPercent,
    kBomb,
    kMultiplier,
    kPairLine,
    kP1Line,
    kP2Line,
    kP1,
    kP2,
    kPair,
    kNumberGlyph0,
    kSpriteCount = kNumberGlyph0 + NumberLayout::kGlyphCount
};
constexpr const char* kNames[kNumberGlyph0] = {"RESULT",
                                               "BONUS",
                                               "Time",
                                               "SHOOTDOWN",
                                               "BombStock",
                                               "sonota_total",
                                               "stageclear_stage",
                                               "stageclear_clear",
                                               "NoBonus",
                                               "PerfectBonus",
                                               "1616_resu_tani_kakeru",
                                               "2424_resu_kazu_siro_par",
                                               "sonota_bomb",
                                               "sonota_bairitu",
                                               "1P2P_syou",
                                               "1P_syou",
                                               "2P_syou",
                                               "1P",
                                               "2P",
                                               "1P2P"};

ResultTally::Entry EntryOf(GameSystem& system, ResultWorld& world, int mask) {
    const bool counted = ResultScreen::IsCounted(system, mask);
    return {counted, counted ? world.GetKillPercent(mask) : 0, system.GetPlayer(mask).bombStock};
}

ResultTally MakeTally(GameSystem& system, ResultWorld& world) {
    const ResultTally::Entry players[2] = {EntryOf(system, world, 1), EntryOf(system, world, 2)};
    return ResultTally(world.GetClearTime(), system.IsPairMode(), players);
}

}  // namespace

std::span<const char* const> ResultScreen::LabelSpriteNames() {
    return kNames;
}

bool ResultScreen::IsCounted(const GameSystem& system, int mask) {
    return system.IsPlayerInGame(mask) && !system.IsPlayerStatus12(mask) &&
           !system.IsPlayerStatus9To11(mask) && !system.IsPlayerSelectingShip(mask);
}

ResultScreen::ResultScreen(SystemTask* worldScreen, ResultWorld& world)
    : SystemTask(worldScreen, 0), world_(world), tally_(MakeTally(*worldScreen->GetOwner(), world)) {
    PlaceholderScreen::Report("ResultScreen");
    owner->AddStartLock();
    if (result_ != nullptr) {
        std::vector<const char*> names(kNames, kNames + kNumberGlyph0);
        for (int glyph = 0; glyph < NumberLayout::kGlyphCount; ++glyph) {
            names.push_back(NumberLayout::SpriteName(glyph));
        }
        sprites_ = ScreenDrawKit::FindSprites(result_, names);
    }
}

ResultScreen::~ResultScreen() {
    owner->ReleaseStartLock();
    owner->SetStartBlocked(false);
}

void ResultScreen::OnUpdatePre() {
    tally_.Update(GetStepCount(), *this);
}

int ResultScreen::Multiplier(int mask) {
    return owner->GetPlayer(mask).multiplier;
}
void ResultScreen::PlaySe(int id) {
    owner->PlaySe(id);
}
void ResultScreen::AddScore64(int mask, uint64_t value) {
    world_.AddScore64(mask, value);
}
void ResultScreen::AddScoreRaw(int mask, uint64_t value) {
    world_.AddScoreRaw(mask, value);
}
void ResultScreen::SavePlayerRecords() {
    owner->SavePlayerRecords();
}
void ResultScreen::StopStageMusic() {
    world_.StopStageMusic();
}

void ResultScreen::Sprite(int id, float x, float y, float depth, float alpha) {
    result_->DrawSprite(*sprites_[size_t(id)], Vec3{x, y, depth}, ScreenColor{1.0f, 1.0f, 1.0f, alpha});
}

void ResultScreen::Label(int id, float x, float y, float depth) {
    const SpriteRect& rect = *sprites_[size_t(id)];
    const ScreenColor white{1.0f, 1.0f, 1.0f, 1.0f};
    result_->DrawSpriteRect(rect, Vec3{x, y, depth}, white, Vec3{x + rect.w, y + rect.h, depth}, white);
}

void ResultScreen::Number(uint64_t value, int style, float x, float y, float depth) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    const int count = NumberLayout::Number(value, style, 0, x, y, glyphs);
    for (int i = 0; i < count; ++i) {
        Sprite(kNumberGlyph0 + glyphs[i].sprite, glyphs[i].x, glyphs[i].y, depth);
    }
}

void ResultScreen::Formula(uint64_t value, uint64_t unit, float valueX, float timesX, float unitX, float y) {
    Number(value, 0, valueX, y, 0.0f);
    Sprite(kTimes, timesX, y, 0.0f);
    Number(unit, 0, unitX, y, 0.0f);
}

void ResultScreen::Score(uint64_t score, int continues, float x, float y) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    const int count = NumberLayout::Score(score, continues, x, y, glyphs);
    const ScreenColor white{1.0f, 1.0f, 1.0f, 1.0f};
    for (int i = 0; i < count; ++i) {
        const NumberLayout::Glyph& g = glyphs[i];
        result_->DrawSpriteRect(*sprites_[size_t(kNumberGlyph0 + g.sprite)], Vec3{g.x, g.y, 0.0f}, white,
                                Vec3{g.x + g.w, g.y + g.h, 0.0f}, white);
    }
}

void ResultScreen::OnDrawPost() {
    if (result_ == nullptr) {
        return;
    }
    const float w = kit_.Width();
    const float h = kit_.Height();
    const float a = tally_.HasStarted() ? 0.5f : 0.0f;
    panel_->DrawQuad(ColoredVertex{0.0f, 88.0f, 0.001f, 0.0f, 0.0f, 0.0f, a},
                     ColoredVertex{w, h - 32.0f, 0.001f, 0.0f, 0.0f, 0.0f, a});
    if (tally_.IsRowShown(0)) {
        Label(kResult, 8.0f, 94.0f, 0.0f);
    }
    if (tally_.IsFinished()) {
        DrawFinal();
        kit_.Draw();
        return;
    }
    const float band = 0.75f * a;
    for (const float top : {187.0f, 279.0f, 370.0f, 472.0f}) {
        panel_->DrawQuad(ColoredVertex{16.0f, top, 0.001f, 0.75f, 0.75f, 0.75f, band},
                         ColoredVertex{w - 16.0f, top + 32.0f, 0.001f, 0.75f, 0.75f, 0.75f, band});
    }
    if (tally_.HasStarted() && tally_.GetTallySecond() > 0) {
        panel_->DrawQuad(ColoredVertex{8.0f, 464.0f, 0.001f, 1.0f, 1.0f, 1.0f, 1.0f},
                         ColoredVertex{w - 8.0f, 466.0f, 0.001f, 1.0f, 1.0f, 1.0f, 1.0f});
    }
    if (tally_.IsRowShown(0)) {
        Label(kBonus, 160.0f, 154.0f, 0.0f);
        Label(kTime, 210.0f, 187.0f, 0.0f);
        Label(kShootdown, 96.0f, 279.0f, 0.0f);
        Label(kBombStock, 100.0f, 370.0f, 0.0f);
        Label(kTotal, 172.0f, 472.0f, 0.0f);
    }
    const float bannerAlpha = tally_.HasStarted() ? 0.25f : 1.0f;
    Sprite(kStageBanner, tally_.GetStageBannerX(), 256.0f, 0.0001f, bannerAlpha);
    Sprite(kClearBanner, tally_.GetClearBannerX(), 384.0f, 0.0001f, bannerAlpha);
    if (tally_.IsPairMode()) {
        DrawPairRows();
    } else {
        for (int i = 0; i < 2; ++i) {
            DrawPlayerRows(i);
        }
    }
    kit_.Draw();
}

void ResultScreen::DrawFinal() {
    if (tally_.IsPairMode()) {
        Sprite(kPair, 128.0f, 244.0f, 0.0f);
        const PlayerRecord& first = owner->GetPlayer(1);
        const PlayerRecord& second = owner->GetPlayer(2);
        Score(first.score + second.score, std::min(first.continueCount + second.continueCount, 9), 454.0f,
              284.0f);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const float y = 128.0f * float(i);
        Sprite(i == 0 ? kP1 : kP2, 128.0f, 244.0f + y, 0.0f);
        const PlayerRecord& record = owner->GetPlayer(1 << i);
        if (tally_.GetPlayer(i).counted) {
            Score(record.score, record.continueCount, 454.0f, 284.0f + y);
        } else {
            Score(0, 0, 454.0f, 284.0f + y);
        }
    }
}

void ResultScreen::DrawPairRows() {
    const ResultTally::Player& first = tally_.GetPlayer(0);
    const ResultTally::Player& second = tally_.GetPlayer(1);
    if (tally_.IsRowShown(1)) {
        Number(uint64_t(first.clearTime), 4, 176.0f, 235.0f, 0.0f);
        if (first.clearTime == 0) {
            Sprite(kNoBonus, 160.0f, 263.0f, 0.0f);
        } else {
            Formula(uint64_t(first.clearTime), ResultTally::kTimeUnit, 112.0f, 124.0f, 208.0f, 259.0f);
        }
        Number(first.timeBonus, 3, 376.0f, 251.0f, 0.0f);
    }
    if (tally_.IsRowShown(2)) {
        const int kills = first.killPercent + second.killPercent;
        Number(uint64_t(kills), 4, 176.0f, 327.0f, 0.0f);
        Sprite(kPercent, 192.0f, 327.0f, 0.0f);
        if (kills == 100 || kills == 0) {
            Sprite(kills == 100 ? kPerfectBonus : kNoBonus, 160.0f, 355.0f, 0.0f);
        } else {
            Formula(uint64_t(kills), ResultTally::kShootdownUnit, 116.0f, 128.0f, 208.0f, 351.0f);
        }
        Number(first.shootdownBonus + second.shootdownBonus, 3, 376.0f, 343.0f, 0.0f);
    }
    if (tally_.IsRowShown(3)) {
        Sprite(kBomb, 157.0f, 418.0f, 0.0f);
        Sprite(kTimes, 176.0f, 422.0f, 0.0f);
        int stock = 0;
        for (int mask = 1; mask <= 2; ++mask) {
            const int bombs = owner->GetPlayer(mask).bombStock;
            if (owner->IsPlayerInGame(mask) && !owner->IsPlayerStatus12(mask) &&
                !owner->IsPlayerStatus9To11(mask) && bombs != ResultTally::kInfiniteBombs) {
                stock += bombs;
            }
        }
        Number(uint64_t(stock), 4, 208.0f, 418.0f, 0.0f);
        if (stock == 0) {
            Sprite(kNoBonus, 160.0f, 446.0f, 0.0f);
        } else {
            Formula(uint64_t(stock), ResultTally::kBombUnit, 116.0f, 128.0f, 216.0f, 442.0f);
        }
        Number(first.bombBonus + second.bombBonus, 3, 376.0f, 434.0f, 0.0f);
    }
    if (tally_.IsRowShown(4)) {
        Number(first.totalBonus + second.totalBonus, 3, 232.0f, 520.0f, 0.0f);
        Sprite(kTimes, 268.0f, 524.0f, 0.0f);
        Sprite(kMultiplier, 284.0f, 520.0f, 0.0f);
        const int multipliers = owner->GetPlayer(1).multiplier + owner->GetPlayer(2).multiplier;
        Number(uint64_t(std::max(multipliers, 0)), 0, 384.0f, 520.0f, 0.0f);
        Sprite(kPairLine, 93.0f, 552.0f, 0.0f);
        Number(tally_.GetPairRemaining(), 3, 384.0f, 584.0f, 0.0f);
    }
}

void ResultScreen::DrawPlayerRows(int i) {
    const ResultTally::Player& player = tally_.GetPlayer(i);
    const int mask = 1 << i;
    const float c = i == 0 ? 0.0f : 272.0f;
    if (tally_.IsRowShown(4)) {
        // Every player's line, counted or not.
        const float y = 552.0f + 32.0f * float(i);
        Sprite(i == 0 ? kP1Line : kP2Line, 61.0f, y, 0.0f);
        Number(owner->IsPlayerInGame(mask) ? player.shownBonus : 0, 3, 416.0f, y, 0.0f);
    }
    if (!player.counted) {
        return;
    }
    if (tally_.IsRowShown(1)) {
        Number(uint64_t(player.clearTime), 4, c + 112.0f, 203.0f, 0.0f);
        if (player.clearTime == 0) {
            Sprite(kNoBonus, c + 120.0f, 237.0f, 0.0f);
        } else {
            Formula(uint64_t(player.clearTime), ResultTally::kTimeUnit, c + 76.0f, c + 88.0f, c + 168.0f,
                    237.0f);
        }
        Number(player.timeBonus, 3, c + 168.0f, 261.0f, 0.0f);
    }
    if (tally_.IsRowShown(2)) {
        Number(uint64_t(player.killPercent), 4, c + 112.0f, 295.0f, 0.0f);
        Sprite(kPercent, c + 128.0f, 295.0f, 0.0f);
        if (player.killPercent == 100) {
            Sprite(kPerfectBonus, c + 104.0f, 329.0f, 0.0f);
        } else if (player.killPercent == 0) {
            Sprite(kNoBonus, c + 112.0f, 329.0f, 0.0f);
        } else {
            Formula(uint64_t(player.killPercent), ResultTally::kShootdownUnit, c + 80.0f, c + 92.0f,
                    c + 168.0f, 329.0f);
        }
        Number(player.shootdownBonus, 3, c + 168.0f, 353.0f, 0.0f);
    }
    if (tally_.IsRowShown(3)) {
        const int bombs = owner->GetPlayer(mask).bombStock;
        const int shown = bombs == ResultTally::kInfiniteBombs ? 0 : std::max(bombs, 0);
        Sprite(kBomb, c + 93.0f, 386.0f, 0.0f);
        Sprite(kTimes, c + 112.0f, 390.0f, 0.0f);
        Number(uint64_t(shown), 4, c + 128.0f, 386.0f, 0.0f);
        if (shown == 0) {
            Sprite(kNoBonus, c + 112.0f, 420.0f, 0.0f);
        } else {
            Formula(uint64_t(shown), ResultTally::kBombUnit, c + 76.0f, c + 88.0f, c + 168.0f, 420.0f);
        }
        Number(player.bombBonus, 3, c + 168.0f, 444.0f, 0.0f);
    }
    if (tally_.IsRowShown(4)) {
        Number(player.totalBonus, 3, c + 168.0f, 488.0f, 0.0f);
        Sprite(kTimes, c + 44.0f, 520.0f, 0.0f);
        Sprite(kMultiplier, c + 60.0f, 516.0f, 0.0f);
        Number(uint64_t(std::max(owner->GetPlayer(mask).multiplier, 0)), 0, c + 170.0f, 520.0f, 0.0f);
    }
}

}  // namespace mareldon
