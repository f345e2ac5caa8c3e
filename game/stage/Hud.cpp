#include "game/stage/Hud.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/stage/FallingSprite.h"
#include "game/stage/GameWorldScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

using NameSet = std::array<std::string, 10>;

NameSet NumberedNames(const char* prefix) {
    NameSet names;
    for (int digit = 0; digit < 10; ++digit)
        names[digit] = prefix + std::to_string(digit);
    return names;
}

constexpr ScreenColor kOpaque{1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kDepth = 0.5f;
constexpr float kBarLength = 200.0f * 0.65f;

// The score digits' colour set by digit index: white, green, yellow, red.
int32_t ScoreColour(int32_t index) {
    return index < 7 ? 0 : index < 11 ? 1 : index < 15 ? 2 : 3;
}

// The program-wide score digits of each player, kept with the value they came from.
struct ScoreCache {
    uint64_t value = 0;
    bool valid = false;
    uint8_t digits[Hud::kScoreDigits] = {};
};
ScoreCache scoreCaches[2];

void StretchSprite(TexturedScreenDrawer& drawer, const SpriteRect* rect, float x, float y, float w, float h,
                   float z = kDepth) {
    if (rect != nullptr)
        drawer.DrawSprite(*rect, {x, y, z}, {x + w, y + h, z});
}

}  // namespace

const SpriteRect* Hud::Sheet::Get(const char* name) const {
    return sheet != nullptr ? sheet->FindOrNull(name) : nullptr;
}

Hud::Hud(GameWorldScreen& screen) : screen(screen) {
    Sheet game{screen.gameDrawer ? screen.gameDrawer->Sheet().Get() : nullptr};
    Sheet system{screen.systemDrawer ? screen.systemDrawer->Sheet().Get() : nullptr};

    static const struct Names {
        NameSet timer, falling[3], gravity, score[4], reserve, bombs, multiplier, coins;
        Names() {
            for (int d = 0; d < 10; ++d)
                timer[d] = std::to_string(d) + "_00_00";
            falling[0] = NumberedNames("su_02_ki_");
            falling[1] = NumberedNames("su_02_ao_");
            falling[2] = NumberedNames("su_02_aka_");
            gravity = NumberedNames("aggresive_white_");
            score[0] = NumberedNames("1616_su_siro_");
            score[1] = NumberedNames("1616_su_midori_");
            score[2] = NumberedNames("1616_su_ki_");
            score[3] = NumberedNames("1616_su_aka_");
            reserve = NumberedNames("bomb_ziki_");
            bombs = NumberedNames("bomb_ziki_ki_");
            multiplier = NumberedNames("bairitu_");
            coins = NumberedNames("1016_kazu_");
        }
    } names;
    static const char* const fallingPlus[3] = {"su_02_ki_purasu", "su_02_ao_purasu", "su_02_aka_purasu"};
    static const char* const icons[4] = {"zikiaikon_001", "zikiaikon_002", "zikiaikon_003", "zikiaikon_004"};

    for (int d = 0; d < 10; ++d) {
        timerDigits[d] = game.Get(names.timer[d].c_str());
        for (int c = 0; c < 3; ++c)
            fallingDigits[c][d] = game.Get(names.falling[c][d].c_str());
        gravityDigits[d] = game.Get(names.gravity[d].c_str());
        for (int c = 0; c < 4; ++c)
            scoreDigits[c][d] = game.Get(names.score[c][d].c_str());
        reserveDigits[d] = game.Get(names.reserve[d].c_str());
        bombDigits[d] = game.Get(names.bombs[d].c_str());
        multiplierDigitSprites[d] = game.Get(names.multiplier[d].c_str());
        coinDigits[d] = system.Get(names.coins[d].c_str());
    }
    for (int c = 0; c < 3; ++c)
        fallingDigits[c][10] = game.Get(fallingPlus[c]);
    gravityDigits[10] = game.Get("aggresive_white_ap");
    reserveDigits[10] = game.Get("bomb_ziki_mugen");
    bombDigits[10] = game.Get("bomb_ziki_ki_mugen");
    timeLabel = game.Get("time_TIME");
    gaugeLabel = game.Get("rihurekutogeizi_001");
    gaugeCharging[0] = game.Get("rihurekutogeizi_003");
    gaugeCharging[1] = game.Get("rihurekutogeizi_003_02");
    gaugeCharging[2] = game.Get("rihurekutogeizi_003_03");
    gaugeDischarging = game.Get("rihurekutogeizi_004");
    singleLabel = game.Get("sonota_single");
    doubleLabel = game.Get("sonota_double");
    for (int ship = 0; ship < 4; ++ship)
        shipIcons[ship] = game.Get(icons[ship]);
    playerLabels[0] = game.Get("sonota_1P");
    playerLabels[1] = game.Get("sonota_2P");
    timesMark = game.Get("sonota_X");
    bombLabel = game.Get("sonota_bomb");
    multiplierLabel = game.Get("sonota_bairitu");

    creditPlayers[0] = system.Get("1P");
    creditPlayers[1] = system.Get("2P");
    insertText = system.Get("Insert");
    addText = system.Get("Add");
    coinsText = system.Get("COINS");
    toStart = system.Get("ToStart");
    toContinue = system.Get("ToContinue");
    pleaseWait = system.Get("PleaseWait");
    pressStart = system.Get("PressStartButton");
}

