#include "game/render/NormalShaderGen.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

int warnings = 0;
void CountWarnings(LogLevel level, const char*, const char*) {
    if (level == LogLevel::Warning)
        ++warnings;
}

struct WarningCounter {
    WarningCounter() : previous(SetLogSink(&CountWarnings)) { warnings = 0; }
    ~WarningCounter() { SetLogSink(previous); }
    LogSink previous;
};

const std::vector<float> kWhiteDown = {0, -1, 0, 1, 1, 1, 1};

TEST(NormalShaderGenTest, RigidLitPartWithOneLight) {
    NormalDraw d({"Position", "Normal", "TextureUV"});
    d.Light("DirectionalLight", {0, 0, 1, 0.5f, 0.25f, 1, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v2", "m4x4\tr2, v0, c0", "mov\toPos, r2", "dp3\tr6.x, v1.xyz, c6.xyz",
                           "max\tr6.x, c4.x, r6.x", "mul\tr0.xyz, r6.xxx, c7", "add\toD0.rgb,  r0.xyz, c5",
                           "mov\toD0.a, c4.y"}));
    EXPECT_EQ(d.ps, Lines({"mov\tr0, v0"}));
    EXPECT_EQ(d.VsKey(),
              "NormalPosition:Normal:TextureUV:Position 0 Normal 0 [NL] TextureUV 0 / 16 / 1 / 1 / 1 / 4 "
              "DirectionalLight / 3 / 4 ");
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 0 [NL] ");
    // No ambient record: black, opaque; the light shines along +z, so towards -z here.
    EXPECT_EQ(d.Vs(5, 0), 0.0f);
    EXPECT_EQ(d.Vs(5, 3), 1.0f);
    EXPECT_EQ(d.Vs(6, 2), -1.0f);
    EXPECT_EQ(d.Vs(7, 1), 0.25f);
}

// The unlit option draws a part that has normals as one without: no light constants,
// "[L]" in both keys, the vertex colour white.
TEST(NormalShaderGenTest, ForcedUnlitIgnoresTheNormalsAndTheLights) {
    NormalDraw d({"Position", "Normal", "TextureUV"});
    d.gen->forcedUnlit = true;
    d.Light("DirectionalLight", {0, 0, 1, 0.5f, 0.25f, 1, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.VsKey().find("Normal 0"), std::string::npos) << d.VsKey();
    EXPECT_NE(d.VsKey().find("[L]"), std::string::npos) << d.VsKey();
    EXPECT_EQ(d.VsKey().find("DirectionalLight"), std::string::npos) << d.VsKey();
    EXPECT_NE(d.PsKey().find("[L]"), std::string::npos) << d.PsKey();
    EXPECT_EQ(d.vs.find("v1"), std::string::npos) << d.vs;  // the normal's register
}

// The layout of a rigid lit draw with two lights, register by register, and its key
// words in step order.
TEST(NormalShaderGenTest, RegisterLayoutAndKeyOfTwoLights) {
    NormalDraw d({"Position", "Normal", "TextureUV"});
    d.Light("AmbientLight", {0.1f, 0.2f, 0.3f, 0.5f});
    d.Light("DirectionalLight", {1, 0, 0, 0.7f, 0.5f, 0.4f, 1});
    d.Light("DirectionalLight", {0, 1, 0, 0.6f, 0.4f, 0.6f, 1});
    d.batch->world[3] = 2.0f;  // translation: no effect on directions
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.gen->VsFloatCount(), 40);
    Matrix4 expected = MatrixMultiply(d.batch->world, d.view->viewProjection);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(d.gen->VsPool()[i], expected[i]) << i;
    EXPECT_EQ(d.Vs(4, 0), 0.0f);
    EXPECT_EQ(d.Vs(4, 1), 1.0f);
    EXPECT_EQ(d.Vs(4, 2), 4.0f);
    EXPECT_EQ(d.Vs(5, 0), 0.1f);
    EXPECT_EQ(d.Vs(5, 3), 1.0f);  // ambient alpha is always 1
    EXPECT_EQ(d.Vs(6, 0), -1.0f);
    EXPECT_EQ(d.Vs(7, 0), 0.7f);
    EXPECT_EQ(d.Vs(8, 1), -1.0f);
    EXPECT_EQ(d.Vs(9, 2), 0.6f);
    const NormalShaderGen::DrawState& s = d.gen->State();
    EXPECT_STREQ(d.gen->VsConstName(s.directions[1]).Text(), "c8.xyz");
    EXPECT_STREQ(d.gen->VsConstName(s.colours[1]).Text(), "c9");
    EXPECT_EQ(
        d.VsKey(),
        "NormalPosition:Normal:TextureUV:Position 0 Normal 0 [NL] TextureUV 0 / 16 / 1 / 1 / 1 AmbientLight "
        "/ 4 DirectionalLight DirectionalLight / 3 / 4 / 3 / 4 ");
    EXPECT_EQ(d.vs,
              Lines({"mov\toT0, v2", "m4x4\tr2, v0, c0", "mov\toPos, r2", "dp3\tr6.x, v1.xyz, c6.xyz",
                     "dp3\tr6.y, v1.xyz, c8.xyz", "max\tr6.xy, c4.x, r6.xy", "mul\tr0.xyz, r6.xxx, c7",
                     "mad\tr0.xyz, r6.yyy, c9, r0.xyz", "add\toD0.rgb,  r0.xyz, c5", "mov\toD0.a, c4.y"}));
}

