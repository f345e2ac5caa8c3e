#include "game/screens/RankingRows.h"

#include <algorithm>
#include <array>
#include <string>

#include "game/screens/NumberLayout.h"

namespace mareldon {

namespace {

constexpr float kMarkDrop = 4.0f;
constexpr float kMarkHeight = 32.0f;
constexpr int kAllClearStage = 7;

std::array<std::string, RankingRows::kSpriteCount> MakeNames() {
    std::array<std::string, RankingRows::kSpriteCount> names;
    names[RankingRows::kSingleTitle] = "SingleRanking";
    names[RankingRows::kPairTitle] = "TagRanking";
    for (int i = 0; i < RankingRows::kRows; ++i) {
        const std::string n = std::to_string(i + 1);
        names[size_t(RankingRows::kPlace0 + i)] = "jyuni_" + std::string(3 - n.size(), '0') + n;
    }
    for (int i = 0; i < 4; ++i) {
        names[size_t(RankingRows::kShip0 + i)] = "kitai_" + std::to_string(i + 1);
    }
    names[RankingRows::kAllClear] = "AllClear_CLEAR";
    names[RankingRows::kAll] = "AllClear_ALL";
    names[RankingRows::kStage] = "STAGE";
    for (int i = 0; i < 6; ++i) {
        names[size_t(RankingRows::kStageNumber0 + i)] = "stage_" + std::to_string(i + 1);
    }
    names[RankingRows::kNameLabel] = "NAME";
    names[RankingRows::kJoin] = "3232_ki_006";
    for (int i = 0; i < NameGlyphs::kCount; ++i) {
        const char* glyph = NameGlyphs::SpriteName(i);
        names[size_t(RankingRows::kNameGlyph0 + i)] = glyph != nullptr ? glyph : "";
    }
    for (int d = 0; d < 10; ++d) {
        names[size_t(RankingRows::kDigit0 + d)] = "1632_su_siro_" + std::to_string(d);
    }
    const char* units[4] = {"rank_tani_01_oku", "rank_tani_02_tyou", "rank_tani_03_kyou", "rank_tani_04_gai"};
    for (int u = 0; u < 4; ++u) {
        names[size_t(RankingRows::kUnit0 + u)] = units[u];
    }
    names[RankingRows::kMark] = "001_ten";
    return names;
}

}  // namespace

const char* RankingRows::SpriteName(int sprite) {
    static const std::array<std::string, kSpriteCount> names = MakeNames();
    return sprite >= 0 && sprite < kSpriteCount ? names[size_t(sprite)].c_str() : "";
}

float RankingRows::FadeAlpha(float reference, float end) {
    // Far above the screen the formula goes negative, which would darken what lies behind.
    return reference < end ? std::max(0.0f, 1.0f - (kFadeEnd - reference) * 0.01f) : 1.0f;
}

int RankingRows::Name(const String& name, float x, float y, const Sizes& sizes, float alpha0, float alpha1,
                      Item* out) {
    int count = 0;
    const char* text = name.Text();
    const int length = text != nullptr ? int(name.Length()) : 0;
    for (int k = 0; k < 3; ++k) {
        const int index = k < length ? NameGlyphs::IndexOf(text[k]) : NameGlyphs::kBlank;
        if (NameGlyphs::SpriteName(index) == nullptr) {
            continue;
        }
        const float left = x + float(k) * sizes.glyphW;
        out[count++] = {kNameGlyph0 + index, left, y, left + sizes.glyphW, y + sizes.glyphH, alpha0, alpha1};
    }
    return count;
}

int RankingRows::Score(uint64_t score, float x, float y, float alpha0, float alpha1, Item* out) {
    NumberLayout::Glyph glyphs[NumberLayout::kMaxGlyphs];
    float left = x;
    const int n = NumberLayout::Score(score, 0, left, y, glyphs);
    for (int i = 0; i < n; ++i) {
        const NumberLayout::Glyph& g = glyphs[i];
        int sprite;
        float top = g.y;
        float h = g.h;
        if (g.sprite == NumberLayout::kMarkGlyph) {
            sprite = kMark;
            top = y + kMarkDrop;
            h = kMarkHeight;
        } else if (g.sprite >= NumberLayout::kUnitGlyph0) {
            sprite = kUnit0 + (g.sprite - NumberLayout::kUnitGlyph0);
        } else {
            sprite = kDigit0 + g.sprite % 10;
        }
        out[i] = {sprite, g.x, top, g.x + g.w, top + h, alpha0, alpha1};
    }
    return n;
}

int RankingRows::Row(int place, float y, float scrollY, float width, const Sizes& sizes,
                     const PlayerRecord& first, const PlayerRecord* second, Item* out, Band& band) {
    const bool pair = second != nullptr;
    const bool settled = scrollY >= kScrollEnd && place < 5;
    const float a0 = settled ? 1.0f : FadeAlpha(y, kFadeEnd);
    const float a1 = settled ? 1.0f : FadeAlpha(y + 32.0f, kFadeEnd);
    const float placeEnd = pair ? kFadeEnd : kPlaceFadeEnd;
    const float p0 = settled ? 1.0f : FadeAlpha(y, placeEnd);
    const float p1 = settled ? 1.0f : FadeAlpha(y + 32.0f, placeEnd);

    int count = 0;
    auto put = [&](int sprite, float x, float top, float w, float h) {
        out[count++] = {sprite, x, top, x + w, top + h, a0, a1};
    };
    auto ship = [&](const PlayerRecord& record, float x, float top) {
        if (record.shipType >= 0 && record.shipType < 4) {
            put(kShip0 + record.shipType, x, top, sizes.shipW, sizes.shipH);
        }
    };

    const int shownPlace = std::clamp(place, 0, kRows - 1);
    out[count++] = {kPlace0 + shownPlace,     16.0f, y - 32.0f, 16.0f + sizes.placeW,
                    y - 32.0f + sizes.placeH, p0,    p1};
    band = {0.0f, y - 32.0f, width, y + 56.0f, {0.0f, 0.0f, 0.5f, 0.25f}, {0.0f, 0.0f, 0.1f, 0.25f}};
    uint64_t score = first.score;
    if (!pair) {
        ship(first, 104.0f, y - 14.0f);
        if (first.stage == kAllClearStage) {
            put(kAllClear, 144.0f, y, sizes.stageW, sizes.stageH);
            put(kAll, 192.0f, y, sizes.stageW, sizes.stageH);
        } else if (first.stage >= 1 && first.stage <= 6) {
            put(kStage, 144.0f, y, sizes.stageW, sizes.stageH);
            put(kStageNumber0 + first.stage - 1, 208.0f, y - 13.0f, sizes.numberW, sizes.numberH);
        }
        out[count++] = {kNameLabel, 272.0f, y, 264.0f + sizes.stageW, y + sizes.stageH, a0, a1};
        count += Name(first.name, 320.0f, y - 16.0f, sizes, a0, a1, out + count);
    } else {
        band.colour0 = {0.5f, 0.0f, 0.0f, 0.25f};
        band.colour1 = {0.1f, 0.0f, 0.0f, 0.25f};
        ship(first, 96.0f, y - 16.0f);
        ship(*second, 284.0f, y - 16.0f);
        count += Name(first.name, 128.0f, y - 16.0f, sizes, a0, a1, out + count);
        count += Name(second->name, 320.0f, y - 16.0f, sizes, a0, a1, out + count);
        put(kJoin, 240.0f, y - 16.0f, sizes.glyphW, sizes.glyphH);
        // A damaged file may hold scores past the cap; their sum stops at the top.
        score = second->score > UINT64_MAX - score ? UINT64_MAX : score + second->score;
    }
    count += Score(score, 464.0f, y + 24.0f, a0, a1, out + count);
    return count;
}

}  // namespace mareldon
