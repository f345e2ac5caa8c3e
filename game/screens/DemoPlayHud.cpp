#include "game/screens/DemoPlayHud.h"

#include <algorithm>
#include <array>
#include <string>

namespace mareldon {

namespace {

constexpr float kBarLength = 0.65f * 200.0f;
constexpr int kScoreDigits = 20;
constexpr int kMultiplierDigits = 9;
constexpr int64_t kMultiplierCap = 999999999;
constexpr ScreenColor kNone{1.0f, 1.0f, 1.0f, 1.0f};

std::array<std::string, DemoPlayHud::kSpriteCount> MakeNames() {
    std::array<std::string, DemoPlayHud::kSpriteCount> names;
    auto digits = [&names](int first, const char* prefix, int count) {
        for (int d = 0; d < count; ++d) {
            names[size_t(first + d)] = prefix + std::to_string(d);
        }
    };
    digits(DemoPlayHud::kWhite0, "1616_su_siro_", 10);
    digits(DemoPlayHud::kGreen0, "1616_su_midori_", 10);
    digits(DemoPlayHud::kYellow0, "1616_su_ki_", 10);
    digits(DemoPlayHud::kRed0, "1616_su_aka_", 10);
    digits(DemoPlayHud::kMultiplier0, "bairitu_", 10);
    digits(DemoPlayHud::kReserve0, "bomb_ziki_", 9);
    names[DemoPlayHud::kReserve0 + 9] = "bomb_ziki_mugen";
    digits(DemoPlayHud::kBombs0, "bomb_ziki_ki_", 10);
    names[DemoPlayHud::kBombs0 + 10] = "bomb_ziki_ki_mugen";
    for (int ship = 0; ship < 4; ++ship) {
        names[size_t(DemoPlayHud::kShipIcon0 + ship)] = "zikiaikon_00" + std::to_string(ship + 1);
    }
    names[DemoPlayHud::kLabel1P] = "sonota_1P";
    names[DemoPlayHud::kLabel2P] = "sonota_2P";
    names[DemoPlayHud::kTimes] = "sonota_X";
    names[DemoPlayHud::kBombLabel] = "sonota_bomb";
    names[DemoPlayHud::kMultiplierLabel] = "sonota_bairitu";
    names[DemoPlayHud::kDoubleLabel] = "sonota_double";
    names[DemoPlayHud::kGaugeFrame] = "rihurekutogeizi_001";
    names[DemoPlayHud::kGaugeCharging0] = "rihurekutogeizi_003";
    names[DemoPlayHud::kGaugeCharging0 + 1] = "rihurekutogeizi_003_02";
    names[DemoPlayHud::kGaugeCharging0 + 2] = "rihurekutogeizi_003_03";
    names[DemoPlayHud::kGaugeDischarging] = "rihurekutogeizi_004";
    names[DemoPlayHud::kGameOver] = "game over";
    names[DemoPlayHud::kInsertCoin] = "insert coin";
    return names;
}

// The score digits' colour by place: white, green, yellow, red.
int DigitSprite(int place, int digit) {
    const int set = place < 7    ? DemoPlayHud::kWhite0
                    : place < 11 ? DemoPlayHud::kGreen0
                    : place < 15 ? DemoPlayHud::kYellow0
                                 : DemoPlayHud::kRed0;
    return set + digit;
}

// Decimal digits, index 0 the units; answers how many are significant (0 for 0).
int Split(uint64_t value, uint8_t* digits, int count) {
    int used = 0;
    for (int i = 0; i < count; ++i) {
        digits[i] = uint8_t(value % 10);
        value /= 10;
        if (digits[i] != 0) {
            used = i + 1;
        }
    }
    return used;
}

class Writer {
  public:
    explicit Writer(DemoPlayHud::Item* out) : out_(out) {}
    void Rect(int sprite, float x, float y, float w, float h) {
        out_[count_++] = {DemoPlayHud::Item::kRect, sprite, x, y, x + w, y + h, 0.0f, kNone};
    }
    void Centred(int sprite, float x, float y) {
        out_[count_++] = {DemoPlayHud::Item::kCentred, sprite, x, y, x, y, 0.0f, kNone};
    }
    void Bar(float x0, float x1, const ScreenColor& colour) {
        out_[count_++] = {DemoPlayHud::Item::kBar, -1, x0, 604.0f, x1, 612.0f, 0.01f, colour};
    }
    int Count() const { return count_; }

