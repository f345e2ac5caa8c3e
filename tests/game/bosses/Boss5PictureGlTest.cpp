// Stage 5 jumped to its boss fight and drawn on the OpenGL backend through the ball's
// defeat and the mandala's hand-over: the mandala shows only from the hand-over, and the
// world then goes with the ball's homing target in it, whichever of the two its teardown
// reaches first.
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

// The centre's weak point is the placeholder's one red part.
bool Red(uint32_t c) {
    const int r = int((c >> 16) & 0xFF), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
    return r > 0xB0 && g < 0x70 && b < 0x70;
}

TEST_F(Boss5PictureGlTest, TheMandalaIsDrawnOnlyOnceTheBallHandsOver) {
    ASSERT_TRUE(StartStage(5));
    Step();
    Boss5Body* ball = FindFirstNode<Boss5Body>(*screen->GetWorldRoot());
    auto* centre = FindFirstNode<Boss5MandaraLayerPart0>(*screen->GetWorldRoot());
    ASSERT_NE(ball, nullptr);
    ASSERT_NE(centre, nullptr);
    JumpBefore(Boss5Body::kFightStart);
    ball->Clock()->SetMotionTime((float(Boss5Body::kFightStart) - 0.5f) / 60.0f);
    // Past the stage's time-limit start: enough left that neither the ball's give-up
    // nor the stage's end comes into this run.
    screen->SetTimeLeft(90.0f);
    Step(3);
    ASSERT_EQ(log.Count("BossEvent", "ball.start 11400"), 1);
    Boss5WeakPoint* weakPoint = centre->WeakPoint();
    ASSERT_NE(weakPoint, nullptr);
    auto top = [&] {
        const Vec3 at = weakPoint->GetWorldPosition();
        return Vec3{at.x, at.y + 0.5f, at.z};
    };

    // The sweeps run all along: they keep the held mandala hidden through the ball's
    // fight and defeat.
    const std::vector<uint32_t> fight = Picture("boss5-fight");
    EXPECT_FALSE(Red(ColourAt(fight, top())));
    AttackVector attack{};
    attack.values[0] = 4501.0f;
    ball->WeakPoint()->ApplyAttack(1, attack);
    int32_t steps = 0;
    while (log.Count("BossEvent", "ball.defeat.handover 360") == 0 && steps < 400) {
        if (steps % 40 == 0) {
            const std::vector<uint32_t> hidden = Picture("boss5-handover" + std::to_string(steps));
            EXPECT_FALSE(Red(ColourAt(hidden, top()))) << "step " << steps;
        }
        Step();
        ++steps;
    }
    ASSERT_LT(steps, 400);
    EXPECT_EQ(centre->heldHidden, 0);
    // Once the defeat's bursts have faded the mandala stands where the ball was.
    Step(120);
    const std::vector<uint32_t> shown = Picture("boss5-mandala-shown");
    const uint32_t seen = ColourAt(shown, top());
    EXPECT_TRUE(Red(seen)) << std::hex << seen;
}

}  // namespace
}  // namespace mareldon