TEST(NormalShaderGenTest, PretransformedUnlitSprite) {
    NormalDraw d({"TPosition", "Diffuse", "TextureUV"});
    d.Textures(1);
    d.Light("DirectionalLight", kWhiteDown);  // screen parts take no lights
    d.Light("SimpleFog", {1, 150, 0.2f, 0.2f, 0.2f, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v2", "m4x4\toPos, v0, c0", "mov\toD0.rgba, v1"}));
    EXPECT_EQ(d.ps, Lines({"tex\tt0", "mul_sat\tr0.rgba, v0.rgba, t0.rgba", "mul\tr0.a, r0.a, c0.a"}));
    EXPECT_EQ(d.VsKey(), "NormalTPosition:Diffuse:TextureUV:TPosition 0 [L] Diffuse 0 TextureUV 0 / 16 / 1 ");
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 1 [L] ");
    // Pixel (x, y) to clip (2x / 480 - 1, 1 - 2y / 640).
    EXPECT_EQ(d.Vs(0, 0), 2.0f / 480.0f);
    EXPECT_EQ(d.Vs(0, 3), -1.0f);
    EXPECT_EQ(d.Vs(1, 1), -2.0f / 640.0f);
    EXPECT_EQ(d.Vs(1, 3), 1.0f);
    EXPECT_EQ(d.Vs(4, 0), 1.0f);
    EXPECT_EQ(d.gen->VsFloatCount(), 20);
    EXPECT_EQ(d.gen->PsPool()[3], 1.0f);

    // The target's own screen transform follows the screen matrix.
    NormalDraw turned({"TPosition", "TextureUV"});
    turned.Own("UVScroll", {0.5f, 0, 0, 0});
    const float quarter[16] = {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::copy(quarter, quarter + 16, turned.target->transform);
    ASSERT_TRUE(turned.Run());
    Matrix4 ortho, own;
    MakeOrthoMatrix(ortho.m, 480.0f, 640.0f);
    std::copy(quarter, quarter + 16, own.m);
    Matrix4 screen = MatrixMultiply(ortho, own);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(turned.Vs(1 + i / 4, i % 4), screen[i]) << i;
    EXPECT_EQ(turned.VsKey(), "NormalTPosition:TextureUV:TPosition 0 [L] TextureUV 0 UVScroll / 4 / 16 / 1 ");
    EXPECT_EQ(turned.vs, Lines({"add\toT0, v1, c0", "m4x4\toPos, v0, c1", "mov\toD0.rgba, c5.x"}));
}

TEST(NormalShaderGenTest, UvScrollFromTheBatchRecordsOnly) {
    NormalDraw d({"Position", "Normal", "TextureUV", "TextureUV"});
    d.Light("UVScroll", {9, 9, 9, 9});       // the frame's list: not read
    d.Light("EmissiveLight", {9, 9, 9, 9});  // likewise
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs.substr(0, 24), "mov\toT0, v2\nmov\toT1, v3\n");
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 0 [NL] ");

    NormalDraw own({"Position", "Normal", "TextureUV", "TextureUV"});
    own.Own("UVScroll", {0.25f, 0.5f, 0, 0});
    own.Own("EmissiveLight", {0.1f, 0.2f, 0.3f, 0.0f});
    own.Own("EmissiveLight", {0.1f, 0.0f, 0.0f, 0.0f});
    ASSERT_TRUE(own.Run());
    EXPECT_EQ(own.vs, Lines({"add\toT0, v2, c0", "add\toT1, v3, c0", "m4x4\tr2, v0, c1", "mov\toPos, r2",
                             "mov\toD1.rgb, c7", "mov\toD0.rgb, c6", "mov\toD0.a, c5.y"}));
    EXPECT_EQ(own.Vs(0, 1), 0.5f);
    EXPECT_FLOAT_EQ(own.Vs(7, 0), 0.2f);  // the records summed, alpha 1
    EXPECT_EQ(own.Vs(7, 3), 1.0f);
    EXPECT_EQ(own.PsKey(), "NormalSetMatTex 0 [NL] AddLight ");
}

TEST(NormalShaderGenTest, TwoBoneWeightsLit) {
    NormalDraw d({"Position", "Normal", "TextureUV", "IndexedBoneWeight", "IndexedBoneWeight"}, 2);
    d.Light("DirectionalLight", kWhiteDown);
    d.batch->palette[1][3] = 7.0f;
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v2",
                           "mov\tr6.x, c4.y",
                           "mov\ta0.x, v3.y",
                           "m4x3\tr0.xyz, v0, c[a0.x + 5]",
                           "m3x3\tr1, v1, c[a0.x + 5]",
                           "mul\tr4.xyz, r0.xyz, v3.xxx",
                           "mul\tr3.xyz, r1.xyz, v3.xxx",
                           "sub\tr6.x, r6.x, v3.x",
                           "mov\ta0.x, v4.y",
                           "m4x3\tr0.xyz, v0, c[a0.x + 5]",
                           "m3x3\tr1, v1, c[a0.x + 5]",
                           "mad\tr4.xyz, r0.xyz, v4.xxx, r4.xyz",
                           "mad\tr3.xyz, r1.xyz, v4.xxx, r3.xyz",
                           "sub\tr6.x, r6.x, v4.x",
                           "mad\tr4.xyz, v0, r6.xxx, r4.xyz",
                           "sge\tr4.w, r4.x, r4.x",
                           "mad\tr3.xyz, v1, r6.xxx, r3.xyz",
                           "dp3\tr3.w,r3.xyz,r3.xyz",
                           "rsq\tr3.w,r3.w",
                           "mul\tr3.xyz,r3.xyz,r3.www",
                           "m4x4\tr2, r4, c0",
                           "mov\toPos, r2",
                           "dp3\tr6.x, r3.xyz, c12.xyz",
                           "max\tr6.x, c4.x, r6.x",
                           "mul\tr0.xyz, r6.xxx, c13",
                           "add\toD0.rgb,  r0.xyz, c11",
                           "mov\toD0.a, c4.y"}));
    // Three rows a bone from register 5; the palette's size is in the key.
    EXPECT_EQ(d.Vs(8, 3), 7.0f);
    EXPECT_NE(d.VsKey().find("IndexedBoneWeight 0 IndexedBoneWeight 1 / B3 / B3 / 4 DirectionalLight"),
              std::string::npos);

    NormalDraw unlit({"Position", "TextureUV", "IndexedBoneWeight", "IndexedBoneWeight"}, 2);
    ASSERT_TRUE(unlit.Run());
    EXPECT_EQ(unlit.vs,
              Lines({"mov\toT0, v1", "mov\tr6.x, c4.y", "mov\ta0.x, v2.y", "m4x3\tr0.xyz, v0, c[a0.x + 5]",
                     "mul\tr4.xyz, r0.xyz, v2.xxx", "sub\tr6.x, r6.x, v2.x", "mov\ta0.x, v3.y",
                     "m4x3\tr0.xyz, v0, c[a0.x + 5]", "mad\tr4.xyz, r0.xyz, v3.xxx, r4.xyz",
                     "sub\tr6.x, r6.x, v3.x", "mad\tr4.xyz, v0, r6.xxx, r4.xyz", "sge\tr4.w, r4.x, r4.x",
                     "m4x4\tr2, r4, c0", "mov\toPos, r2", "mov\toD0.rgba, c4.y"}));
}

