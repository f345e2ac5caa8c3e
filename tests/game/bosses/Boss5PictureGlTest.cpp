// Stage 5 jumped to its boss fight and drawn on the OpenGL backend: the mandala stays
// out of the picture while the ball fights and while it is beaten, up to the hand-over;
// the world then goes with the ball's homing target in it.
#include <gtest/gtest.h>

#include "game/bosses/Boss5Body.h"
#include "tests/game/bosses/BossPictureFixture.h"
#include "tools/archive/PlaceholderBoss5.h"

namespace mareldon {
namespace {

using Boss5PictureGlTest = BossPictureFixture;

TEST_F(Boss5PictureGlTest, MandalaStaysOutOfThePictureUntilTheHandOver) {
    ASSERT_TRUE(StartStage(5));
    Boss5Body* ball = FindOne<Boss5Body>(*screen->GetWorldRoot());
    auto* centre = FindOne<Boss5MandaraLayerPart0>(*screen->GetWorldRoot());
    auto* ring = FindOne<Boss5MandaraLayerPart22>(*screen->GetWorldRoot());
    ASSERT_NE(ball, nullptr);
    ASSERT_NE(centre, nullptr);
    ASSERT_NE(ring, nullptr);
    JumpBefore(Boss5Body::kFightStart);
    for (int i = 0; i < 3; ++i)
        root.Update();
    ASSERT_EQ(log.Count("BossEvent", "ball.start 11400"), 1);
    ASSERT_NE(ball->WeakPoint(), nullptr);

    // Where the mandala's boxes stand, on their top faces, clear of the ball's.
    auto expectNoMandala = [&](const std::vector<uint32_t>& pixels, int32_t step) {
        for (float x : {-1.2f, 0.0f, 1.2f}) {
            const uint32_t onRing = ColourOnTop(pixels, *ring, kPlaceholderMandalaRingHalf, x, -1.2f);
            EXPECT_FALSE(Near(onRing, kPlaceholderMandalaRingColour, 24)) << "step " << step << " x " << x;
            EXPECT_FALSE(Near(onRing, kPlaceholderMandalaCentreColour, 24)) << "step " << step << " x " << x;
        }
        const uint32_t onCentre = ColourOnTop(pixels, *centre, kPlaceholderMandalaCentreHalf, 0.0f, -0.5f);
        EXPECT_FALSE(Near(onCentre, kPlaceholderMandalaCentreColour, 24)) << "step " << step;
    };
    const std::vector<uint32_t> fight = Picture("boss5-ball");
    // A corner of the ball's top face, clear of its own bullets.
    const uint32_t onBall = ColourOnTop(fight, *ball, kPlaceholderBallHalf, -0.65f, 0.65f);
    EXPECT_TRUE(Near(onBall, kPlaceholderBallColour, 24)) << std::hex << onBall;
    expectNoMandala(fight, 0);

    AttackVector attack{};
    attack.values[0] = 4501.0f;
    ball->WeakPoint()->ApplyAttack(1, attack);
    int32_t steps = 0;
    while (log.Count("BossEvent", "ball.defeat.handover 360") == 0 && steps < 400) {
        if (steps % 60 == 0)
            expectNoMandala(Picture("boss5-defeat" + std::to_string(steps)), steps);
        root.Update();
        ++steps;
    }
    ASSERT_LT(steps, 400);
    EXPECT_EQ(centre->heldHidden, 0);
    EXPECT_EQ(ring->heldHidden, 0);
    // Past the homing's start: the home point stands under the world root, which the
    // teardown deletes before or after the ball.
    ASSERT_NE(ball->home, nullptr);
    for (int i = 0; i < 10; ++i)
        root.Update();
    Picture("boss5-mandala");
}

}  // namespace
}  // namespace mareldon