int32_t Hud::SplitDigits(uint64_t value, uint8_t* digits, int32_t count) {
    int32_t highest = -1;
    for (int32_t i = 0; i < count; ++i) {
        digits[i] = uint8_t(value % 10);
        if (digits[i] != 0)
            highest = i;
        value /= 10;
    }
    return highest;
}

uint32_t Hud::ShownMultiplier(int32_t own, int32_t other, bool pair) {
    // Two capped multipliers can sum to ten digits; the field has nine.
    int64_t value = own;
    if (pair)
        value += other;
    return uint32_t(std::clamp<int64_t>(value, 0, kMultiplierCap));
}

void Hud::DrawFallingPopups() {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    SpriteDrawer* sprites = screen.gameSpriteDrawer.Get();
    if (drawer == nullptr || sprites == nullptr)
        return;
    for (TaskObject* group : screen.popupGroups) {
        if (group == nullptr)
            continue;
        TreeNode* node = group->firstChild;
        for (int32_t i = 0; i < group->childCount; ++i, node = node->next) {
            const FallingSprite& popup = *static_cast<const FallingSprite*>(node);
            float x = popup.position.x;
            if (x < 40.0f)
                x += 40.0f;
            else if (x > 480.0f)
                x -= 128.0f;
            const float y = popup.position.y;
            const float z = popup.position.z;
            const int32_t set = popup.newest ? (popup.playerNumber == 1 ? 0 : 1) : 2;
            const ScreenColor faded{1.0f, 1.0f, 1.0f, std::max(0.0f, 0.8f - 0.015f * float(popup.age))};
            auto put = [&](const SpriteRect* rect, float px) {
                if (rect == nullptr)
                    return;
                if (popup.newest)
                    drawer->DrawSpriteScaled(*rect, {px, y, z});
                else
                    sprites->DrawSprite(*rect, {px, y, z}, faded);
            };
            uint8_t digits[8];
            const int32_t highest = std::max(0, SplitDigits(uint64_t(std::max(popup.value, 0)), digits, 8));
            for (int32_t k = highest; k >= 0; --k)
                put(fallingDigits[set][digits[k]], x - 8.0f - 8.0f * float(k));
            put(fallingDigits[set][10], x - 8.0f - 8.0f * float(highest + 1));
        }
    }
}

