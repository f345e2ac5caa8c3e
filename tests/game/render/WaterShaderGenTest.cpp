#include "game/render/WaterShaderGen.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

using WaterDraw = ShaderDraw<WaterShaderGen>;

const std::vector<float> kLight = {0, -1, 0, 0.5f, 0.5f, 0.5f, 1};

// Each line's opcode and destination.
std::string Skeleton(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        out += line.substr(0, line.find(',')) + "\n";
        start = end + 1;
    }
    return out;
}

void Projection(WaterDraw& d) {
    std::vector<float> values(19, 0.0f);
    for (int i = 0; i < 4; ++i)
        values[size_t(3 + 5 * i)] = 1.0f;
    d.Light("TextureProjection", values);
}

TEST(WaterShaderGenTest, ProjectedCoordinatesShiftedByTheNormal) {
    WaterDraw d({"Position", "Normal", "TextureUV"});
    d.Light("DirectionalLight", kLight);
    Projection(d);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("water_lit_projection.vsh"));
    EXPECT_EQ(d.ps, Lines({"mov\tr0, v0"}));
    EXPECT_EQ(d.PsKey(), "WaterSetMatTex 0 SetTex 0 TextureProjection ");
}

// The batch's morph weights take constants only for a part with morph targets: over a
// part without them the layout and the keys stay those of a batch without weights,
// c0-c3 position, c4 zero and one, c5 ambient, c6 direction, c7 colour, c8-c11
// projection.
TEST(WaterShaderGenTest, WeightsWithoutMorphTargetsTakeNoConstants) {
    WaterDraw plain({"Position", "Normal", "TextureUV"});
    WaterDraw weighted({"Position", "Normal", "TextureUV"}, 0, 2);
    for (WaterDraw* d : {&plain, &weighted}) {
        d->Light("DirectionalLight", kLight);
        Projection(*d);
        ASSERT_TRUE(d->Run());
    }
    EXPECT_EQ(weighted.vs, Golden("water_lit_projection.vsh"));
    EXPECT_EQ(weighted.VsKey(), plain.VsKey());
    const float expected[][4] = {{0, 0, 0, 1}, {0, 1, 0}, {0.5f, 0.5f, 0.5f, 1}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < (r == 1 ? 3 : 4); ++c)
            EXPECT_NEAR(weighted.Vs(5 + r, c), expected[r][c], 1e-6f) << "c" << 5 + r << "." << c;
    }
    EXPECT_NEAR(weighted.Vs(8, 0), plain.Vs(8, 0), 1e-6f);
}

TEST(WaterShaderGenTest, ShadowAndProjectionStages) {
    WaterDraw d({"Position", "Normal", "TextureUV"});
    d.Textures(2);
    d.Shadow(0.0f);
    Projection(d);
    d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_NE(d.PsKey().find("SetMatTex 2 SetTex 2 ShadowMapping SetTex 0 TextureProjection "),
              std::string::npos)
        << d.PsKey();
    EXPECT_NE(d.vs.find("mov\toT2, r2\n"), std::string::npos) << d.vs;
    EXPECT_EQ(d.ps, Golden("water_shadow_textured.psh"));
    EXPECT_NE(d.VsKey().find("ShadowParallel ShadowOut2 "), std::string::npos) << d.VsKey();

    WaterDraw plain({"Position", "Normal"});
    plain.Shadow(1.0f);
    ASSERT_TRUE(plain.Run());
    EXPECT_EQ(plain.ps, Golden("water_shadow_untextured.psh"));

    WaterDraw unreceiving({"Position", "Normal"});
    unreceiving.Shadow(0.0f);
    unreceiving.part->receiveShadow = 0;
    ASSERT_TRUE(unreceiving.Run());
    EXPECT_EQ(unreceiving.PsKey().find("ShadowMapping"), std::string::npos);
    EXPECT_EQ(unreceiving.vs.find("oT0"), std::string::npos);
}

TEST(WaterShaderGenTest, FogAddsLightOnlyToLitParts) {
    WaterDraw lit({"Position", "Normal", "TextureUV"});
    lit.Textures(1);
    lit.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
    ASSERT_TRUE(lit.Run());
    EXPECT_NE(lit.PsKey().find("AddLight"), std::string::npos);
    EXPECT_EQ(lit.ps, Golden("water_addlight_textured.psh"));

    WaterDraw unlit({"Position", "Diffuse", "TextureUV"});
    unlit.Textures(1);
    unlit.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
    Projection(unlit);
    ASSERT_TRUE(unlit.Run());
    EXPECT_EQ(unlit.PsKey().find("AddLight"), std::string::npos);
    EXPECT_EQ(unlit.ps, Golden("water_textured.psh"));
    // No projection constant was added: the coordinates are copied, never a stale name.
    EXPECT_EQ(unlit.vs, Lines({"m4x4\tr2, v0, c0", "mov\toPos, r2", "mov\toT0, v2", "mov\toD0.rgba, v1"}));
}

TEST(WaterShaderGenTest, PretransformedAndSkinnedTexts) {
    WaterDraw screen({"TPosition", "Diffuse", "TextureUV"});
    ASSERT_TRUE(screen.Run());
    EXPECT_EQ(screen.vs, Golden("water_pretransformed.vsh"));

    WaterDraw lit({"Position", "Normal", "Diffuse", "IndexedBoneWeight", "IndexedBoneWeight"}, 2);
    ASSERT_TRUE(lit.Run());
    EXPECT_EQ(lit.vs, Golden("water_skin_lit.vsh"));
    EXPECT_NE(lit.VsKey().find("Palette2 "), std::string::npos) << lit.VsKey();

    WaterDraw unlit({"Position", "Tangent", "IndexedBoneWeight", "IndexedBoneWeight"}, 2);
    ASSERT_TRUE(unlit.Run());
    EXPECT_EQ(unlit.vs, Golden("water_skin_unlit.vsh"));

    WaterDraw bad({"TPosition", "Normal"});
    EXPECT_FALSE(bad.Run());
}

TEST(WaterShaderGenTest, EveryFeatureTogether) {
    WaterDraw d({"Position", "Normal", "TextureUV", "IndexedMorphVector", "IndexedMorphNormal"}, 0, 1);
    d.Textures(1);
    d.Light("AmbientLight", {0.1f, 0.1f, 0.1f, 1});
    d.Light("DirectionalLight", kLight);
    d.Light("SimpleFog", {5, 40, 0.2f, 0.2f, 0.2f, 1});
    d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
    d.Own("EmissiveLight", {0.1f, 0, 0, 0});
    d.Shadow(0.0f);
    Projection(d);
    ASSERT_TRUE(d.Run());
    // The sections and their order; the constants' registers follow the builder's
    // packing of scalars into partly used registers, which the hand-written text does
    // not model.
    EXPECT_EQ(Skeleton(d.vs), Skeleton(Golden("water_lit_all_features.vsh")));
    EXPECT_NE(d.vs.find("add\tr5.w, c4.w, r5.w\n"), std::string::npos);
    EXPECT_NE(d.vs.find("m4x4\tr2, r5, c13\nmov\toT1, r2\nmov\toD0.a, r2.z\n"), std::string::npos);
}

}  // namespace
}  // namespace mareldon