TEST(NormalShaderGenTest, MorphsFogAndSonicSections) {
    NormalDraw d({"Position", "Normal", "TextureUV", "IndexedMorphVector", "IndexedMorphNormal",
                  "IndexedMorphVector", "IndexedMorphNormal"},
                 0, 2);
    d.batch->parameters = {0.25f, 0.75f};
    d.Light("DirectionalLight", kWhiteDown);
    d.Light("DirectionalLight", kWhiteDown);
    d.Light("SimpleFog", {5, 40, 0.2f, 0.3f, 0.4f, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v2",
                           "mov\tr8, v0",
                           "mov\tr9, v1",
                           "mov\ta0.x, v3.w",
                           "mad\tr8.xyz, v3.xyz, c[a0.x + 5].x, r8",
                           "mad\tr9.xyz, v4.xyz, c[a0.x + 5].x, r9",
                           "mov\ta0.x, v5.w",
                           "mad\tr8.xyz, v5.xyz, c[a0.x + 5].x, r8",
                           "mad\tr9.xyz, v6.xyz, c[a0.x + 5].x, r9",
                           "dp3\tr9.w,r9.xyz,r9.xyz",
                           "rsq\tr9.w,r9.w",
                           "mul\tr9.xyz,r9.xyz,r9.www",
                           "m4x4\tr2, r8, c0",
                           "mov\toPos, r2",
                           "sub\tr0.w, r2.w, c10.w",
                           "max\tr0.w, c4.x, r0.w",
                           "mul\tr0.w, r0.w, c8.w",
                           "mul\toD1.xyz, r0.w, c12",
                           "sub\tr1.w, c4.y, r0.w",
                           "dp3\tr6.x, r9.xyz, c8.xyz",
                           "dp3\tr6.y, r9.xyz, c10.xyz",
                           "max\tr6.xy, c4.x, r6.xy",
                           "mul\tr6.xy, r6.xy, r1.ww",
                           "mul\tr0.xyz, r6.xxx, c9",
                           "mad\tr0.xyz, r6.yyy, c11, r0.xyz",
                           "add\toD0.rgb,  r0.xyz, c7",
                           "mov\toD0.a, c4.y"}));
    EXPECT_EQ(d.Vs(5, 0), 0.25f);
    EXPECT_EQ(d.Vs(6, 0), 0.75f);
    // Scalars fill the partly used registers last in, first out.
    EXPECT_EQ(d.Vs(10, 3), 5.0f);         // fog start
    EXPECT_EQ(d.Vs(8, 3), 1.0f / 40.0f);  // fog scale: 1 / far
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 0 [NL] AddLight ");

    // Sonic: the centre in model space, then its four values.
    NormalDraw s({"Position", "Normal"});
    s.batch->world[3] = 1.0f;
    s.batch->inverseWorld[3] = -1.0f;
    s.Light("Sonic", {3, 0, 0, 2, 0.5f, 0.25f, 0.125f});
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.vs, Lines({"sub\tr0.xyz, v0.xyz, c5.xyz", "dp3\tr0.w, r0.xyz, r0.xyz", "rsq\tr1.w, r0.w",
                           "mul\tr0.xyzw, r0.xyzw, r1.wwww", "sub\tr5.w, r0.w, c5.w", "sge\tr1.w, c4.x, r5.w",
                           "add\tr5.w, c6.x, r5.w", "max\tr5.w, c4.x, r5.w", "mul\tr5.w, r1.w, r5.w",
                           "mad\tr5.xyz, r0.xyz, r5.www, v0.xyz", "sge\tr5.w, r5.x, r5.x", "m4x4\tr2, r5, c0",
                           "mov\toPos, r2", "dp3\tr1.x, v1.xyz, -r0.xyz", "sub\tr1.y, c6.y, r0.w",
                           "max\tr1.xy, c4.x, r1.xy", "mul\toD1.xyz, r1.xxx, r1.yyy", "mov\toD0.rgb, c7",
                           "mov\toD0.a, c4.y"}));
    EXPECT_EQ(s.Vs(5, 0), 2.0f);
    EXPECT_EQ(s.Vs(5, 3), 2.0f);
    EXPECT_EQ(s.Vs(4, 3), 0.5f);
    EXPECT_EQ(s.Vs(6, 1), 0.125f);
}

