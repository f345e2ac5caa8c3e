#pragma once

#include <cstdint>

#include "game/render/ScreenDrawers.h"

namespace mareldon {

// The demonstration's head-up display on the "game" sheet: reflect gauges, the
// top score, and each player's panel, multiplier and score. Laid out as a list
// of items the screen draws, so the layout is checked without a renderer.
class DemoPlayHud {
  public:
    enum Sprite : int {
        kWhite0,
        kGreen0 = kWhite0 + 10,
        kYellow0 = kGreen0 + 10,
        kRed0 = kYellow0 + 10,
        kMultiplier0 = kRed0 + 10,
        kReserve0 = kMultiplier0 + 10,  // 0 to 8, then unlimited
        kBombs0 = kReserve0 + 10,       // 0 to 9, then unlimited
        kShipIcon0 = kBombs0 + 11,
        kLabel1P = kShipIcon0 + 4,
        kLabel2P,
        kTimes,
        kBombLabel,
        kMultiplierLabel,
        kDoubleLabel,
        kGaugeFrame,
        kGaugeCharging0,  // three frames
        kGaugeDischarging = kGaugeCharging0 + 3,
        kGameOver,
        kInsertCoin,
        kSpriteCount
    };
    static const char* SpriteName(int sprite);

    struct Player {
        // In the game and neither choosing a ship nor entering a name or waiting to continue.
        bool panel = false;
        bool selectingShip = false;
        int32_t shipType = 0;
        int32_t shipStock = 0;
        int32_t bombStock = 0;
        int32_t multiplier = 0;
        uint64_t score = 0;
        int32_t continues = 0;
        int32_t gaugeState = 0;
        float gaugeFill = 0.0f;
    };
    struct State {
        bool pair = false;
        uint64_t topScore = 0;
        int32_t step = 0;
        Player players[2];
    };
    // A sprite between two corners, a sprite centred on (x0, y0) at its own
    // size, or a bar of one colour.
    struct Item {
        enum Kind : uint8_t { kRect, kCentred, kBar };
        Kind kind;
        int sprite;
        float x0, y0, x1, y1, z;
        ScreenColor colour;
    };
    static constexpr int kMaxItems = 128;

    // Answers the item count.
    static int Layout(const State& state, Item* out);
    // The gauge's charging frame of a step: 8 steps frame 0, 4 frame 1, 4 frame 2.
    static int ChargingFrame(int32_t step);
};

// The blinking "game over" / "insert coin" of the attract screens: shown while
// bit 5 of the step is set; in each dark half the text flips once, unless the
// machine is on free play.
struct BlinkingNotice {
    uint8_t index = 0;
    uint8_t switched = 0;

    // Whether the notice shows at this step, and which.
    bool Update(int32_t step, bool freePlay);
};

}  // namespace mareldon
