// The ship select's phase and choice rules against a recording port.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/screens/StageSelectRules.h"

namespace mareldon {
namespace {

using Rules = StageSelectRules;

// The game system and world as the rules see them; every call is noted.
class FakePort : public StageSelectPort {
  public:
    bool IsPlayerInGame(int player) override { return inGame[player - 1]; }
    int PlayerStatus(int player) override { return inGame[player - 1] ? 1 : status[player - 1]; }
    int ShipType(int player) override { return ship[player - 1]; }
    void SetShipType(int player, int type) override { ship[player - 1] = type; }
    void ZeroContinues(int player) override { continues[player - 1] = 0; }
    void JoinPlayer(int player) override {
        inGame[player - 1] = true;
        Note("join " + std::to_string(player));
    }
    void RebuildShip(int player, bool keep) override {
        Note("ship " + std::to_string(player) + (keep ? " kept" : ""));
    }
    void RemoveShip(int player) override { Note("remove " + std::to_string(player)); }
    void PlaySe(int id) override { se.push_back(id); }
    void AddStartLock() override { ++lock; }
    void ReleaseStartLock() override { --lock; }
    void SetPairMode(bool tag) override { Note(tag ? "pair tag" : "pair single"); }
    void SetGameMode(int mode) override { gameMode = mode; }
    void ResetPreviews() override { ++previewResets; }
    void StepPreviews() override { ++previewSteps; }
    void MoveTurntable(int player, float radians, float dx) override {
        turned[player - 1] += radians;
        moved[player - 1] += dx;
    }
    void RefreshShipModels() override { ++refreshes; }

    void Note(const std::string& what) { calls.push_back(what); }
    bool Called(const std::string& what) const {
        for (const std::string& call : calls) {
            if (call == what)
                return true;
        }
        return false;
    }

    bool inGame[2] = {true, false};
    int status[2] = {0, 0};
    int ship[2] = {0, 0};
    int continues[2] = {3, 4};
    int lock = 0;
    int gameMode = 0;
    int previewResets = 0;
    int previewSteps = 0;
    int refreshes = 0;
    float turned[2] = {0.0f, 0.0f};
    float moved[2] = {0.0f, 0.0f};
    std::vector<int> se;
    std::vector<std::string> calls;
};

class StageSelectRulesTest : public testing::Test {
  protected:
    // One step with these pressed words.
    void Step(uint32_t p1 = 0, uint32_t p2 = 0) {
        const uint32_t pressed[2] = {p1, p2};
        rules.Step(pressed, step++);
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i)
            Step();
    }
    // Past the slide-in: the inputs are taken.
    void Begin() {
        rules.Begin();
        Steps(20);
        ASSERT_TRUE(rules.inputsEnabled);
    }
    int StepsUntil(int phase, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (rules.phase == phase)
                return i;
            Step();
        }
        return -1;
    }

    FakePort port;
    Rules rules{port};
    int step = 0;
};

TEST_F(StageSelectRulesTest, OnePlayerWithoutInputTakesShipThenIsland) {
    rules.Begin();
    EXPECT_EQ(port.ship[0], 0);
    EXPECT_EQ(port.ship[1], 1);
    EXPECT_TRUE(port.Called("ship 1"));
    // The ship phase runs until the display shows 00.
    int steps = 0;
    while (rules.phase == Rules::kShip && steps < 2000) {
        EXPECT_EQ(port.lock, 0);
        Step();
        ++steps;
    }
    EXPECT_NEAR(steps, 1008, 1);
    EXPECT_EQ(int(rules.shipClock), 21);
    EXPECT_EQ(rules.phase, Rules::kStage);
    EXPECT_EQ(port.se.back(), 8);
    EXPECT_EQ(port.lock, 1);
    EXPECT_EQ(port.previewResets, 1);
    EXPECT_EQ(rules.leadingPlayer, 1);
    EXPECT_TRUE(port.Called("remove 1"));
    EXPECT_TRUE(rules.shipRemoved[0]);

    steps = 0;
    while (!rules.stageDecided && steps < 2000) {
        Step();
        ++steps;
    }
    EXPECT_NEAR(steps, 1008, 1);
    EXPECT_EQ(rules.Countdown(), -1);
    EXPECT_EQ(port.gameMode, 1);
    EXPECT_EQ(port.lock, 0);
    EXPECT_GT(port.previewSteps, 1000);
    // Sixteen drawn frames of blinking, then leaving.
    for (int frame = 1; frame < 16; ++frame)
        EXPECT_EQ(rules.DrawnFrame(), Rules::FrameResult::kNone) << frame;
    EXPECT_EQ(rules.DrawnFrame(), Rules::FrameResult::kLeave);
    EXPECT_EQ(rules.phase, Rules::kLeaving);
    Steps(29);
    EXPECT_TRUE(rules.IsAlive());
    Step();
    EXPECT_FALSE(rules.IsAlive());
}