void Hud::DrawGravityPopups() {
    SpriteDrawer* sprites = screen.gameSpriteDrawer.Get();
    if (sprites == nullptr)
        return;
    for (TaskObject* group : screen.gravityGroups) {
        if (group == nullptr)
            continue;
        TreeNode* node = group->firstChild;
        for (int32_t i = 0; i < group->childCount; ++i, node = node->next) {
            const GravitySprite& popup = *static_cast<const GravitySprite*>(node);
            if (popup.value <= 0)
                continue;
            uint8_t digits[10];
            const int32_t highest = SplitDigits(uint64_t(popup.value), digits, 10);
            const float width = 16.0f * float(highest + 1) + 8.0f;
            float x = popup.position.x;
            if (x < 128.0f)
                x += width;
            else if (x > 480.0f)
                x -= width;
            const float y = popup.position.y + 32.0f;
            const float z = popup.position.z;
            const float f = 1.0f - 0.02f * float(popup.age);
            const ScreenColor colour = popup.playerNumber == 1
                                           ? ScreenColor{0.9f, 0.9f, f, 1.0f}
                                           : ScreenColor{std::max(0.4f, f), std::max(0.5f, f), 1.0f, 1.0f};
            for (int32_t k = highest; k >= 0; --k) {
                if (const SpriteRect* rect = gravityDigits[digits[k]])
                    sprites->DrawSprite(*rect, {x + 8.0f - 16.0f * float(k), y, z}, colour);
            }
            if (gravityDigits[10] != nullptr)
                sprites->DrawSprite(*gravityDigits[10], {x + 24.0f, y, z}, colour);
        }
    }
}

void Hud::DrawCredits(float ax, float ay) {
    TexturedScreenDrawer* drawer = screen.systemDrawer.Get();
    GameSystem* system = screen.owner;
    if (drawer == nullptr || system == nullptr || (screen.GetStepCount() & 32) != 0)
        return;
    for (int32_t p = 0; p < 2; ++p) {
        const int mask = 1 << p;
        const int status = system->GetPlayerStatus(mask);
        if (status == 1) {
            if (pleaseWait != nullptr)
                drawer->DrawSpriteScaled(*pleaseWait,
                                         {2.0f * ax + (p == 0 ? 48.0f : 392.0f), ay + 16.0f, kDepth});
            continue;
        }
        const SpriteRect* text = nullptr;
        const SpriteRect* second = nullptr;
        float shift = 0.0f;
        float offset = 0.0f;
        switch (status) {
            case 3:
                text = insertText, second = toStart, offset = p == 0 ? 48.0f : 328.0f;
                break;
            case 4:
            case 9:
                text = insertText, second = toContinue, offset = p == 0 ? 48.0f : 328.0f;
                break;
            case 5:
                text = addText, second = toStart, shift = 32.0f, offset = p == 0 ? 32.0f : 332.0f;
                break;
            case 6:
            case 10:
                text = addText, second = toContinue, shift = 32.0f, offset = p == 0 ? 32.0f : 324.0f;
                break;
            case 7:
                text = pressStart, second = toStart, shift = -16.0f, offset = p == 0 ? 48.0f : 332.0f;
                break;
            case 8:
            case 11:
                text = pressStart, second = toContinue, shift = -16.0f, offset = p == 0 ? 48.0f : 328.0f;
                break;
            default:
                continue;
        }
        const bool coins = text != pressStart;
        float x = 2.0f * ax + 280.0f * float(p) + (p == 1 ? shift : 0.0f);
        // Both labels take the size of "1P".
        const SpriteRect* labelSize = creditPlayers[0] != nullptr ? creditPlayers[0] : creditPlayers[p];
        const float labelW = labelSize != nullptr ? labelSize->w : 0.0f;
        const float labelH = labelSize != nullptr ? labelSize->h : 0.0f;
        StretchSprite(*drawer, creditPlayers[p], x, ay, labelW, labelH);
        x += labelW + 4.0f;
        auto piece = [&](const SpriteRect* rect, float w, float h) {
            StretchSprite(*drawer, rect, x, ay, w, h);
            x += w + 4.0f;
        };
        if (text != nullptr)
            piece(text, text->w, text->h);
        if (coins) {
            const int needed = std::clamp(system->CoinsForPlayer(mask), 0, 9);
            piece(coinDigits[needed], 10.0f, 16.0f);
            if (coinsText != nullptr)
                piece(coinsText, coinsText->w, coinsText->h);
        }
        if (second != nullptr)
            StretchSprite(*drawer, second, ax + offset, ay + 16.0f, second->w, second->h);
    }
}