// Sonic, fog, specular and emissive light chain their colours through r6 into oD1.
TEST(NormalShaderGenTest, AddedColoursAndShadowCoordinates) {
    NormalDraw d({"Position", "Normal", "TextureUV"});
    d.Value("Specular", 0.5f);
    d.Textures(1);
    d.Light("Sonic", {0, 0, 0, 2, 0.5f, 0.25f, 0.125f});
    d.Light("DirectionalSpecularLight", {0, 0, 1, 1, 1, 1, 1});
    d.Light("SimpleFog", {5, 40, 0.2f, 0.3f, 0.4f, 1});
    d.Own("EmissiveLight", {0.1f, 0.1f, 0.1f, 0});
    d.Shadow(1.0f);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v2",
                           "sub\tr0.xyz, v0.xyz, c5.xyz",
                           "dp3\tr0.w, r0.xyz, r0.xyz",
                           "rsq\tr1.w, r0.w",
                           "mul\tr0.xyzw, r0.xyzw, r1.wwww",
                           "sub\tr5.w, r0.w, c5.w",
                           "sge\tr1.w, c4.x, r5.w",
                           "add\tr5.w, c6.x, r5.w",
                           "max\tr5.w, c4.x, r5.w",
                           "mul\tr5.w, r1.w, r5.w",
                           "mad\tr5.xyz, r0.xyz, r5.www, v0.xyz",
                           "sge\tr5.w, r5.x, r5.x",
                           "m4x4\tr2, r5, c0",
                           "mov\toPos, r2",
                           "dp3\tr1.x, v1.xyz, -r0.xyz",
                           "sub\tr1.y, c6.y, r0.w",
                           "max\tr1.xy, c4.x, r1.xy",
                           "mul\tr6.xyz, r1.xxx, r1.yyy",
                           "sub\tr0.w, r2.w, c9.w",
                           "max\tr0.w, c4.x, r0.w",
                           "mul\tr0.w, r0.w, c8.w",
                           "mad\tr6.xyz, r0.www, c11, r6.xyz",
                           "sub\tr1.w, c4.y, r0.w",
                           "dp3\tr7.xyz, v1,  c9.xyz",
                           "add\tr7.xyz, r7,  r7",
                           "mad\tr7.xyz, r7, -v1, c9.xyz",
                           "dp3\tr7.w, c8.xyz, r7",
                           "max\tr7.w, r7.w, c4.x",
                           "mul\tr7.w, r7.w, r7.w",
                           "mul\tr7.w, r7.w, r7.w",
                           "mad\tr6.rgb, r7.www, c10, r6.xyz",
                           "add\toD1.rgb, c12, r6.xyz",
                           "mov\toD0.rgb, c7",
                           "m4x4\tr2, r5, c13",
                           "mov\toT1, r2",
                           "sub\tr2.w, r2.w, c6.z",
                           "mul\toD0.a, r2.w, c6.w"}));
    EXPECT_EQ(d.Vs(10, 0), 0.5f);         // the specular colour times "Specular"
    EXPECT_EQ(d.Vs(6, 3), 1.0f / 40.0f);  // 1 / (end - start)
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 1 [NL] SetTex 1 Shadowmap AddLight ");
    EXPECT_NE(d.VsKey().find("Shadowmap / 16 / 1 / 1 ShadowPerspective ShadowOut1 "), std::string::npos);

    NormalDraw parallel({"Position", "Normal"});
    parallel.Shadow(0.0f);
    ASSERT_TRUE(parallel.Run());
    EXPECT_EQ(parallel.vs, Lines({"m4x4\tr2, v0, c0", "mov\toPos, r2", "mov\toD0.rgb, c5", "m4x4\tr2, v0, c6",
                                  "mov\toT0, r2", "mov\toD0.a, r2.z"}));
    EXPECT_NE(parallel.VsKey().find("ShadowParallel ShadowOut0 "), std::string::npos);
}

