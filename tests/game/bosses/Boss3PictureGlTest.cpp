// Stage 3 jumped to its boss fight and drawn on the OpenGL backend: each section's
// colour where the stage camera puts it.
#include <gtest/gtest.h>

#include "game/bosses/Boss3Body.h"
#include "tests/game/bosses/BossPictureFixture.h"
#include "tools/archive/PlaceholderBoss3.h"

namespace mareldon {
namespace {

class Boss3PictureGlTest : public BossPictureGlTest {};

TEST_F(Boss3PictureGlTest, SectionsShowTheirColoursAtTheFightStart) {
    ASSERT_TRUE(StartStage(3));
    Step();
    ASSERT_NE(screen->GetStageScene(), nullptr);
    Boss3Body* body = FindFirstNode<Boss3Body>(*screen->GetWorldRoot());
    ASSERT_NE(body, nullptr);
    JumpBefore(8700);
    body->ParentNode()->SetMotionTime(8699.5f / 60.0f);
    Step(3);
    ASSERT_TRUE(body->IsFighting());
    const std::vector<uint32_t> fight = Picture("boss3-fight");

    // Points on each section's top face clear of its neighbours, the bullets and the
    // score display (which covers Layers 5, 6 and 20 at this camera).
    const struct {
        int32_t slot, layer;
        float x, z;
    } kPoints[] = {
        {kBoss3Core, 0, 0.0f, 0.0f},      {kBoss3Layer2, 2, 0.0f, -0.2f},    {kBoss3Layer11, 11, 0.1f, 0.0f},
        {kBoss3Layer12, 12, -0.1f, 0.0f}, {kBoss3Layer3, 3, 0.0f, 0.0f},     {kBoss3Layer4, 4, 0.0f, 0.0f},
        {kBoss3Layer16, 16, 0.0f, 0.0f},  {kBoss3Layer17, 17, 0.0f, -0.25f}, {kBoss3Layer13, 13, 0.0f, 0.0f},
        {kBoss3Layer14, 14, 0.0f, 0.4f},  {kBoss3Layer19, 19, 0.0f, 0.0f},   {kBoss3Layer21, 21, 0.0f, 0.0f},
    };
    for (const auto& point : kPoints) {
        Boss3Section* part = body->Part(point.slot);
        ASSERT_NE(part, nullptr) << point.layer;
        const uint32_t seen = ColourOn(fight, *part, PlaceholderBoss3Half(point.layer), point.x, point.z);
        EXPECT_TRUE(NearColour(seen, PlaceholderBoss3Colour(point.layer), 24))
            << "layer " << point.layer << ": " << std::hex << seen;
    }
}

}  // namespace
}  // namespace mareldon
