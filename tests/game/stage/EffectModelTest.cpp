#include "game/stage/EffectModel.h"

#include <gtest/gtest.h>

#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// Golden values: effects sort among their siblings by this, and player shots share it.
TEST(ModelNameHashTest, RotatesElevenBitsAndFoldsInSignedBytes) {
    EXPECT_EQ(ModelNameHash(""), 0);
    EXPECT_EQ(ModelNameHash("A"), 65);
    EXPECT_EQ(ModelNameHash("AB"), (65 << 11) ^ 66);
    EXPECT_EQ(ModelNameHash("\xff"), -1);
    // The right shift keeps the sign: -1 rotated is still -1.
    EXPECT_EQ(ModelNameHash("\xff\xff"), 0);
    EXPECT_EQ(ModelNameHash("TEKIDAN_HATSYA01"), ModelNameHash("TEKIDAN_HATSYA01"));
}

class EffectModelTest : public testing::Test, public WorldScreenFixture {};

// The muzzle flash of a bullet drifts by its velocity and goes when its animation
// (0.25 s) ends; a looping effect object stays.
TEST_F(EffectModelTest, OneShotEffectsEndWithTheirAnimation) {
    Enter(1);
    ASSERT_TRUE(StartWorld());
    ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 5), 0);
    StaticModelRoot& effects = *screen->effectParent;
    auto* drifting = static_cast<EffectModel*>(
        screen->SpawnEffect({1.0f, 0.0f, 1.0f}, {0.1f, 0.0f, 0.0f}, "TEKIDAN_HATSYA01", {1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(drifting->priority, ModelNameHash("TEKIDAN_HATSYA01"));
    EXPECT_EQ(drifting->clock.end, 0.25f);
    auto* looping = new EffectObject(&effects, screen, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, 0.0f,
                                     {1, 1, 1}, 1, "TEKIDAN_HATSYA01");
    Step();
    EXPECT_FLOAT_EQ(drifting->GetPosition().x, 1.1f);
    const int lived = StepUntil([&] { return effects.childCount == 1; }, 60);
    // Gone in the step its clock first passes 0.25 s, added up as the clocks do.
    float t = 0.0f;
    int steps = 0;
    while (!(t > 0.25f)) {
        t += kPeriod;
        ++steps;
    }
    EXPECT_EQ(lived + 1, steps);
    EXPECT_EQ(static_cast<TaskObject*>(effects.firstChild), looping);
    looping->Kill();
    Step();
    EXPECT_EQ(effects.childCount, 0);
}

// A name the archive lacks would find its first model, here a stage model running for
// minutes: the effect binds nothing and goes with its first step.
TEST_F(EffectModelTest, AMissingEffectModelBindsNothingAndGoesAtOnce) {
    Enter(1);
    ASSERT_TRUE(StartWorld());
    ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 5), 0);
    StaticModelRoot& effects = *screen->effectParent;
    const int32_t before = effects.childCount;
    for (const char* name : {"NO_SUCH_EFFECT", "NO_SUCH_EFFECT", "NOR_THIS_ONE"}) {
        auto* effect = static_cast<EffectModel*>(
            screen->SpawnEffect({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, name, {1.0f, 1.0f, 1.0f}));
        EXPECT_EQ(effect->firstChild, nullptr) << name;
        EXPECT_EQ(effect->clock.end, 0.0f) << name;
    }
    Step();
    EXPECT_EQ(effects.childCount, before);
}

}  // namespace
}  // namespace mareldon