void Hud::DrawTimer() {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    if (drawer == nullptr)
        return;
    const bool bossTime = screen.stageEntry && screen.GetStageTime() > screen.stageEntry->bossMusicTime;
    if (!screen.IsTimeLimitRunning() && !bossTime)
        return;
    const float left = screen.GetRawTimeLeft();
    const uint32_t n = left > 0.0f ? uint32_t(std::min(left, 1.0e9f)) : 0u;
    uint8_t digits[10];
    const int32_t count = std::max(0, SplitDigits(n, digits, 10)) + 1;
    // Centred on x 240 for up to three digits.
    const float anchor = 240.0f + 8.0f * float(std::min(count, 3) - 1);
    for (int32_t k = 0; k < count; ++k) {
        if (const SpriteRect* rect = timerDigits[digits[k]])
            drawer->DrawSpriteScaled(*rect, {anchor - 16.0f * float(k), 80.0f, 0.5f});
    }
    if (timeLabel != nullptr)
        drawer->DrawSpriteScaled(*timeLabel, {240.0f, 48.0f, 1.0f});
}

void Hud::DrawReflectGauge(int32_t p) {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    ColoredScreenDrawer* bars = screen.colorDrawer.Get();
    if (drawer == nullptr || bars == nullptr)
        return;
    const float base = 262.0f * float(p);
    if (gaugeLabel != nullptr)
        drawer->DrawSpriteScaled(*gaugeLabel, {base + 106.0f, 608.0f, kDepth});
    const ReflectGauge& gauge = screen.reflectGauges[p];
    float length = 0.0f;
    ScreenColor colour{};
    const SpriteRect* mark = nullptr;
    const int32_t step = screen.GetStepCount();
    switch (gauge.state) {
        case 1: {
            length = gauge.value * kBarLength;
            colour = {0.0f, 1.0f, 0.0f, 1.0f};
            const int32_t frame = (step >> 2) & 3;
            mark = gaugeCharging[frame < 2 ? 0 : frame - 1];
            break;
        }
        case 2:
            length = kBarLength;
            colour = {1.0f, 1.0f, 0.0f, 1.0f};
            break;
        case 3:
            length = (1.0f - gauge.value) * kBarLength;
            colour = {1.0f, 0.0f, 0.0f, 1.0f};
            if (step & 2)
                mark = gaugeDischarging;
            break;
        default:
            return;
    }
    const float x = base + 60.0f;
    bars->DrawQuad({x, 604.0f, 0.01f, colour.r, colour.g, colour.b, colour.a},
                   {x + length, 612.0f, 0.01f, colour.r, colour.g, colour.b, colour.a});
    if (mark != nullptr)
        drawer->DrawSpriteScaled(*mark, {base + 126.0f, 608.0f, kDepth});
}

void Hud::DrawScoreNumber(const uint8_t* digits, float x, float y, bool rightAligned) {
    TexturedScreenDrawer& drawer = *screen.gameDrawer;
    bool leading = true;
    for (int32_t i = kScoreDigits - 1; i >= 0; --i) {
        leading = leading && digits[i] == 0;
        if (!leading)
            StretchSprite(drawer, scoreDigits[ScoreColour(i)][digits[i]], x, y, 10.0f, 16.0f);
        if (!leading || rightAligned)
            x += 10.0f;
    }
    // Every score reads ten times its stored value.
    StretchSprite(drawer, scoreDigits[0][0], x, y, 10.0f, 16.0f);
}

