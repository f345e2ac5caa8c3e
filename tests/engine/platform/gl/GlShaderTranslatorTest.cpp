#include "engine/platform/gl/GlShaderTranslator.h"

#include <gtest/gtest.h>

#include "tests/engine/platform/gl/ShaderTokens.h"

namespace mareldon {
namespace {

using namespace tokens;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(GlShaderTranslatorTest, VertexProgramRoundsTheAddressAndGuardsRelativeReads) {
    std::vector<uint32_t> code = {kVs11};
    std::vector<uint32_t> table = ConstantTable(96);
    code.insert(code.end(), table.begin(), table.end());
    code.insert(code.end(), {MOV, Dst(A, 0, 1), Src(V, 1, 0x00), MOV, Dst(OPOS, 0),
                             Src(C, 10, kXyzw, 0, true), MOV, Dst(OD, 0), Src(C, 4), kEnd});
    for (bool clipControl : {true, false}) {
        GlShaderSource out;
        std::string error;
        ASSERT_TRUE(TranslateShader(code.data(), code.size(), {clipControl}, out, error)) << error;
        EXPECT_TRUE(out.vertex);
        EXPECT_TRUE(Contains(out.glsl, "vs_a0.x = int(floor((vs_v1.x) + 0.5));")) << out.glsl;
        EXPECT_TRUE(Contains(out.glsl, "i < 96) ? vs_uniforms_vec4[i] : vec4(0.0)")) << out.glsl;
        EXPECT_FALSE(Contains(out.glsl, "vs_uniforms_vec4[(")) << out.glsl;
        EXPECT_TRUE(Contains(out.glsl, "gl_Position.xy += mrl_PixelOffset * gl_Position.w;"));
        EXPECT_EQ(Contains(out.glsl, "gl_Position.y = -gl_Position.y;"), !clipControl);
        // The declared array maps register N to element N.
        ASSERT_EQ(out.constantSlots.size(), 96u);
        EXPECT_EQ(out.constantSlots[4], 4u);
        EXPECT_EQ(out.inputMask, 0b10u);
    }
}

TEST(GlShaderTranslatorTest, PixelProgramClampsRegistersAndEndsWithTheAlphaTest) {
    // tex t1; mad_sat r0, t1, v0, c3; add r0.rgb, r0, c1
    const uint32_t code[] = {kPs11,     TEX,       Dst(T, 1), MAD, Dst(R, 0, 0xF, true),
                             Src(T, 1), Src(V, 0), Src(C, 3), ADD, Dst(R, 0, 7),
                             Src(R, 0), Src(C, 1), kEnd};
    GlShaderSource out;
    std::string error;
    ASSERT_TRUE(TranslateShader(code, std::size(code), {}, out, error)) << error;
    EXPECT_FALSE(out.vertex);
    EXPECT_TRUE(Contains(out.glsl, "ps_r0.xyz = clamp(ps_r0.xyz + ps_c1.xyz, -1.0, 1.0);")) << out.glsl;
    EXPECT_TRUE(Contains(out.glsl, kGlAlphaTest));
    EXPECT_LT(out.glsl.find("ps_oC0 = ps_r0;"), out.glsl.find(kGlAlphaTest));
    // Compact uniform array: element 0 holds c1, element 1 holds c3.
    EXPECT_EQ(out.constantSlots, (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(out.samplerMask, 0b10u);
}

TEST(GlShaderTranslatorTest, RefusedCodeGivesAReason) {
    const uint32_t unknownOpcode[] = {kVs11, 0x7777, Dst(R, 0), kEnd};
    const uint32_t notAShader[] = {0x12345678, kEnd};
    for (const auto& [tokens, count] :
         {std::pair{unknownOpcode, std::size(unknownOpcode)}, std::pair{notAShader, std::size(notAShader)}}) {
        GlShaderSource out;
        std::string error;
        EXPECT_FALSE(TranslateShader(tokens, count, {}, out, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(out.glsl.empty());
    }
}

}  // namespace
}  // namespace mareldon
