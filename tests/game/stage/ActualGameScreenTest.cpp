#include "game/stage/ActualGameScreen.h"

#include <gtest/gtest.h>

#include "engine/core/PlayerInput.h"
#include "game/stage/PlayerShip.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

class ActualGameScreenTest : public testing::Test, public WorldScreenFixture {
  protected:
    ActualGameScreen& Play() { return static_cast<ActualGameScreen&>(*screen); }
    // A fresh press of start on the player's join input, seen in the next step.
    void PressStart(int player) { Play().JoinInput(player).buttons.pressed = ActualGameScreen::kStartButton; }
    void Release(int player) { Play().JoinInput(player).buttons = ButtonSet{}; }
};

// A start press joins only a player who may start: not without credit.
TEST_F(ActualGameScreenTest, AStartPressJoinsOnlyWhenThePlayerMayStart) {
    Enter(1);
    ASSERT_TRUE(StartWorld());
    ASSERT_FALSE(system->CanPlayerStart(2));
    PressStart(2);
    Step();
    EXPECT_EQ(log.Count("JoinPlayers"), 0);
    EXPECT_EQ(system->GetPlayer(2).shipStock, 0);

    system->ForceCreditsForTest(1);
    ASSERT_TRUE(system->CanPlayerStart(2));
    Step();
    EXPECT_EQ(log.Count("JoinPlayers", "2"), 1);
    EXPECT_GT(system->GetPlayer(2).shipStock, 0);
    Release(2);
    // The respawn of the next steps makes the ship of the player who joined.
    ASSERT_GE(StepUntil([&] { return screen->ships[1] != nullptr; }, 5), 0);
}

// The join inputs stay live when the play inputs replay.
TEST_F(ActualGameScreenTest, JoiningWorksWhileThePlayInputsReplay) {
    playMode = GameWorldScreen::kPlayReplay;
    Enter(1);
    ASSERT_TRUE(StartWorld());
    EXPECT_EQ(screen->GetPlayMode(), GameWorldScreen::kPlayReplay);
    EXPECT_EQ(Play().JoinInput(2).flags & PlayerInput::kReplay, 0u);
    system->ForceCreditsForTest(1);
    PressStart(2);
    Step();
    EXPECT_EQ(log.Count("JoinPlayers", "2"), 1);
}

// With both players out of the game "gameover" is requested once and the stage keeps
// running behind the next scene for 180 steps, with no join tested any more.
TEST_F(ActualGameScreenTest, BothPlayersOutEndTheGameOnce) {
    Enter(1);
    ASSERT_TRUE(StartWorld());
    ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 5), 0);
    for (int i = 0; i < 10; ++i)
        Step();
    EXPECT_EQ(log.Count("RequestSuccessor"), 0);
    system->GetPlayer(1).shipStock = 0;
    Step();
    EXPECT_EQ(log.Count("RequestSuccessor", "gameover"), 1);
    EXPECT_TRUE(system->GetCurrentSceneName().Equals("gameover"));
    system->ForceCreditsForTest(1);
    PressStart(1);
    const int left = StepUntil([&] { return screenGone; }, 400);
    // The request's own step counts down first.
    EXPECT_EQ(left + 1, ActualGameScreen::kGameOverExitCountdown);
    EXPECT_EQ(log.Count("RequestSuccessor"), 1);
    EXPECT_EQ(log.Count("JoinPlayers"), 0);
}

// A player offered a continue, naming or choosing a ship keeps the game alive.
TEST_F(ActualGameScreenTest, PlayersStillInTheGameKeepItAlive) {
    ASSERT_TRUE(StartWorld());
    system->GetPlayerFlags(2)[0] = 1;  // name entry
    for (int i = 0; i < 30; ++i)
        Step();
    EXPECT_EQ(log.Count("RequestSuccessor"), 0);
    // The name-entry tune plays over the frozen stage, once.
    EXPECT_EQ(log.Count("CuePlay", "name 1"), 1);
    system->GetPlayerFlags(2)[0] = 0;
    Step();
    EXPECT_EQ(log.Count("RequestSuccessor", "gameover"), 1);
}

}  // namespace
}  // namespace mareldon
