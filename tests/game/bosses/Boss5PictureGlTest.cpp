// Stage 5 jumped to its boss fight and drawn on the OpenGL backend through the ball's
// defeat and the mandala's hand-over; the world then goes with the ball's homing target
// in it, whichever of the two its teardown reaches first.
#include <gtest/gtest.h>

#include "game/bosses/Boss5Body.h"
#include "tests/game/bosses/BossPictureFixture.h"

namespace mareldon {
namespace {

class Boss5PictureGlTest : public BossPictureGlTest {};

TEST_F(Boss5PictureGlTest, TheBeatenBallHandsOverAndTheWorldGoesWithItsHomingTarget) {
    ASSERT_TRUE(StartStage(5));
    Step();
    ASSERT_NE(screen->GetStageScene(), nullptr);
    Boss5Body* ball = FindFirstNode<Boss5Body>(*screen->GetWorldRoot());
    auto* centre = FindFirstNode<Boss5MandaraLayerPart0>(*screen->GetWorldRoot());
    auto* ring = FindFirstNode<Boss5MandaraLayerPart22>(*screen->GetWorldRoot());
    ASSERT_NE(ball, nullptr);
    ASSERT_NE(centre, nullptr);
    ASSERT_NE(ring, nullptr);
    JumpBefore(Boss5Body::kFightStart);
    ball->Clock()->SetMotionTime((float(Boss5Body::kFightStart) - 0.5f) / 60.0f);
    UpdateOnly(3);
    ASSERT_EQ(log.Count("BossEvent", "ball.start 11400"), 1);
    ASSERT_NE(ball->WeakPoint(), nullptr);

    Picture("boss5-ball");

    AttackVector attack{};
    attack.values[0] = 4501.0f;
    ball->WeakPoint()->ApplyAttack(1, attack);
    int32_t steps = 0;
    while (log.Count("BossEvent", "ball.defeat.handover 360") == 0 && steps < 400) {
        if (steps % 60 == 0)
            Picture("boss5-defeat" + std::to_string(steps));
        UpdateOnly();
        ++steps;
    }
    ASSERT_LT(steps, 400);
    EXPECT_EQ(centre->heldHidden, 0);
    EXPECT_EQ(ring->heldHidden, 0);
    // Past the homing's start: the home point stands under the world root, which the
    // teardown deletes before or after the ball.
    ASSERT_NE(ball->home, nullptr);
    UpdateOnly(10);
    Picture("boss5-mandala");
}

}  // namespace
}  // namespace mareldon