TEST_F(StageSelectRulesTest, SlideInBringsTheTurntableBackAndThenTakesInput) {
    port.inGame[1] = true;
    rules.Begin();
    Steps(18);
    EXPECT_FALSE(rules.inputsEnabled);
    Step(Rules::kRight);
    EXPECT_EQ(port.ship[0], 0) << "no choice while sliding in";
    Step();
    EXPECT_TRUE(rules.inputsEnabled);
    // 20 steps of 15 degrees and 0.5 units undo the start's 300 degrees and 10 units.
    EXPECT_NEAR(port.turned[0], -5.235988f, 1e-4f);
    EXPECT_NEAR(port.moved[0], 10.0f, 1e-4f);
    EXPECT_NEAR(port.turned[1], 5.235988f, 1e-4f);
    EXPECT_NEAR(port.moved[1], -10.0f, 1e-4f);
}

TEST_F(StageSelectRulesTest, PressesSkipThePartnersShipAndWrap) {
    const struct {
        int player;
        uint32_t button;
        int own, partner, expected;
        int slot;
    } cases[] = {
        {1, Rules::kRight, 0, 1, 2, 1}, {1, Rules::kRight, 0, 2, 1, 1}, {1, Rules::kLeft, 0, 3, 2, 2},
        {1, Rules::kLeft, 0, 2, 3, 2},  {1, Rules::kRight, 3, 0, 1, 1}, {2, Rules::kLeft, 1, 0, 3, 5},
        {2, Rules::kRight, 1, 2, 3, 4}, {2, Rules::kRight, 3, 2, 0, 4},
    };
    for (const auto& c : cases) {
        FakePort fresh;
        fresh.inGame[1] = true;
        Rules r(fresh);
        r.Begin();
        const uint32_t none[2] = {0, 0};
        for (int i = 0; i < 20; ++i)
            r.Step(none, i);
        fresh.ship[c.player - 1] = c.own;
        fresh.ship[2 - c.player] = c.partner;
        uint32_t pressed[2] = {0, 0};
        pressed[c.player - 1] = c.button;
        r.Step(pressed, 20);
        EXPECT_EQ(fresh.ship[c.player - 1], c.expected) << c.player << " " << c.own << " " << c.partner;
        EXPECT_EQ(r.frontSlot[c.player - 1], c.slot);
        EXPECT_EQ(std::abs(r.turnPending[c.player - 1]), 120);
        EXPECT_EQ(fresh.se.back(), 9);
        EXPECT_TRUE(fresh.Called("ship " + std::to_string(c.player) + " kept"));
    }
}

TEST_F(StageSelectRulesTest, ThreeTurnsBringTheFirstSlotBack) {
    Begin();
    for (int press = 0; press < 3; ++press) {
        Step(Rules::kLeft);
        Steps(24);
        EXPECT_EQ(rules.turnPending[0], 0);
    }
    EXPECT_EQ(rules.frontSlot[0], 0);
    EXPECT_NEAR(port.turned[0], -5.235988f - 3.0f * 24.0f * Rules::kTurnStepRadians, 1e-3f);
    EXPECT_EQ(port.ship[0], 1) << "three steps left from ship 0 with no partner";
}

TEST_F(StageSelectRulesTest, JoiningPlayerTakesTheShipBesideThePartner) {
    port.inGame[0] = false;
    port.inGame[1] = true;
    rules.Begin();
    EXPECT_FALSE(rules.joined[0]);
    port.ship[1] = 0;
    port.status[0] = 7;
    Steps(100);
    const float clock = rules.shipClock;
    EXPECT_GT(clock, 2.0f);
    Step(Rules::kStart);
    EXPECT_TRUE(port.Called("join 1"));
    EXPECT_TRUE(rules.joined[0]);
    EXPECT_EQ(port.ship[0], 1);
    EXPECT_LT(rules.shipClock, 0.1f) << "a join restarts the countdown";
    EXPECT_EQ(rules.slideIn[0], 95);
    // A player who may not start cannot join.
    FakePort other;
    other.inGame[0] = false;
    other.inGame[1] = true;
    Rules r(other);
    r.Begin();
    const uint32_t start[2] = {Rules::kStart, 0};
    r.Step(start, 0);
    EXPECT_FALSE(r.joined[0]);
}

