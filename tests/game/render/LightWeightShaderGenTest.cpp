#include "game/render/LightWeightShaderGen.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/render/NormalDrawFixture.h"

namespace mareldon {
namespace {

using LightWeightDraw = ShaderDraw<LightWeightShaderGen>;

const std::vector<float> kLight = {0, -1, 0, 0.5f, 0.5f, 0.5f, 1};

size_t Count(const std::string& text, const std::string& word) {
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

// Instances with their own transparency and, unless told, their own scroll offset.
void Queue(LightWeightDraw& d, int count, bool scroll = true) {
    d.batch->instancing = 1;
    for (int i = 0; i < count; ++i) {
        RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
        instance->world[3] = float(i);
        if (scroll) {
            const float offset[4] = {float(i), 0, 0, 0};
            instance->records.Add(LightRecord("UVScroll", 4, offset));
        }
        RefPtr<MeshPart> part(new MeshPart());
        NamedValue named;
        named.name = "Transparency";
        named.track.Reset(new KeyTrack());
        named.track->defaultValue = 0.05f * float(i);
        part->values.push_back(named);
        instance->parts.Add(part);
        d.batch->AppendInstance(instance);
    }
}

TEST(LightWeightShaderGenTest, RigidLitPartWithOneLight) {
    LightWeightDraw d({"Position", "Normal", "TextureUV"});
    d.Light("DirectionalLight", kLight);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("lightweight_lit_one_light.vsh"));
    EXPECT_EQ(d.ps, Golden("lightweight_untextured.psh"));
    EXPECT_EQ(
        d.VsKey(),
        "LightWeightPosition:Normal:TextureUV:Position 0 Normal 0 [NL] TextureUV 0 / 16 / 1 / 1 / 1 / 4 "
        "DirectionalLight / 3 / 4 / 4 / 4 ");
    // The emissive constant is stored even without a record, and the part is opaque.
    EXPECT_EQ(d.Vs(8, 3), 0.0f);
    EXPECT_EQ(d.Vs(9, 3), 1.0f);
    EXPECT_EQ(d.batch->instancesToDraw, 0);
    float depth = 0.0f;
    EXPECT_FALSE(d.gen->Cull(d.view, d.batch, d.part, depth));
}

TEST(LightWeightShaderGenTest, InstancedRegisterBasesAndKeyWords) {
    LightWeightDraw d({"Position", "Normal", "TextureUV", "X16"});
    d.Light("DirectionalLight", kLight);
    d.Light("DirectionalLight", {1, 0, 0, 0.2f, 0.2f, 0.2f, 1});
    d.Light("DirectionalSpecularLight", kLight);
    d.Value("Specular", 1.0f);
    d.Value("Transparency", 0.0f);
    d.Own("UVScroll", {0, 0, 0, 0});
    d.Own("EmissiveLight", {0.1f, 0, 0, 0});
    Queue(d, 20);
    ASSERT_TRUE(d.Run());
    EXPECT_EQ(d.vs, Golden("lightweight_instanced_all.vsh"));
    const LightWeightShaderGen::DrawState& s = d.gen->State();
    EXPECT_EQ(s.uvBase, 0);
    EXPECT_EQ(s.transformBase, 8);
    EXPECT_EQ(s.directionBases[0], 43);
    EXPECT_EQ(s.directionBases[1], 52);
    EXPECT_EQ(s.eyeBase, 61);
    EXPECT_EQ(s.specularBase, 69);
    EXPECT_EQ(s.alphaBase, 78);
    const std::string key = d.VsKey();
    for (const char* word :
         {" 08 ", " X16UV0 ", " X168 ", " X16DIFF43 ", " X16DIFF52 ", " X16SPEC61 ", " X16Alpha78 "})
        EXPECT_NE(key.find(word), std::string::npos) << word << " in " << key;
    EXPECT_EQ(Count(key, "X16 0 "), 3u);
    // Entry k is instance 19 - k: its offset, its alpha, not renormalised directions.
    EXPECT_EQ(d.Vs(0, 0), 19.0f);
    EXPECT_EQ(d.Vs(7, 0), 12.0f);
    EXPECT_FLOAT_EQ(d.Vs(78, 3), 1.0f - 0.05f * 19);
    EXPECT_EQ(d.PsKey(), "LightWeightSetMatTex 0 [NL] AddLight ");
}

TEST(LightWeightShaderGenTest, BindsTakeWhatTheConstantsAllow) {
    struct Case {
        uint32_t maxConstants;
        std::vector<int> binds;
    };
    for (const Case& c : {Case{96, {8, 8, 4}}, Case{256, {16, 4}}}) {
        LightWeightDraw d({"Position", "Normal", "TextureUV", "X16"});
        d.spy->maxConstants = c.maxConstants;
        d.Light("DirectionalLight", kLight);
        Queue(d, 20);
        for (int taken : c.binds) {
            int before = d.batch->instancesToDraw;
            ASSERT_TRUE(d.Run());
            EXPECT_EQ(before - d.batch->instancesToDraw, taken);
            EXPECT_NE(d.VsKey().find(" " + std::string(taken < 10 ? "0" : "") + std::to_string(taken) + " "),
                      std::string::npos)
                << d.VsKey();
        }
        EXPECT_EQ(d.batch->instancesToDraw, 0);
    }
    // Too few constants for one instance: refused, nothing taken.
    LightWeightDraw d({"Position", "X16"});
    d.spy->maxConstants = 20;
    Queue(d, 2);
    EXPECT_FALSE(d.Run());
    EXPECT_EQ(d.batch->instancesToDraw, 2);
}

// Missing records and parts give safe values: offset 0, opaque.
TEST(LightWeightShaderGenTest, InstancesWithoutScrollOrPartsAreSafe) {
    LightWeightDraw d({"Position", "TextureUV", "X16"});
    d.Value("Transparency", 0.5f);
    d.Own("UVScroll", {0, 0, 0, 0});
    Queue(d, 2, false);
    d.batch->Instance(1)->parts.Clear();
    ASSERT_TRUE(d.Run());
    const LightWeightShaderGen::DrawState& s = d.gen->State();
    EXPECT_TRUE(s.instancedUV);
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(d.Vs(s.uvBase + k, 0), 0.0f);
    EXPECT_EQ(d.Vs(s.alphaBase, 3), 1.0f);            // instance 1, without parts
    EXPECT_FLOAT_EQ(d.Vs(s.alphaBase + 1, 3), 1.0f);  // instance 0: transparency 0
}

TEST(LightWeightShaderGenTest, VariantsAndLightLimits) {
    LightWeightDraw three({"Position", "Normal"});
    for (int i = 0; i < 3; ++i)
        three.Light("DirectionalLight", kLight);
    three.Light("DirectionalSpecularLight", kLight);
    three.Value("Specular", 0.0f);
    ASSERT_TRUE(three.Run());
    EXPECT_EQ(three.gen->State().directionalCount, 2);
    EXPECT_EQ(Count(three.VsKey(), "DirectionalLight "), 3u);
    EXPECT_EQ(Count(three.VsKey(), "DirectionalSpecularLight"), 0u);
    EXPECT_EQ(three.gen->State().specularDirection, -1);

    LightWeightDraw specular({"Position", "Normal", "TextureUV"});
    specular.Light("DirectionalSpecularLight", kLight);
    specular.Value("Specular", 0.5f);
    ASSERT_TRUE(specular.Run());
    EXPECT_EQ(specular.vs, Golden("lightweight_specular.vsh"));
    EXPECT_FLOAT_EQ(specular.Vs(8, 0), 0.25f);

    LightWeightDraw unlit({"Position", "Normal", "TextureUV"});
    unlit.gen->forcedUnlit = true;
    unlit.Light("DirectionalLight", kLight);
    ASSERT_TRUE(unlit.Run());
    EXPECT_EQ(unlit.vs, Lines({"m4x4\tr2, v0, c0", "mov\toPos, r2", "mov\toD0.rgb, c4.y", "mov\toD0.a, c5.a",
                               "mov\toT0, v2"}));
    EXPECT_NE(unlit.VsKey().find("[L]"), std::string::npos);
    EXPECT_EQ(unlit.PsKey(), "LightWeightSetMatTex 0 [L] ");

    LightWeightDraw noNormal({"Position", "TextureUV"});
    ASSERT_TRUE(noNormal.Run());
    EXPECT_EQ(noNormal.vs, Golden("lightweight_unlit.vsh"));
}

TEST(LightWeightShaderGenTest, PixelTextByTextureAndAddedLight) {
    struct Case {
        int textures;
        bool emissive;
        const char* golden;
    };
    for (const Case& c :
         {Case{0, false, "lightweight_untextured.psh"}, Case{0, true, "lightweight_addlight.psh"},
          Case{1, false, "lightweight_textured.psh"}, Case{2, true, "lightweight_addlight_textured.psh"}}) {
        LightWeightDraw d({"Position", "Normal", "TextureUV"});
        d.Textures(c.textures);
        if (c.emissive)
            d.Own("EmissiveLight", {0.2f, 0, 0, 0});
        ASSERT_TRUE(d.Run());
        EXPECT_EQ(d.ps, Golden(c.golden)) << c.golden;
    }
}

}  // namespace
}  // namespace mareldon
