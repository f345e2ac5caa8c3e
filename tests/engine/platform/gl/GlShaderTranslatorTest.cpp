#include "engine/platform/gl/GlShaderTranslator.h"

#include <gtest/gtest.h>

#include "engine/platform/helper/ShaderAssembler.h"

namespace mareldon {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<uint32_t> Assemble(const char* text, int constantRegisters = 0) {
    AssembledShader shader = AssembleShader(text, {constantRegisters});
    EXPECT_TRUE(shader.Ok()) << shader.error;
    return shader.code;
}

TEST(GlShaderTranslatorTest, VertexProgramRoundsTheAddressAndGuardsRelativeReads) {
    std::vector<uint32_t> code =
        Assemble("vs.1.1\nmov a0.x, v1.x\nmov oPos, c[a0.x + 10]\nmov oD0, c4\n", 96);
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
    std::vector<uint32_t> code = Assemble("ps.1.1\ntex t1\nmad_sat r0, t1, v0, c3\nadd r0.rgb, r0, c1\n");
    GlShaderSource out;
    std::string error;
    ASSERT_TRUE(TranslateShader(code.data(), code.size(), {}, out, error)) << error;
    EXPECT_FALSE(out.vertex);
    EXPECT_TRUE(Contains(out.glsl, "ps_r0.xyz = clamp(ps_r0.xyz + ps_c1.xyz, -1.0, 1.0);")) << out.glsl;
    EXPECT_TRUE(Contains(out.glsl, kGlAlphaTest));
    EXPECT_LT(out.glsl.find("ps_oC0 = ps_r0;"), out.glsl.find(kGlAlphaTest));
    // Compact uniform array: element 0 holds c1, element 1 holds c3.
    EXPECT_EQ(out.constantSlots, (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(out.samplerMask, 0b10u);
}

TEST(GlShaderTranslatorTest, RefusedCodeGivesAReason) {
    const uint32_t unknownOpcode[] = {0xFFFE0101, 0x7777, 0x800F0000, 0x0000FFFF};
    const uint32_t notAShader[] = {0x12345678, 0x0000FFFF};
    // Without the end token MojoShader leaves main open (found by fuzzing).
    const uint32_t noEnd[] = {0xFFFE0101, 0x00000001, 0xC00F0000, 0x90E40000};
    const uint32_t versionOnly[] = {0xFFFE003B};
    for (const auto& [tokens, count] :
         {std::pair{unknownOpcode, std::size(unknownOpcode)}, std::pair{notAShader, std::size(notAShader)},
          std::pair{noEnd, std::size(noEnd)}, std::pair{versionOnly, std::size(versionOnly)}}) {
        GlShaderSource out;
        std::string error;
        EXPECT_FALSE(TranslateShader(tokens, count, {}, out, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(out.glsl.empty());
    }
}

}  // namespace
}  // namespace mareldon
