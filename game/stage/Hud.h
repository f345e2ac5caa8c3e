#pragma once

#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

class GameWorldScreen;
class SpriteRect;
class SpriteSheet;

// The head-up display's blocks, drawn into the world screen's 2D drawers in pixels
// of the 480x640 play screen. The sprites are looked up by name once, when the
// display is made, so drawing searches nothing.
class Hud {
  public:
    static constexpr float kOriginX = 0.0f;
    static constexpr float kOriginY = 4.0f;
    static constexpr int32_t kScoreDigits = 20;
    static constexpr int32_t kMultiplierDigits = 9;
    static constexpr uint32_t kMultiplierCap = 999999999u;

    // The world screens' sets of blocks: the play screen's, and the reduced ones of the
    // screens derived from it.
    enum class Sequence { kFull, kNoScore, kGauges, kMinimal };

    explicit Hud(GameWorldScreen& screen);

    // The blocks of a set, in their order; the caller submits the draw set.
    void DrawSequence(Sequence sequence);

    void DrawFallingPopups();
    void DrawGravityPopups();
    void DrawCredits(float ax, float ay);
    void DrawTimer();
    // Player p is 0 or 1.
    void DrawReflectGauge(int32_t p);
    void DrawTopBlock();
    void DrawShipsAndBombs();
    void DrawMultipliers();
    void DrawScores();

    // Decimal digits of value, index 0 the units; the index of the highest non-zero
    // digit, -1 for 0.
    static int32_t SplitDigits(uint64_t value, uint8_t* digits, int32_t count);
    // The multiplier shown: in pair mode the sum of both, held to the cap.
    static uint32_t ShownMultiplier(int32_t own, int32_t other, bool pair);

  private:
    struct Sheet {
        const SpriteSheet* sheet = nullptr;
        const SpriteRect* Get(const char* name) const;
    };
    void Digits(const SpriteRect* const* set, const uint8_t* digits, int32_t count, float x, float y, float w,
                float h, float step, bool rightAligned);
    void DrawScoreNumber(const uint8_t* digits, float x, float y, bool rightAligned);

    GameWorldScreen& screen;
    // Game sheet.
    const SpriteRect* timerDigits[10];
    const SpriteRect* timeLabel;
    const SpriteRect* fallingDigits[3][11];  // yellow, blue, red; [10] the plus sign
    const SpriteRect* gravityDigits[11];     // [10] the mark after the units
    const SpriteRect* gaugeLabel;
    const SpriteRect* gaugeCharging[3];
    const SpriteRect* gaugeDischarging;
    const SpriteRect* scoreDigits[4][10];  // white, green, yellow, red
    const SpriteRect* singleLabel;
    const SpriteRect* doubleLabel;
    const SpriteRect* shipIcons[4];
    const SpriteRect* reserveDigits[11];  // [10] unlimited
    const SpriteRect* bombDigits[11];     // [10] unlimited
    const SpriteRect* playerLabels[2];
    const SpriteRect* timesMark;
    const SpriteRect* bombLabel;
    const SpriteRect* multiplierDigitSprites[10];
    const SpriteRect* multiplierLabel;
    // System sheet.
    const SpriteRect* creditPlayers[2];
    const SpriteRect* coinDigits[10];
    const SpriteRect* insertText;
    const SpriteRect* addText;
    const SpriteRect* coinsText;
    const SpriteRect* toStart;
    const SpriteRect* toContinue;
    const SpriteRect* pleaseWait;
    const SpriteRect* pressStart;

    // The multipliers last drawn and their digits.
    uint32_t multiplierShown[2] = {0xFFFFFFFFu, 0xFFFFFFFFu};
    uint8_t multiplierDigits[2][kMultiplierDigits] = {};
};

}  // namespace mareldon
