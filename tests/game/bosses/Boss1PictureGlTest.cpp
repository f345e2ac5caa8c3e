// Stage 1 jumped into its boss fight and drawn on the OpenGL backend (offscreen
// through Mesa): each section's colour where the stage camera puts it, and the
// cover's broken colour, notched, once it breaks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/bosses/Boss1Body.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/bosses/BossPictureFixture.h"
#include "tools/archive/PlaceholderBoss1.h"

namespace mareldon {
namespace {

class Boss1PictureGlTest : public BossPictureGlTest {};

TEST_F(Boss1PictureGlTest, SectionsShowTheirColoursAndTheCoverBreaksDarkAndNotched) {
    ASSERT_TRUE(StartStage(1));
    Step();
    Boss1Body* body = FindFirstNode<Boss1Body>(*screen->GetWorldRoot());
    ASSERT_NE(body, nullptr);
    // Stage 1's boss clock jumped to frame 8160, the fight 60 frames old.
    body->ParentNode()->SetMotionTime(8159.5f / 60.0f);
    for (int i = 0; i < 2; ++i)
        Step();
    ASSERT_GE(body->GetStepCount(), 8160);
    const std::vector<uint32_t> fight = Picture("boss1-fight");

    // Points on each section's top face clear of its weapons and neighbours.
    const struct {
        int32_t index;
        int32_t layer;
        float x, z;
    } kPoints[] = {
        {kBoss1Cover, 2, -0.4f, -0.6f},    {kBoss1WingRootA, 3, -0.4f, -0.4f},
        {kBoss1WingRootB, 4, 0.4f, -0.4f}, {kBoss1Layer5, 5, -0.2f, 0.2f},
        {kBoss1Layer6, 6, 0.2f, 0.2f},     {kBoss1Layer7, 7, 0.2f, -0.2f},
        {kBoss1Layer8, 8, -0.2f, -0.2f},   {kBoss1Layer9, 9, -0.1f, -0.1f},
        {kBoss1Layer10, 10, 0.1f, -0.1f},
    };
    static const float kHalf[11] = {0.6f, 0.3f, 0.7f, 0.6f, 0.6f, 0.45f, 0.45f, 0.45f, 0.45f, 0.35f, 0.35f};
    for (const auto& point : kPoints) {
        Boss1Section* section = body->Section(point.index);
        ASSERT_NE(section, nullptr) << point.layer;
        const uint32_t seen = ColourOn(fight, *section, kHalf[point.layer], point.x, point.z);
        EXPECT_TRUE(NearColour(seen, PlaceholderBoss1Colour(point.layer), 24))
            << "layer " << point.layer << ": " << std::hex << seen;
    }

    // The cover breaks: its broken mesh, a third as bright, with its +x, +z quarter
    // open onto what lies under it.
    Boss1Section* cover = body->Section(kBoss1Cover);
    AttackVector attack{};
    attack.values[0] = 760.0f;
    cover->ApplyAttack(1, attack);
    for (int i = 0; i < 3; ++i)
        Step();
    ASSERT_TRUE(body->InCorePhase());
    const std::vector<uint32_t> broken = Picture("boss1-broken");
    const float half = kHalf[2] * 0.9f;
    const uint32_t dark = ColourOn(broken, *cover, half, -0.4f, -0.6f);
    EXPECT_TRUE(NearColour(dark, PlaceholderBoss1BrokenColour(2), 16)) << std::hex << dark;
    const uint32_t notch = ColourOn(broken, *cover, half, 0.45f, 0.15f);
    // Through the notch: the core under the cover.
    EXPECT_TRUE(NearColour(notch, PlaceholderBoss1Colour(0), 24)) << std::hex << notch;
}

}  // namespace
}  // namespace mareldon