// The eight pixel cases: unlit or lit, shadow, textures, added light.
TEST(NormalShaderGenTest, PixelCases) {
    struct Case {
        const char* what;
        bool lit;
        int32_t textures;
        bool shadow;
        bool addLight;
        std::string text;
    };
    const Case cases[] = {
        {"unlit", false, 0, false, false, Lines({"mov\tr0, v0"})},
        {"unlit textured", false, 1, false, false,
         Lines({"tex\tt0", "mul_sat\tr0.rgba, v0.rgba, t0.rgba", "mul\tr0.a, r0.a, c0.a"})},
        {"lit", true, 0, false, false, Lines({"mov\tr0, v0"})},
        {"lit textured", true, 1, false, false,
         Lines({"tex\tt0", "mul_sat\tr0.rgb, v0, t0", "+mul\tr0.a, t0.a, c0.a"})},
        {"lit added", true, 0, false, true, Lines({"add\tr0, v0, v1"})},
        {"lit added textured", true, 1, false, true,
         Lines({"tex\tt0", "mad_sat\tr0.rgb, v0, t0, v1", "+mul\tr0.a, t0.a, c0.a"})},
        {"shadow", true, 0, true, true,
         Lines({"tex\tt0", "sub\tr0, v0, c0.a", "sub\tr0, r0, t0_bias", "cnd\tr0, r0.a, c1, c2",
                "add\tr0.rgb, v0, r0", "add\tr0.rgb, r0, v1", "+mov\tr0.a, c2.a"})},
        {"shadow behind three textures", true, 3, true, false,
         Lines({"tex\tt0", "tex\tt3", "mul_sat\tr1, v0, t0", "sub\tr0, v0, c0.a", "sub\tr0, r0, t3_bias",
                "cnd\tr0, r0.a, c1, c2", "add\tr0.rgb, r1, r0", "+mul\tr0.a, t0.a, c2.a"})},
    };
    for (const Case& c : cases) {
        NormalDraw d(c.lit ? std::initializer_list<const char*>{"Position", "Normal", "TextureUV"}
                           : std::initializer_list<const char*>{"Position", "TextureUV"});
        d.Textures(c.textures);
        d.Value("Transparency", 0.25f);
        if (c.shadow)
            d.Shadow(1.0f);
        if (c.addLight)
            d.Light("SimpleFog", {1, 150, 0.2f, 0.2f, 0.2f, 1});
        ASSERT_TRUE(d.Run()) << c.what;
        EXPECT_EQ(d.ps, c.text) << c.what;
        // The alpha constant is the last pixel register.
        EXPECT_EQ(d.gen->PsPool()[d.gen->PsFloatCount() - 1], 0.75f) << c.what;
    }
}

