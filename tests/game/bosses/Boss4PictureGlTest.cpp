// Stage 4 jumped into its boss fight and drawn on the OpenGL backend (offscreen
// through Mesa): the head shows only once the body's defeat reaches frame 300.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/bosses/BossPictureFixture.h"
#include "tools/archive/PlaceholderBoss4.h"

namespace mareldon {
namespace {

// The head's weak point is the placeholder's one cyan part; effects drawn over it may
// dim it.
bool Cyan(uint32_t c) {
    const int r = int((c >> 16) & 0xFF), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
    return r < 0x70 && g > 0x90 && b > 0x90 && std::abs(g - b) < 0x30;
}

class Boss4PictureGlTest : public BossPictureGlTest {};

TEST_F(Boss4PictureGlTest, TheHeadShowsOnlyFromTheBodysDefeatFrame300) {
    ASSERT_TRUE(StartStage(4));
    root.Update();
    Boss4LayerPart0* face = FindFirstNode<Boss4LayerPart0>(*screen->GetWorldRoot());
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->body, nullptr);
    Boss4LayerPart23* head = face->head;
    ASSERT_NE(head, nullptr);
    // The stage clock jumped to the face's opening, then its weak point beaten.
    screen->GetStageScene()->SetMotionTime(11399.5f / 60.0f);
    for (int i = 0; i < 3; ++i)
        root.Update();
    ASSERT_EQ(face->body->Part(2)->hittable, 1);
    AttackVector attack{};
    attack.values[0] = 2501.0f;
    face->body->Part(2)->ApplyAttack(1, attack);
    // The top face of the head's weak point, where the head stands hidden and where its
    // model carries it once shown.
    Boss4LayerPart* weakPoint = head->WeakPoint();
    ASSERT_NE(weakPoint, nullptr);
    auto top = [&] {
        const Vec3 at = weakPoint->GetWorldPosition();
        return Vec3{at.x, at.y + 1.2f, at.z};
    };
    ASSERT_TRUE(Cyan(PlaceholderBoss4Colour(25)));

    int32_t steps = 0;
    while (log.Count("BossShown") == 0 && steps < 400) {
        if (steps % 25 == 0) {
            const std::vector<uint32_t> hidden = Picture("boss4-sinking");
            EXPECT_FALSE(Cyan(ColourAt(hidden, top()))) << "step " << steps;
        }
        root.Update();
        ++steps;
    }
    ASSERT_LT(steps, 400);
    EXPECT_GE(steps, 299);
    EXPECT_EQ(head->heldHidden, 0);
    // Carried down into place, before its attack starts at 150.
    for (int i = 0; i < 140; ++i)
        root.Update();
    const std::vector<uint32_t> shown = Picture("boss4-head");
    const uint32_t seen = ColourAt(shown, top());
    EXPECT_TRUE(Cyan(seen)) << std::hex << seen;
}

}  // namespace
}  // namespace mareldon