TEST_F(StageSelectRulesTest, ConfirmWaitsForTheTurnAndTheLeaderIsTheFirstToConfirm) {
    port.inGame[1] = true;
    Begin();
    Step(0, Rules::kLeft);
    Step(0, Rules::kConfirm);
    EXPECT_FALSE(rules.confirmed[1]) << "still turning";
    Steps(23);
    EXPECT_EQ(rules.turnPending[1], 0);
    Step(0, Rules::kConfirm);
    EXPECT_TRUE(rules.confirmed[1]);
    EXPECT_EQ(rules.leadingPlayer, 2);
    EXPECT_EQ(port.se.back(), 8);
    Step(Rules::kConfirm);
    EXPECT_TRUE(rules.confirmed[0]);
    EXPECT_EQ(rules.leadingPlayer, 2);
    EXPECT_EQ(rules.phase, Rules::kShip);
    Step();
    EXPECT_EQ(rules.phase, Rules::kScoreMode);
    EXPECT_EQ(port.lock, 1);
    EXPECT_TRUE(port.Called("remove 1"));
    EXPECT_TRUE(port.Called("remove 2"));
}

TEST_F(StageSelectRulesTest, NoChoiceWhileTheDisplayShowsZero) {
    Begin();
    while (21 - int(rules.shipClock) >= 2)
        Step();
    EXPECT_EQ(rules.Countdown(), 0);
    Step(Rules::kRight);
    EXPECT_EQ(port.ship[0], 0);
    EXPECT_EQ(rules.turnPending[0], 0);
    // A confirm still counts.
    Step(Rules::kConfirm);
    EXPECT_TRUE(rules.confirmed[0]);
}

TEST_F(StageSelectRulesTest, ScoreModeTagZeroesBothContinuesAndSingleLeavesThem) {
    for (const bool tag : {false, true}) {
        FakePort fresh;
        fresh.inGame[1] = true;
        Rules r(fresh);
        r.Begin();
        uint32_t pressed[2] = {0, 0};
        int s = 0;
        for (; r.phase == Rules::kShip; ++s)
            r.Step(pressed, s);
        ASSERT_EQ(r.phase, Rules::kScoreMode);
        EXPECT_EQ(r.leadingPlayer, 1) << "the first joined on a timeout";
        for (int i = 0; i < 15; ++i, ++s)
            r.Step(pressed, s);
        EXPECT_TRUE(r.scoreReady);
        EXPECT_EQ(r.scorePanelX[0], 20.0f);
        EXPECT_EQ(r.scorePanelX[1], 260.0f);
        // The partner cannot choose; the leader toggles and confirms.
        pressed[1] = Rules::kRight;
        r.Step(pressed, s++);
        EXPECT_EQ(r.scoreChoice, 0);
        pressed[1] = 0;
        if (tag) {
            pressed[0] = Rules::kLeft;
            r.Step(pressed, s++);
            EXPECT_EQ(fresh.se.back(), 10);
        }
        pressed[0] = Rules::kConfirm;
        r.Step(pressed, s++);
        EXPECT_TRUE(r.scoreDecided);
        EXPECT_TRUE(fresh.Called(tag ? "pair tag" : "pair single"));
        EXPECT_EQ(fresh.continues[0], tag ? 0 : 3);
        EXPECT_EQ(fresh.continues[1], tag ? 0 : 4);
        for (int frame = 1; frame < 16; ++frame)
            EXPECT_EQ(r.DrawnFrame(), Rules::FrameResult::kNone);
        EXPECT_EQ(r.DrawnFrame(), Rules::FrameResult::kToStage);
        EXPECT_EQ(r.phase, Rules::kStage);
        // VOLCANO by the leader.
        pressed[0] = 0;
        for (int i = 0; i < 16; ++i, ++s)
            r.Step(pressed, s);
        pressed[0] = Rules::kRight;
        r.Step(pressed, s++);
        pressed[0] = Rules::kConfirm;
        r.Step(pressed, s++);
        EXPECT_EQ(fresh.gameMode, 2);
        EXPECT_EQ(fresh.lock, 0);
    }
}

TEST_F(StageSelectRulesTest, ClockDisplayAndFade) {
    Begin();
    EXPECT_EQ(rules.Countdown(), 20);
    while (rules.shipClock < 1.0f)
        Step();
    EXPECT_EQ(rules.Countdown(), 19);
    rules.phase = Rules::kLeaving;
    for (int frame = 0; frame < 10; ++frame)
        rules.AdvanceFade();
    EXPECT_NEAR(rules.fadeAlpha, 0.05f, 1e-6f);
}

}  // namespace
}  // namespace mareldon
