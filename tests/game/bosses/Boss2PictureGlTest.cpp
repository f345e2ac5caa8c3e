// Stage 2 jumped to its boss fight and drawn on the OpenGL backend (offscreen through
// Mesa): each section's colour where the stage camera puts it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/bosses/Boss2Body.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/bosses/BossPictureFixture.h"
#include "tools/archive/PlaceholderBoss2.h"

namespace mareldon {
namespace {

class Boss2PictureGlTest : public BossPictureGlTest {};

TEST_F(Boss2PictureGlTest, SectionsShowTheirColoursAtTheFightStart) {
    ASSERT_TRUE(StartStage(2));
    Step();
    Boss2Body* body = FindFirstNode<Boss2Body>(*screen->GetWorldRoot());
    ASSERT_NE(body, nullptr);
    // The stage and boss clocks jumped to the fight start.
    ASSERT_NE(screen->GetStageScene(), nullptr);
    screen->GetStageScene()->SetMotionTime(9599.5f / 60.0f);
    body->ParentNode()->SetMotionTime(9599.5f / 60.0f);
    for (int i = 0; i < 3; ++i)
        Step();
    ASSERT_GE(body->GetStepCount(), 9601);
    ASSERT_EQ(body->Part(3)->hittable, 1);
    const std::vector<uint32_t> fight = Picture("boss2-fight");

    // Points on each section's top face clear of its neighbours.
    const struct {
        int32_t layer;
        float x, z;
    } kPoints[] = {
        {1, 0.0f, 0.0f},  {2, 0.0f, -0.5f},  {3, 0.0f, 0.2f},  {4, 0.0f, 0.0f},  {7, 0.0f, 0.2f},
        {11, 0.0f, 0.1f}, {12, -0.2f, 0.1f}, {13, 0.0f, 0.1f}, {14, 0.2f, 0.1f},
    };
    for (const auto& point : kPoints) {
        Boss2LayerPart* part = body->Part(point.layer);
        ASSERT_NE(part, nullptr) << point.layer;
        const uint32_t seen = ColourOn(fight, *part, PlaceholderBoss2Half(point.layer), point.x, point.z);
        EXPECT_TRUE(NearColour(seen, PlaceholderBoss2Colour(point.layer), 24))
            << "layer " << point.layer << ": " << std::hex << seen;
    }
}

}  // namespace
}  // namespace mareldon