TEST(NormalShaderGenTest, UnlitParts) {
    NormalDraw d({"Position"});
    d.Light("DirectionalLight", kWhiteDown);
    d.Light("AmbientLight", {1, 1, 1, 1});
    d.Light("SimpleFog", {1, 150, 0.2f, 0.2f, 0.2f, 1});
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Lines({"m4x4\tr2, v0, c0", "mov\toPos, r2", "mov\toD0.rgba, c4.y"}));
    EXPECT_EQ(d.VsKey(), "NormalPosition:Position 0 [L] / 16 / 1 / 1 / 1 ");
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 0 [L] ");
    EXPECT_EQ(d.gen->VsFloatCount(), 20);

    NormalDraw coloured({"Position", "Diffuse"});
    ASSERT_TRUE(coloured.Run());
    EXPECT_EQ(coloured.vs, Lines({"m4x4\tr2, v0, c0", "mov\toPos, r2", "mov\toD0.rgba, v1"}));
}

// Ambient: the records summed, plus the first "Emissive" value once per "Emissive"
// entry; "Specular" 0 adds nothing of the specular light.
TEST(NormalShaderGenTest, AmbientEmissiveAndSpecularGate) {
    NormalDraw d({"Position", "Normal"});
    d.Light("AmbientLight", {0.1f, 0.1f, 0.1f, 0.2f});
    d.Light("AmbientLight", {0.2f, 0.0f, 0.0f, 0.3f});
    d.Light("DirectionalSpecularLight", {0, 0, 1, 1, 1, 1, 1});
    d.Value("Emissive", 0.25f);
    d.Value("Emissive", 0.5f);
    d.Value("Specular", 0.0f);
    ASSERT_TRUE(d.Run());
    EXPECT_FLOAT_EQ(d.Vs(5, 0), 0.1f + 0.2f + 0.25f + 0.25f);
    EXPECT_FLOAT_EQ(d.Vs(5, 1), 0.1f + 0.25f + 0.25f);
    EXPECT_EQ(d.Vs(5, 3), 1.0f);
    EXPECT_EQ(d.gen->VsFloatCount(), 24);
    EXPECT_EQ(
        d.VsKey(),
        "NormalPosition:Normal:Position 0 Normal 0 [NL] / 16 / 1 / 1 / 1 AmbientLight AmbientLight Emissive "
        "Emissive / 4 Specular ");
    EXPECT_EQ(d.PsKey(), "NormalSetMatTex 0 [NL] ");
    EXPECT_EQ(d.gen->State().specularCount, 0);
}