void Hud::DrawTopBlock() {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    if (drawer == nullptr || screen.owner == nullptr)
        return;
    StretchSprite(*drawer, screen.owner->IsPairMode() ? doubleLabel : singleLabel, kOriginX + 64.0f, kOriginY,
                  86.0f, 16.0f);
    uint8_t digits[kScoreDigits];
    SplitDigits(screen.owner->GetTopScore(), digits, kScoreDigits);
    DrawScoreNumber(digits, kOriginX + 154.0f, kOriginY, false);
}

void Hud::DrawScores() {
    GameSystem* system = screen.owner;
    if (screen.gameDrawer.Get() == nullptr || system == nullptr)
        return;
    const bool pair = system->IsPairMode();
    for (int32_t p = 0; p < 2; ++p) {
        const int mask = 1 << p;
        if (system->IsPlayerSelectingShip(mask))
            continue;
        uint64_t value = system->GetPlayer(mask).score;
        if (pair) {
            // The scores are capped below 2^64 each, not their sum.
            const uint64_t other = system->GetPlayer(3 - mask).score;
            value = value > UINT64_MAX - other ? UINT64_MAX : value + other;
        }
        ScoreCache& cache = scoreCaches[p];
        if (!cache.valid || cache.value != value) {
            SplitDigits(value, cache.digits, kScoreDigits);
            cache.value = value;
            cache.valid = true;
        }
        DrawScoreNumber(cache.digits, kOriginX + (p == 0 ? 16.0f : 246.0f) + 5.0f, kOriginY + 16.0f, p == 1);
        if (pair)
            break;
    }
}

void Hud::Digits(const SpriteRect* const* set, const uint8_t* digits, int32_t count, float x, float y,
                 float w, float h, float step, bool rightAligned) {
    TexturedScreenDrawer& drawer = *screen.gameDrawer;
    bool leading = true;
    for (int32_t i = count - 1; i >= 0; --i) {
        leading = leading && digits[i] == 0;
        if (!leading)
            StretchSprite(drawer, set[digits[i]], x, y, w, h);
        if (!leading || rightAligned)
            x += step;
    }
    if (leading)
        StretchSprite(drawer, set[0], x, y, w, h);
}

void Hud::DrawMultipliers() {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    GameSystem* system = screen.owner;
    if (drawer == nullptr || system == nullptr)
        return;
    const bool pair = system->IsPairMode();
    for (int32_t p = 0; p < 2; ++p) {
        const int mask = 1 << p;
        if (system->IsPlayerSelectingShip(mask))
            continue;
        const uint32_t value =
            ShownMultiplier(system->GetPlayer(mask).multiplier, system->GetPlayer(3 - mask).multiplier, pair);
        if (value != multiplierShown[p]) {
            SplitDigits(value, multiplierDigits[p], kMultiplierDigits);
            multiplierShown[p] = value;
        }
        StretchSprite(*drawer, multiplierLabel, kOriginX + (p == 0 ? 16.0f : 444.0f), kOriginY + 32.0f, 24.0f,
                      24.0f);
        StretchSprite(*drawer, timesMark, kOriginX + (p == 0 ? 40.0f : 432.0f), kOriginY + 44.0f, 12.0f,
                      12.0f);
        Digits(multiplierDigitSprites, multiplierDigits[p], kMultiplierDigits,
               kOriginX + (p == 0 ? 52.0f : 268.0f), kOriginY + 40.0f, 20.0f, 16.0f, 16.0f, p == 1);
    }
}

