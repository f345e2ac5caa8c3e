#pragma once

#include <cstdint>

namespace mareldon {

// What the ship-select rules act on: the game system's records and the live world
// behind the overlay. Players are 1 and 2.
class StageSelectPort {
  public:
    virtual ~StageSelectPort() = default;
    virtual bool IsPlayerInGame(int player) = 0;
    virtual int PlayerStatus(int player) = 0;
    virtual int ShipType(int player) = 0;
    virtual void SetShipType(int player, int type) = 0;
    virtual void ZeroContinues(int player) = 0;
    virtual void JoinPlayer(int player) = 0;
    // A new flying ship of the record's type, firing; `keepPosition` puts it where
    // the old one flew.
    virtual void RebuildShip(int player, bool keepPosition) = 0;
    virtual void RemoveShip(int player) = 0;
    virtual void PlaySe(int id) = 0;
    virtual void AddStartLock() = 0;
    virtual void ReleaseStartLock() = 0;
    virtual void SetPairMode(bool tag) = 0;
    virtual void SetGameMode(int mode) = 0;
    // Both stage previews back to motion time 0.
    virtual void ResetPreviews() = 0;
    virtual void StepPreviews() = 0;
    // Turns the player's turntable about z (radians) and moves it in x; nothing
    // without a turntable.
    virtual void MoveTurntable(int player, float radians, float dx) = 0;
    virtual void RefreshShipModels() = 0;
};

// The ship select's phases and choices, apart from drawing: each player picks a
// ship on a turntable, a pair picks the score mode, the leading player picks the
// first stage; each choice has a countdown of its own.
class StageSelectRules {
  public:
    enum Phase : int32_t { kShip = 0, kStage = 1, kLeaving = 2, kScoreMode = 5 };
    // What a drawn frame changed.
    enum class FrameResult { kNone, kToStage, kLeave };

    static constexpr float kClockStep = 1.0f / 48.0f;
    static constexpr int32_t kTurnStep = 5;
    static constexpr int32_t kTurnPerPress = 120;
    static constexpr float kTurnStepRadians = 0.0872665f;
    static constexpr float kSlideTurnRadians = 0.261799f;
    static constexpr float kSlideMove = 0.5f;
    static constexpr int32_t kSlideIn = 100;
    static constexpr int32_t kSlideStep = 5;
    static constexpr float kPanelStartLeft = -220.0f;
    static constexpr float kPanelStartRight = 500.0f;
    static constexpr float kPanelY = 120.0f;
    static constexpr float kPanelStop = 20.0f;
    static constexpr float kPanelStep = 16.0f;
    static constexpr int32_t kFlashSteps = 10;
    static constexpr int32_t kLeavingSteps = 30;
    static constexpr int32_t kBlinkFrames = 15;

    static constexpr uint32_t kLeft = 0x4;
    static constexpr uint32_t kRight = 0x8;
    static constexpr uint32_t kConfirm = 0x40;
    static constexpr uint32_t kStart = 0x200;

    explicit StageSelectRules(StageSelectPort& port) : port_(port) {}

    // The records' first ships and the players already in the game.
    void Begin();
    // The turntables, then the phase's rules, with each player's pressed word.
    void Step(const uint32_t pressed[2], int32_t stepCount);
    // The decision blink of a drawn frame: true from its 16th frame after the
    // decision, when the phase moves on.
    FrameResult DrawnFrame();
    // Phase 2's white fade: 0.01 more every second frame.
    void AdvanceFade();
    bool IsAlive() const { return leavingCount < kLeavingSteps; }

    // The countdown shown: 20 down to 0, each digit 0..9.
    int32_t Countdown() const;
    float PhaseClock() const;
    // Corner of the chosen panel in phase 5 or 1.
    float ChosenPanelX() const;
    bool IsReady() const { return phase == kScoreMode ? scoreReady != 0 : stageReady != 0; }
    bool IsDecided() const { return phase == kScoreMode ? scoreDecided != 0 : stageDecided != 0; }
    bool BothJoined() const { return joined[0] && joined[1]; }
    static int Other(int player) { return player == 1 ? 2 : 1; }

    int32_t phase = kShip;
    float shipClock = 0.0f;
    float scoreClock = 0.0f;
    float stageClock = 0.0f;
    uint8_t joined[2] = {0, 0};
    uint8_t confirmed[2] = {0, 0};
    int32_t leavingCount = 0;
    int32_t leadingPlayer = 0;
    uint8_t scoreChoice = 0;  // 0 SINGLE, 1 TAG
    uint8_t inputsEnabled = 0;
    uint8_t scoreReady = 0;
    uint8_t stageReady = 0;
    float fadeAlpha = 0.0f;
    int32_t fadeCount = 0;
    float stagePanelX[2] = {kPanelStartLeft, kPanelStartRight};
    uint8_t stageChoice = 0;  // 0 ISLAND, 1 VOLCANO
    float scorePanelX[2] = {kPanelStartLeft, kPanelStartRight};
    int32_t frontSlot[2] = {0, 3};
    int32_t turnPending[2] = {0, 0};  // degrees
    int32_t slideIn[2] = {0, 0};
    uint8_t leftFlash[2] = {0, 0};
    int32_t leftFlashCount[2] = {0, 0};
    uint8_t rightFlash[2] = {0, 0};
    int32_t rightFlashCount[2] = {0, 0};
    uint8_t shipRemoved[2] = {0, 0};
    int32_t stageDecisionFrames = 0;
    int32_t scoreDecisionFrames = 0;
    uint8_t scoreDecided = 0;
    uint8_t stageDecided = 0;

  private:
    void Join(int player, bool fromPress);
    void LeaveShipPhase();
    void StepTurntables();
    void StepShipPhase(const uint32_t pressed[2], int32_t stepCount);
    void Choose(int player, uint32_t pressed);
    void StepScoreMode(const uint32_t pressed[2]);
    void StepStage(const uint32_t pressed[2]);
    void DecideScoreMode();
    void DecideStage();
    uint32_t LeaderPressed(const uint32_t pressed[2]) const;

    StageSelectPort& port_;
};

}  // namespace mareldon
