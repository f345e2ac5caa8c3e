#include "game/render/MakeshadowShaderGen.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

using ShadowDraw = ShaderDraw<MakeshadowShaderGen>;

int warnings = 0;
void CountWarnings(LogLevel level, const char*, const char*) {
    if (level == LogLevel::Warning)
        ++warnings;
}

// The shadow camera: parallel (fov 0) or perspective, near 19 and far 41.
void Camera(ShadowDraw& d, float fov, float nearZ = 19.0f, float farZ = 41.0f) {
    d.view->SetCamera({0, 20, 0}, {0, -1, 0}, {0, 0, 1}, nearZ, farZ, fov, 0.07f, 0.07f);
    d.part->castShadow = 1;
}

TEST(MakeshadowShaderGenTest, ParallelDepthIsTheClipZ) {
    ShadowDraw d({"Position"});
    Camera(d, 0.0f);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("makeshadow_parallel.vsh"));
    EXPECT_EQ(d.ps, Golden("makeshadow.psh"));
    EXPECT_EQ(d.VsKey(), "MakeshadowPosition:Position 0 / 16 / 1 / 1 ");
    EXPECT_EQ(d.PsKey(), "Makeshadow");
}

TEST(MakeshadowShaderGenTest, SkinnedPerspectiveDepth) {
    ShadowDraw d({"Position", "IndexedBoneWeight", "IndexedBoneWeight"}, 2);
    Camera(d, 0.8f);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("makeshadow_two_bones.vsh"));
    EXPECT_FLOAT_EQ(d.Vs(10, 0), 1.0f / 22.0f);
    EXPECT_EQ(d.Vs(10, 1), 19.0f);
    // The palette's size and the depth line chosen are in the key.
    EXPECT_NE(d.VsKey().find("Palette2 "), std::string::npos) << d.VsKey();
    EXPECT_NE(d.VsKey().find("ShadowPerspective "), std::string::npos) << d.VsKey();
}

TEST(MakeshadowShaderGenTest, PartsThatCastNoShadowNeverReachTheMap) {
    ShadowDraw d({"Position"});
    Camera(d, 0.0f);
    d.part->castShadow = 0;
    float depth = 0.0f;
    EXPECT_TRUE(d.gen->Cull(d.view, d.batch, d.part, depth));
    // Also when culling is not asked for.
    EXPECT_FALSE(d.Run());
    d.part->castShadow = 1;
    d.batch->cullOff = 1;
    EXPECT_FALSE(d.gen->Cull(d.view, d.batch, d.part, depth));
}

TEST(MakeshadowShaderGenTest, BadInputIsRefusedOrMadeSafe) {
    ShadowDraw many({"Position", "IndexedBoneWeight", "IndexedBoneWeight", "IndexedBoneWeight",
                     "IndexedBoneWeight", "IndexedBoneWeight"},
                    2);
    Camera(many, 0.0f);
    EXPECT_FALSE(many.Run());

    LogSink previous = SetLogSink(&CountWarnings);
    warnings = 0;
    ShadowDraw flat({"Position"});
    Camera(flat, 0.8f, 20.0f, 20.0f);
    flat.view->nearZ = flat.view->farZ = 20.0f;
    EXPECT_TRUE(flat.Run());
    EXPECT_TRUE(flat.Run());
    SetLogSink(previous);
    EXPECT_EQ(flat.Vs(4, 0), 0.0f);
    EXPECT_EQ(warnings, 1);
}

}  // namespace
}  // namespace mareldon
