#include "game/screens/StageSelectRules.h"

namespace mareldon {

namespace {

constexpr int kSeDecide = 8;
constexpr int kSeTurn = 9;
constexpr int kSeToggle = 10;
constexpr int kShipCount = 4;
constexpr int kJoinableStatus = 7;

// The step's test of a countdown that ends when `start` - (int)clock reaches `end`.
bool ClockAt(float clock, int start, int end) {
    return start - int(clock) == end;
}

}  // namespace

void StageSelectRules::Begin() {
    port_.SetShipType(1, 0);
    port_.SetShipType(2, 1);
    for (int player = 1; player <= 2; ++player) {
        if (port_.IsPlayerInGame(player))
            Join(player, false);
    }
}

void StageSelectRules::Join(int player, bool fromPress) {
    const int i = player - 1;
    shipClock = 0.0f;
    if (fromPress) {
        port_.JoinPlayer(player);
        // The partner's ship stays theirs: the joining player takes the next one.
        const int other = Other(player);
        const int usual = player == 1 ? 0 : 1;
        const bool taken = port_.IsPlayerInGame(other) && port_.ShipType(other) == usual;
        port_.SetShipType(player, taken ? usual + 1 : usual);
    } else {
        port_.SetShipType(player, player == 1 ? 0 : 1);
    }
    slideIn[i] = player == 1 ? kSlideIn : -kSlideIn;
    joined[i] = 1;
    port_.RebuildShip(player, false);
}

float StageSelectRules::PhaseClock() const {
    switch (phase) {
        case kShip:
            return shipClock;
        case kScoreMode:
            return scoreClock;
        case kStage:
            return stageClock;
        default:
            return 0.0f;
    }
}

int32_t StageSelectRules::Countdown() const {
    return 20 - int32_t(PhaseClock());
}

float StageSelectRules::ChosenPanelX() const {
    if (phase == kScoreMode)
        return scorePanelX[scoreChoice & 1];
    return stagePanelX[stageChoice & 1];
}

void StageSelectRules::Step(const uint32_t pressed[2], int32_t stepCount) {
    StepTurntables();
    switch (phase) {
        case kShip:
            StepShipPhase(pressed, stepCount);
            break;
        case kScoreMode:
            StepScoreMode(pressed);
            break;
        case kStage:
            StepStage(pressed);
            break;
        case kLeaving:
            ++leavingCount;
            break;
        default:
            break;
    }
}

void StageSelectRules::StepTurntables() {
    for (int i = 0; i < 2; ++i) {
        // Counted down even without a turntable to turn, so a confirm is never
        // blocked by a hangar model that lacks one.
        if (turnPending[i] < 0) {
            port_.MoveTurntable(i + 1, -kTurnStepRadians, 0.0f);
            turnPending[i] += kTurnStep;
        } else if (turnPending[i] > 0) {
            port_.MoveTurntable(i + 1, kTurnStepRadians, 0.0f);
            turnPending[i] -= kTurnStep;
        }
    }
}

void StageSelectRules::LeaveShipPhase() {
    port_.AddStartLock();
    if (BothJoined()) {
        phase = kScoreMode;
    } else {
        phase = kStage;
        port_.ResetPreviews();
    }
}

void StageSelectRules::StepShipPhase(const uint32_t pressed[2], int32_t stepCount) {
    port_.RefreshShipModels();
    for (int i = 0; i < 2; ++i) {
        if (leftFlash[i]) {
            leftFlashCount[i] -= stepCount & 2;
            if (leftFlashCount[i] <= 0)
                leftFlash[i] = 0;
        }
        if (rightFlash[i]) {
            rightFlashCount[i] -= stepCount & 2;
            if (rightFlashCount[i] <= 0)
                rightFlash[i] = 0;
        }
    }

    shipClock += kClockStep;
    if (ClockAt(shipClock, 21, 0)) {
        const bool both = BothJoined();
        phase = both ? kScoreMode : kStage;
        if (!both)
            port_.ResetPreviews();
        port_.PlaySe(kSeDecide);
        port_.AddStartLock();
        leadingPlayer = joined[0] ? 1 : (joined[1] ? 2 : 0);
        for (int i = 0; i < 2; ++i) {
            if (joined[i]) {
                port_.RemoveShip(i + 1);
                shipRemoved[i] = 1;
            }
        }
        // The countdown ended the phase: nothing else of it runs this step.
        return;
    }

    for (int player = 1; player <= 2; ++player) {
        const int i = player - 1;
        if (!joined[i] && port_.PlayerStatus(player) == kJoinableStatus && (pressed[i] & kStart) != 0)
            Join(player, true);
    }

    for (int i = 0; i < 2; ++i) {
        if (slideIn[i] == 0)
            continue;
        const float s = i == 0 ? 1.0f : -1.0f;
        port_.MoveTurntable(i + 1, -s * kSlideTurnRadians, s * kSlideMove);
        slideIn[i] += slideIn[i] > 0 ? -kSlideStep : kSlideStep;
    }
    if (slideIn[0] == 0 && slideIn[1] == 0)
        inputsEnabled = 1;

    for (int i = 0; i < 2; ++i) {
        if (joined[i] && (turnPending[i] < -360 || turnPending[i] > 360))
            turnPending[i] %= 360;
    }

    for (int player = 1; player <= 2; ++player) {
        const int i = player - 1;
        if (joined[i] && !confirmed[i] && (pressed[i] & kConfirm) != 0 && inputsEnabled &&
            turnPending[i] == 0) {
            confirmed[i] = 1;
            if (leadingPlayer == 0)
                leadingPlayer = player;
            port_.PlaySe(kSeDecide);
            return;
        }
    }

    bool anyJoined = false;
    bool allConfirmed = true;
    for (int i = 0; i < 2; ++i) {
        if (joined[i]) {
            anyJoined = true;
            allConfirmed = allConfirmed && confirmed[i];
        }
    }
    if (anyJoined && allConfirmed) {
        LeaveShipPhase();
        for (int i = 0; i < 2; ++i) {
            if (joined[i])
                port_.RemoveShip(i + 1);
        }
        return;
    }

    // The display shows 00: too late to choose.
    if (21 - int(shipClock) < 2)
        return;
    for (int player = 1; player <= 2; ++player) {
        const int i = player - 1;
        if (joined[i] && !confirmed[i])
            Choose(player, pressed[i]);
    }
}

void StageSelectRules::Choose(int player, uint32_t pressed) {
    const int i = player - 1;
    const int other = Other(player);
    const int t = port_.ShipType(player);
    const bool otherIn = port_.IsPlayerInGame(other);
    const int otherType = otherIn ? port_.ShipType(other) : -1;
    const int lowSlot = player == 1 ? 0 : 3;
    const int sign = player == 1 ? 1 : -1;
    int delta = 0;
    if ((pressed & kLeft) != 0 && inputsEnabled) {
        leftFlash[i] = 1;
        leftFlashCount[i] = kFlashSteps;
        port_.PlaySe(kSeTurn);
        // The partner's ship is skipped.
        delta = otherType == (t + 3) % kShipCount ? -2 : -1;
        frontSlot[i] = frontSlot[i] == lowSlot ? lowSlot + 2 : frontSlot[i] - 1;
        turnPending[i] -= sign * kTurnPerPress;
    }
    if ((pressed & kRight) != 0 && inputsEnabled) {
        rightFlash[i] = 1;
        rightFlashCount[i] = kFlashSteps;
        port_.PlaySe(kSeTurn);
        delta = otherType == (t + 1) % kShipCount ? 2 : 1;
        frontSlot[i] = frontSlot[i] == lowSlot + 2 ? lowSlot : frontSlot[i] + 1;
        turnPending[i] += sign * kTurnPerPress;
    }
    if (delta != 0) {
        port_.SetShipType(player, (t + kShipCount + delta) % kShipCount);
        port_.RebuildShip(player, true);
    }
}

uint32_t StageSelectRules::LeaderPressed(const uint32_t pressed[2]) const {
    if (leadingPlayer == 1 || leadingPlayer == 2)
        return pressed[leadingPlayer - 1];
    return 0;
}

void StageSelectRules::DecideScoreMode() {
    scoreDecided = 1;
    const bool tag = scoreChoice != 0;
    port_.SetPairMode(tag);
    if (tag) {
        port_.ZeroContinues(1);
        port_.ZeroContinues(2);
    }
    port_.ResetPreviews();
    port_.PlaySe(kSeDecide);
}

void StageSelectRules::StepScoreMode(const uint32_t pressed[2]) {
    if (scorePanelX[0] < kPanelStop) {
        scorePanelX[0] += kPanelStep;
        scorePanelX[1] -= kPanelStep;
    }
    if (scorePanelX[0] >= kPanelStop)
        scoreReady = 1;
    scoreClock += kClockStep;
    if (!scoreDecided && ClockAt(scoreClock, 20, -1))
        DecideScoreMode();
    const uint32_t leader = LeaderPressed(pressed);
    if (scoreReady && !scoreDecided && (leader & kConfirm) != 0)
        DecideScoreMode();
    if (scoreReady && !scoreDecided && (leader & (kLeft | kRight)) != 0) {
        port_.PlaySe(kSeToggle);
        scoreChoice ^= 1;
    }
}

void StageSelectRules::DecideStage() {
    stageDecided = 1;
    port_.SetGameMode(stageChoice == 0 ? 1 : 2);
    port_.PlaySe(kSeDecide);
    port_.ReleaseStartLock();
}

void StageSelectRules::StepStage(const uint32_t pressed[2]) {
    port_.StepPreviews();
    if (stagePanelX[0] < kPanelStop) {
        stagePanelX[0] += kPanelStep;
        stagePanelX[1] -= kPanelStep;
    }
    if (stagePanelX[0] >= kPanelStop)
        stageReady = 1;
    stageClock += kClockStep;
    if (!stageDecided && ClockAt(stageClock, 20, -1))
        DecideStage();
    const uint32_t leader = LeaderPressed(pressed);
    if (stageReady && !stageDecided && (leader & kConfirm) != 0)
        DecideStage();
    if (stageReady && !stageDecided && (leader & (kLeft | kRight)) != 0) {
        port_.PlaySe(kSeToggle);
        stageChoice ^= 1;
    }
}

StageSelectRules::FrameResult StageSelectRules::DrawnFrame() {
    if (phase == kScoreMode && scoreDecided) {
        if (++scoreDecisionFrames > kBlinkFrames) {
            phase = kStage;
            return FrameResult::kToStage;
        }
    } else if (phase == kStage && stageDecided) {
        if (++stageDecisionFrames > kBlinkFrames) {
            phase = kLeaving;
            return FrameResult::kLeave;
        }
    }
    return FrameResult::kNone;
}

void StageSelectRules::AdvanceFade() {
    if (phase != kLeaving)
        return;
    if (++fadeCount > 1) {
        fadeAlpha += 0.01f;
        fadeCount = 0;
    }
}

}  // namespace mareldon
