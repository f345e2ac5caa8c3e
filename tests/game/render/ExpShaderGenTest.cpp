#include "game/render/ExpShaderGen.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

using ExpDraw = ShaderDraw<ExpShaderGen>;

void Queue(ExpDraw& d, int count) {
    d.batch->instancing = 1;
    for (int i = 0; i < count; ++i) {
        RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
        instance->world[3] = float(i);
        const float scroll[4] = {float(i), 0.5f, 0, 0};
        instance->records.Add(LightRecord("UVScroll", 4, scroll));
        d.batch->AppendInstance(instance);
    }
}

TEST(ExpShaderGenTest, SingleNodeSharesOneOffsetAcrossItsCoordinateSets) {
    ExpDraw d({"Position", "TextureUV", "TextureUV"});
    d.Own("UVScroll", {0.25f, 0.5f, 0, 0});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("exp_single_two_uv.vsh"));
    EXPECT_EQ(d.ps, Golden("exp.psh"));
    EXPECT_EQ(d.Vs(4, 0), 0.25f);
    EXPECT_EQ(d.Vs(4, 1), 0.5f);
    // No depth test, no depth writes, blended.
    const RenderStateBlock& s = d.gen->states;
    EXPECT_EQ(s.zFunc, 7);
    EXPECT_EQ(s.zWrite, 0);
}

// Without a "UVScroll" record the offset is 0 (never a read past the list).
TEST(ExpShaderGenTest, MissingScrollRecordGivesNoOffset) {
    ExpDraw d({"Position", "TextureUV"});
    ASSERT_TRUE(d.Run());
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(d.Vs(4, c), 0.0f);
    ExpDraw i({"Position", "TextureUV", "X16"});
    Queue(i, 2);
    i.batch->Instance(0)->records.Clear();
    ASSERT_TRUE(i.Run());
    // Entry 1 belongs to instance 0, whose list is empty.
    EXPECT_EQ(i.Vs(8 + 1, 0), 0.0f);
    EXPECT_EQ(i.Vs(8 + 0, 0), 1.0f);
}

TEST(ExpShaderGenTest, InstancesAreTakenSixteenAtMostFromTheEnd) {
    struct Case {
        int queued;
        uint32_t maxConstants;
        int taken;
        const char* word;
    };
    for (const Case& c : {Case{40, 96, 16, " 16 "}, Case{3, 96, 3, " 3 "}, Case{40, 50, 10, " 10 "}}) {
        ExpDraw d({"Position", "TextureUV", "X16"});
        d.spy->maxConstants = c.maxConstants;
        Queue(d, c.queued);
        ASSERT_TRUE(d.Run()) << c.queued;
        EXPECT_EQ(d.batch->instancesToDraw, c.queued - c.taken);
        EXPECT_NE(d.VsKey().find(c.word), std::string::npos) << d.VsKey();
        EXPECT_EQ(d.gen->State().matrixBase, 0);
        EXPECT_EQ(d.gen->State().scrollBase, 4 * c.taken);
        // Entry 0 is the last queued instance.
        EXPECT_EQ(d.Vs(4 * c.taken, 0), float(c.queued - 1));
    }
    ExpDraw d({"Position", "TextureUV", "X16"});
    Queue(d, 40);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("exp_instanced.vsh"));
}

TEST(ExpShaderGenTest, InstancesWithoutCoordinatesAreRefused) {
    ExpDraw d({"Position", "X16"});
    Queue(d, 2);
    EXPECT_FALSE(d.Run());
}

}  // namespace
}  // namespace mareldon