// The eye direction depends only on the view direction and the batch's rotation and
// scale.
TEST(NormalShaderGenTest, EyeDirectionIgnoresTranslation) {
    auto eye = [](Vec3 cameraAt, float batchX, float yaw) {
        NormalDraw d({"Position", "Normal"});
        d.Value("Specular", 1.0f);
        d.Light("DirectionalSpecularLight", {0, 0, 1, 1, 1, 1, 1});
        d.view->SetCamera(cameraAt, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
        Matrix4 world = MatrixMultiply(MatrixRotationZ(yaw), Matrix4Identity());
        world[3] = batchX;
        d.batch->world = world;
        Matrix4Inverse(d.batch->inverseWorld, world);
        EXPECT_TRUE(d.Run());
        int32_t index = d.gen->State().eyeDirection / 4;
        return Vec3{d.gen->VsPool()[index], d.gen->VsPool()[index + 1], d.gen->VsPool()[index + 2]};
    };
    Vec3 still = eye({0, 0, -5}, 0.0f, 0.0f);
    EXPECT_EQ(still.z, -1.0f);
    for (Vec3 moved : {eye({3, 2, -9}, 0.0f, 0.0f), eye({0, 0, -5}, 4.0f, 0.0f)}) {
        EXPECT_EQ(moved.x, still.x);
        EXPECT_EQ(moved.y, still.y);
        EXPECT_EQ(moved.z, still.z);
    }
    Vec3 turned = eye({0, 0, -5}, 4.0f, 0.5f);
    EXPECT_NEAR(turned.z, -1.0f, 1e-6f);  // a turn about z keeps the z direction
}

// Limits: records past the first four lights add key words only; no text names a
// constant or register the draw did not add.
TEST(NormalShaderGenTest, LimitsAndRefusals) {
    NormalDraw d({"Position", "Normal"});
    for (int i = 0; i < 5; ++i)
        d.Light("DirectionalLight", kWhiteDown);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.gen->State().directionalCount, 4);
    size_t words = 0;
    for (size_t at = d.VsKey().find("DirectionalLight"); at != std::string::npos;
         at = d.VsKey().find("DirectionalLight", at + 1))
        ++words;
    EXPECT_EQ(words, 5u);
    EXPECT_NE(d.vs.find("dp3\tr6.w, v1.xyz, c12.xyz\nmax\tr6.xyzw, c4.x, r6.xyzw\n"), std::string::npos);
    EXPECT_EQ(d.gen->VsFloatCount(), 4 * 14);

    WarningCounter counter;
    NormalDraw lit({"TPosition", "Normal"});
    EXPECT_FALSE(lit.Run());
    EXPECT_FALSE(lit.Run());
    NormalDraw morph({"Position", "Normal", "IndexedMorphVector"}, 0, 1);
    EXPECT_FALSE(morph.Run());
    NormalDraw noNormal({"Position", "IndexedMorphVector", "IndexedMorphNormal"}, 0, 1);
    EXPECT_FALSE(noNormal.Run());
    NormalDraw nowhere({"Normal"});
    EXPECT_FALSE(nowhere.Run());
    NormalDraw instances({"Position"});
    instances.batch->AppendInstance(RefPtr<RenderBatch>(new RenderBatch(0, 0, 0)));
    EXPECT_FALSE(instances.Run());
    NormalDraw stages({"Position", "Normal"});
    stages.Textures(4);
    stages.Shadow(1.0f);
    EXPECT_FALSE(stages.Run());
    EXPECT_EQ(warnings, 6);  // once per generator

    // A fog far distance or shadow range of 0 scales by 0, logged once.
    warnings = 0;
    NormalDraw zero({"Position", "Normal"});
    zero.Light("SimpleFog", {1, 0, 0.2f, 0.2f, 0.2f, 1});
    zero.Shadow(1.0f, 3.0f, 3.0f);
    ASSERT_TRUE(zero.Run());
    ASSERT_TRUE(zero.Run());
    EXPECT_EQ(zero.gen->VsPool()[zero.gen->State().fogScale / 4], 0.0f);
    EXPECT_EQ(zero.gen->VsPool()[zero.gen->State().shadowScale / 4], 0.0f);
    EXPECT_EQ(warnings, 1);
}