  private:
    DemoPlayHud::Item* out_;
    int count_ = 0;
};

// Score digits 10 by 16, left-aligned from x (or, `units` set, with the units at
// that x), then the continue digit 10 to the right of the units.
void ScoreNumber(Writer& w, uint64_t value, int continues, float x, float y, bool rightAligned) {
    uint8_t digits[kScoreDigits];
    const int used = Split(value, digits, kScoreDigits);
    const float units = rightAligned ? x : x + 10.0f * float(used - 1);
    for (int k = used - 1; k >= 0; --k) {
        w.Rect(DigitSprite(k, digits[k]), units - 10.0f * float(k), y, 10.0f, 16.0f);
    }
    w.Rect(DemoPlayHud::kWhite0 + std::clamp(continues, 0, 9), units + 10.0f, y, 10.0f, 16.0f);
}

}  // namespace

const char* DemoPlayHud::SpriteName(int sprite) {
    static const std::array<std::string, kSpriteCount> names = MakeNames();
    return sprite >= 0 && sprite < kSpriteCount ? names[size_t(sprite)].c_str() : "";
}

int DemoPlayHud::ChargingFrame(int32_t step) {
    const int frame = (step / 4) % 4;
    return frame < 2 ? 0 : frame - 1;
}

int DemoPlayHud::Layout(const State& state, Item* out) {
    Writer w(out);
    for (int i = 0; i < 2; ++i) {
        const Player& p = state.players[i];
        const float x0 = 262.0f * float(i);
        const float fill = std::clamp(p.gaugeFill, 0.0f, 1.0f);
        w.Centred(kGaugeFrame, x0 + 106.0f, 608.0f);
        switch (p.gaugeState) {
            case 1:
                w.Bar(x0 + 60.0f, x0 + 60.0f + kBarLength * fill, {0.0f, 1.0f, 0.0f, 1.0f});
                w.Centred(kGaugeCharging0 + ChargingFrame(state.step), x0 + 126.0f, 608.0f);
                break;
            case 2:
                w.Bar(x0 + 60.0f, x0 + 190.0f, {1.0f, 1.0f, 0.0f, 1.0f});
                break;
            case 3:
                w.Bar(x0 + 60.0f, x0 + 60.0f + kBarLength * (1.0f - fill), {1.0f, 0.0f, 0.0f, 1.0f});
                if (state.step & 2) {
                    w.Centred(kGaugeDischarging, x0 + 126.0f, 608.0f);
                }
                break;
            default:
                break;
        }
    }

    if (state.pair) {
        w.Rect(kDoubleLabel, 64.0f, 4.0f, 86.0f, 16.0f);
    }
    ScoreNumber(w, state.topScore, 0, 154.0f, 4.0f, false);

    for (int i = 0; i < 2; ++i) {
        const Player& p = state.players[i];
        const bool left = i == 0;
        w.Rect(left ? kLabel1P : kLabel2P, left ? 16.0f : 432.0f, 4.0f, 32.0f, 16.0f);
        if (!p.panel) {
            continue;
        }
        if (p.shipType >= 0 && p.shipType < 4) {
            w.Rect(kShipIcon0 + p.shipType, left ? 16.0f : 356.0f, 60.0f, 24.0f, 24.0f);
        }
        w.Rect(kTimes, left ? 40.0f : 376.0f, 72.0f, 12.0f, 12.0f);
        const int reserve = std::clamp(p.shipStock - 1, 0, 9);
        w.Rect(kReserve0 + reserve, left ? 52.0f : 388.0f, 68.0f, 20.0f, 16.0f);
        w.Rect(kBombLabel, left ? 76.0f : 414.0f, 60.0f, 24.0f, 24.0f);
        w.Rect(kTimes, left ? 100.0f : 436.0f, 72.0f, 12.0f, 12.0f);
        w.Rect(kBombs0 + std::clamp(p.bombStock, 0, 10), left ? 112.0f : 448.0f, 68.0f, 20.0f, 16.0f);
    }

    for (int i = 0; i < 2; ++i) {
        const Player& p = state.players[i];
        const Player& other = state.players[1 - i];
        if (!p.selectingShip) {
            const bool left = i == 0;
            int64_t multiplier = p.multiplier;
            uint64_t score = p.score;
            int continues = p.continues;
            if (state.pair) {
                multiplier += other.multiplier;
                score = other.score > UINT64_MAX - score ? UINT64_MAX : score + other.score;
                continues += other.continues;
            }
            w.Rect(kMultiplierLabel, left ? 16.0f : 444.0f, 36.0f, 24.0f, 24.0f);
            w.Rect(kTimes, left ? 40.0f : 432.0f, 48.0f, 12.0f, 12.0f);
            uint8_t digits[kMultiplierDigits];
            const int used = std::max(1, Split(uint64_t(std::clamp<int64_t>(multiplier, 0, kMultiplierCap)),
                                               digits, kMultiplierDigits));
            const float units = left ? 52.0f + 16.0f * float(used - 1) : 412.0f;
            for (int k = used - 1; k >= 0; --k) {
                w.Rect(kMultiplier0 + digits[k], units - 16.0f * float(k), 44.0f, 20.0f, 16.0f);
            }
            ScoreNumber(w, score, continues, left ? 21.0f : 441.0f, 20.0f, !left);
        }
        if (state.pair) {
            break;
        }
    }
    return w.Count();
}

bool BlinkingNotice::Update(int32_t step, bool freePlay) {
    if (step & 32) {
        switched = 0;
        return true;
    }
    if (!freePlay && !switched) {
        index ^= 1;
        switched = 1;
    }
    return false;
}

}  // namespace mareldon