void Hud::DrawShipsAndBombs() {
    TexturedScreenDrawer* drawer = screen.gameDrawer.Get();
    GameSystem* system = screen.owner;
    if (drawer == nullptr || system == nullptr)
        return;
    const float ox = kOriginX, oy = kOriginY;
    for (int32_t p = 0; p < 2; ++p) {
        const int mask = 1 << p;
        StretchSprite(*drawer, playerLabels[p], ox + (p == 0 ? 16.0f : 432.0f), oy, 32.0f, 16.0f);
        const int status = system->GetPlayerStatus(mask);
        // Not while choosing a ship (13) or in the name entry's states (9 to 12).
        if (!system->IsPlayerInGame(mask) || (status >= 9 && status <= 13))
            continue;
        const PlayerRecord& record = system->GetPlayer(mask);
        StretchSprite(*drawer, shipIcons[std::clamp(record.shipType, 0, 3)], ox + (p == 0 ? 16.0f : 356.0f),
                      oy + 56.0f, 24.0f, 24.0f);
        StretchSprite(*drawer, timesMark, ox + (p == 0 ? 40.0f : 376.0f), oy + 68.0f, 12.0f, 12.0f);
        const int32_t reserve = std::max(0, record.shipStock - 1);
        StretchSprite(*drawer, reserve >= 9 ? reserveDigits[10] : reserveDigits[reserve],
                      ox + (p == 0 ? 52.0f : 388.0f), oy + 64.0f, 20.0f, 16.0f);
        StretchSprite(*drawer, bombLabel, ox + (p == 0 ? 76.0f : 414.0f), oy + 56.0f, 24.0f, 24.0f);
        StretchSprite(*drawer, timesMark, ox + (p == 0 ? 100.0f : 436.0f), oy + 68.0f, 12.0f, 12.0f);
        const int32_t bombs = std::max(0, record.bombStock);
        StretchSprite(*drawer, bombs >= 10 ? bombDigits[10] : bombDigits[bombs],
                      ox + (p == 0 ? 112.0f : 448.0f), oy + 64.0f, 20.0f, 16.0f);
    }
}

void Hud::DrawSequence(Sequence sequence) {
    DrawFallingPopups();
    DrawGravityPopups();
    switch (sequence) {
        case Sequence::kFull: {
            DrawCredits(8.0f, 60.0f);
            if (screen.IsNotCleared()) {
                DrawTimer();
                for (int32_t p = 0; p < 2; ++p) {
                    if (screen.owner != nullptr && screen.owner->IsPlayerInGame(1 << p))
                        DrawReflectGauge(p);
                }
            }
            DrawTopBlock();
            DrawShipsAndBombs();
            DrawMultipliers();
            DrawScores();
            break;
        }
        case Sequence::kNoScore:
            DrawCredits(8.0f, 44.0f);
            DrawReflectGauge(0);
            DrawReflectGauge(1);
            break;
        case Sequence::kGauges:
            DrawReflectGauge(0);
            DrawReflectGauge(1);
            break;
        case Sequence::kMinimal:
            break;
    }
}

}  // namespace mareldon

namespace mareldon {

Hud& GameWorldScreen::GetHud() {
    if (!hud)
        hud = std::make_unique<Hud>(*this);
    return *hud;
}

void GameWorldScreen::SubmitDrawSet() {
    if (drawSet)
        drawSet->Draw();
}

void GameWorldScreen::DrawHud() {
    if (drawSet)
        GetHud().DrawSequence(Hud::Sequence::kFull);
    SubmitDrawSet();
}

void GameWorldScreen::DrawHudNoScore() {
    if (drawSet)
        GetHud().DrawSequence(Hud::Sequence::kNoScore);
    SubmitDrawSet();
}

void GameWorldScreen::DrawHudGauges() {
    if (drawSet)
        GetHud().DrawSequence(Hud::Sequence::kGauges);
    SubmitDrawSet();
}

void GameWorldScreen::DrawHudMinimal() {
    if (drawSet)
        GetHud().DrawSequence(Hud::Sequence::kMinimal);
    SubmitDrawSet();
}

void GameWorldScreen::DrawCredits(float x, float y) {
    if (drawSet)
        GetHud().DrawCredits(x, y);
}

}  // namespace mareldon