TEST(NormalShaderGenTest, InstancesTwelveADrawFromTheEnd) {
    NormalDraw d({"Position", "TextureUV", "X16"});
    for (int i = 0; i < 14; ++i) {
        RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
        instance->world[3] = float(i);
        d.batch->AppendInstance(instance);
    }
    d.view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.0f, 1.0f, 1.0f);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.batch->instancesToDraw, 2);
    EXPECT_EQ(d.vs, Lines({"mov\toT0, v1", "mov\ta0.x, v2.y", "m4x4\tr2, v0, c[a0.x + 0]", "mov\toPos, r2",
                           "mov\toD0.rgba, c48.y"}));
    Matrix4 last = MatrixMultiply(d.batch->Instance(13)->world, d.view->viewProjection);
    EXPECT_EQ(d.Vs(0, 3), last[3]);
    size_t matrices = 0;
    for (size_t at = d.VsKey().find("/ 16 "); at != std::string::npos; at = d.VsKey().find("/ 16 ", at + 1))
        ++matrices;
    EXPECT_EQ(matrices, 12u);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.batch->instancesToDraw, 0);
    Matrix4 first = MatrixMultiply(d.batch->Instance(0)->world, d.view->viewProjection);
    EXPECT_EQ(d.Vs(7, 3), first[15]);  // instance 1, then instance 0
    EXPECT_EQ(d.Vs(4, 3), first[3]);
    EXPECT_EQ(d.VsKey(),
              "NormalPosition:TextureUV:X16:Position 0 [L] TextureUV 0 X16 X16 0 / 16 / 16 / 1 / 1 / 1 ");
}

TEST(NormalShaderGenTest, ConstructorFormsAndCulling) {
    NormalDraw d({"Position"});
    EXPECT_STREQ(d.gen->GetName().Text(), "Normal");
    d.part->cullMode = int32_t(CullMode::None);
    ASSERT_TRUE(d.Run());
    ASSERT_EQ(d.spy->blocksSet.size(), 1u);
    const RenderStateBlock& block = d.spy->blocksSet[0];
    EXPECT_EQ(block.srcBlend, 4);
    EXPECT_EQ(block.destBlend, 5);
    EXPECT_EQ(block.fillMode, 2);
    EXPECT_EQ(block.cullMode, 0);
    EXPECT_EQ(block.zFunc, 3);
    EXPECT_EQ(block.zWrite, 1);
    RefPtr<NormalShaderGen> alt = NormalShaderGen::NormalShaderGenAlt(d.renderer);
    EXPECT_EQ(alt->states.zFunc, 7);
    EXPECT_EQ(alt->states.zWrite, 0);
    EXPECT_EQ(alt->states.srcBlend, 4);
}

}  // namespace
}  // namespace mareldon
