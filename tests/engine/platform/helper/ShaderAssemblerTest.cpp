#include "engine/platform/helper/ShaderAssembler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mojoshader.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mareldon {
namespace {

using ::testing::HasSubstr;

const std::filesystem::path kShaderDir = std::filesystem::path(MARELDON_TEST_DATA_DIR) / "shaders";

struct ParseResult {
    std::string errors;  // empty when MojoShader accepted the tokens
    std::string output;
};

// MojoShader decodes the tokens on its own: "glsl" is what the GL backend will use,
// "d3d" disassembles them back to text.
ParseResult ParseTokens(const char* profile, const std::vector<uint32_t>& code) {
    const MOJOSHADER_parseData* data = MOJOSHADER_parse(
        profile, "main", reinterpret_cast<const unsigned char*>(code.data()),
        static_cast<unsigned>(code.size() * 4), nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr);
    ParseResult result;
    for (int i = 0; i < data->error_count; ++i) {
        result.errors += std::string(data->errors[i].error) + "\n";
    }
    if (data->output != nullptr) {
        result.output.assign(data->output, data->output_len);
    }
    MOJOSHADER_freeParseData(data);
    return result;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ShaderFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kShaderDir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The shader object prefixes the version line to the generated text.
std::string WithVersion(const std::string& name, const std::string& body) {
    return (name.ends_with(".vsh") ? "vs.1.1\n" : "ps.1.1\n") + body;
}

class GeneratedShaderText : public ::testing::TestWithParam<std::string> {};

TEST_P(GeneratedShaderText, AssemblesAndMojoShaderTranslatesIt) {
    const std::string body = ReadFile(kShaderDir / GetParam());
    ASSERT_FALSE(body.empty());
    const bool vertex = GetParam().ends_with(".vsh");
    ShaderAssemblerOptions options;
    options.constantTableRegisters = vertex ? 256 : 8;
    AssembledShader shader = AssembleShader(WithVersion(GetParam(), body), options);
    ASSERT_TRUE(shader.Ok()) << shader.error;
    EXPECT_TRUE(shader.error.empty());

    ParseResult glsl = ParseTokens("glsl", shader.code);
    EXPECT_EQ(glsl.errors, "");
    EXPECT_THAT(glsl.output, HasSubstr("void main()"));

    // Every text line comes back as one disassembled instruction.
    ParseResult d3d = ParseTokens("d3d", shader.code);
    ASSERT_EQ(d3d.errors, "");
    const auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    // d3d output: version line, the instructions, "end".
    EXPECT_EQ(lines(d3d.output), lines(body) + 2) << d3d.output;
}

INSTANTIATE_TEST_SUITE_P(AllTexts, GeneratedShaderText, ::testing::ValuesIn(ShaderFiles()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(ShaderAssembler, EmitsVersionInstructionParameterAndEndTokens) {
    AssembledShader vs = AssembleShader("vs.1.1\nm4x3\tr0.xyz, v0, c[a0.x + 10]\nmov oD0.a, -c4.y\n");
    ASSERT_TRUE(vs.Ok()) << vs.error;
    const std::vector<uint32_t> expectedVs = {0xFFFE0101,  // vs 1.1
                                              0x00000015, 0x80070000, 0x90E40000,
                                              0xA0E4200A,  // m4x3 r0.xyz, v0, c10 relative
                                              0x00000001, 0xD0080000, 0xA1550004,  // mov oD0.w, -c4.yyyy
                                              0x0000FFFF};
    EXPECT_EQ(vs.code, expectedVs);

    AssembledShader ps = AssembleShader("ps.1.1\ntex t0\nmul_sat r0.rgb, v0, t0\n+mul r0.a, t0.a, c0.a\n");
    ASSERT_TRUE(ps.Ok()) << ps.error;
    const std::vector<uint32_t> expectedPs = {
        0xFFFF0101,                                      // ps 1.1
        0x00000042, 0xB00F0000,                          // tex t0
        0x00000005, 0x80170000, 0x90E40000, 0xB0E40000,  // mul_sat r0.rgb, v0, t0
        0x40000005, 0x80080000, 0xB0FF0000, 0xA0FF0000,  // +mul r0.a, t0.a, c0.a (co-issued)
        0x0000FFFF};
    EXPECT_EQ(ps.code, expectedPs);
}

// Each line assembles and disassembles to the instruction MojoShader prints for it.
TEST(ShaderAssembler, EncodesRegistersMasksSwizzlesAndModifiers) {
    struct Case {
        const char* version;
        const char* line;
        const char* disassembly;
    };
    const Case cases[] = {
        {"vs.1.1", "mov r0.xyz, -v1.yzw", "mov r0.xyz, -v1.yzw"},
        {"vs.1.1", "mul r1, v0.x, c3.xz", "mul r1, v0.x, c3.xz"},  // short swizzles repeat the last letter
        {"vs.1.1", "mov a0.x, v0.x\nadd r2.xw, v1.wwww, -c[a0.x+7].y", "add r2.xw, v1.w, -c7[a0.x].y"},
        {"vs.1.1", "mov a0.x, v0.x\nmov r0, c[ 12 + a0.x ].ab", "mov r0, c12[a0.x].wz"},
        {"vs.1.1", "mov oD0.rgba, c2.rgba", "mov oD0, c2"},
        {"vs.1.1", "mov oD1.rgb, c2", "mov oD1.xyz, c2"},
        {"vs.1.1", "mov oT7, v15", "mov oT7, v15"},
        {"vs.1.1", "mov r11, c255", "mov r11, c255"},
        {"vs.1.1", "m3x3 r1, v1, c4", "m3x3 r1.xyz, v1, c4"},  // the macro's own components
        {"vs.1.1", "m3x2 r3, v0, c4", "m3x2 r3.xy, v0, c4"},
        {"vs.1.1", "rsq r1.w, -v0.w", "rsq r1.w, -v0.w"},
        {"vs.1.1", "nop", "nop"},
        {"vs.1.1", "frc r0.xy, v0", "frc r0.xy, v0"},
        {"ps.1.1", "mov r0.a, t1_bias.b", "mov r0.w, t1_bias.z"},
        {"ps.1.1", "mul_x2 r0.rgb, -t1_bx2, 1-v0", "mul_x2 r0.xyz, -t1_bx2, 1-v0"},
        {"ps.1.1", "mov r0, v0\nadd_d2 r0.a, -r0.a_bias, c7", "add_d2 r0.w, -r0_bias.w, c7"},
        {"ps.1.1", "mov r0, v0\ncnd_sat r0, r0.a, c[3], v1.a", "cnd_sat r0, r0.w, c3, v1.w"},
        {"ps.1.1", "tex t0\nlrp_x4 r0, c3, v1, t0", "lrp_x4 r0, c3, v1, t0"},
        {"ps.1.1", "tex t1\ndp3 r0.rgb, v0, t1", "dp3 r0.xyz, v0, t1"},
        {"ps.1.1", "def c3, 1.0, 0.5, -2, .25\nmov r0, c3", "def c3, 1, 0.5, -2, 0.25"},
        {"ps.1.1", "texkill t2\nmov r0, v0", "texkill t2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        AssembledShader shader = AssembleShader(std::string(c.version) + "\n" + c.line + "\n");
        ASSERT_TRUE(shader.Ok()) << shader.error;
        ParseResult d3d = ParseTokens("d3d", shader.code);
        ASSERT_EQ(d3d.errors, "");
        EXPECT_THAT(d3d.output, HasSubstr(std::string("\n") + c.disassembly + "\n")) << d3d.output;
    }
}

TEST(ShaderAssembler, ToleratesSpacingCommentsAndBlankLines) {
    const AssembledShader plain = AssembleShader(
        "vs.1.1\nmov\tr9, v1\ndp3\tr9.w, r9.xyz, r9.xyz\nadd\toD0.rgb, r9.xyz, c5\nmov\toT0, v2\n");
    ASSERT_TRUE(plain.Ok()) << plain.error;
    const char* variants[] = {
        "vs.1.1\nmov\tr9, v1\ndp3\tr9.w,r9.xyz,r9.xyz\nadd\toD0.rgb,  r9.xyz, c5\nmov\toT0, v2",
        "// generated\r\n\r\nvs.1.1 ; version\r\nmov r9,v1\r\n  dp3 r9.w , r9.xyz ,r9.xyz\r\n\n"
        "add oD0.rgb,\t r9.xyz,  c5 // colour\n; comment line\nMOV oT0, V2\n",
    };
    for (const char* text : variants) {
        SCOPED_TRACE(text);
        const AssembledShader shader = AssembleShader(text);
        ASSERT_TRUE(shader.Ok()) << shader.error;
        EXPECT_EQ(shader.code, plain.code);
    }
    // A version line alone is a valid, empty vertex shader.
    EXPECT_EQ(AssembleShader("vs.1.1\n").code, (std::vector<uint32_t>{0xFFFE0101, 0x0000FFFF}));
}

TEST(ShaderAssembler, ConstantTableLetsMojoShaderIndexTheConstantFile) {
    const std::string text = "vs.1.1\nmov a0.x, v1.x\nmov r0, c[a0.x + 10]\nmov oPos, r0\n";
    const AssembledShader bare = AssembleShader(text);
    ASSERT_TRUE(bare.Ok()) << bare.error;
    EXPECT_NE(ParseTokens("glsl", bare.code).errors, "");  // relative reads need the table

    ShaderAssemblerOptions options;
    options.constantTableRegisters = 96;
    const AssembledShader table = AssembleShader(text, options);
    ASSERT_TRUE(table.Ok()) << table.error;
    ASSERT_GE(table.code.size(), 3u);
    EXPECT_EQ(table.code[0], 0xFFFE0101u);
    EXPECT_EQ(table.code[1] & 0xFFFFu, 0xFFFEu);  // a comment token ...
    EXPECT_EQ(table.code[2], 0x42415443u);        // ... holding "CTAB"
    const uint32_t commentWords = table.code[1] >> 16;
    EXPECT_EQ(table.code.size(), bare.code.size() + 1 + commentWords);

    const ParseResult glsl = ParseTokens("glsl", table.code);
    EXPECT_EQ(glsl.errors, "");
    EXPECT_THAT(glsl.output, HasSubstr("uniform vec4 vs_uniforms_vec4[96]"));
    EXPECT_THAT(glsl.output, HasSubstr("vs_uniforms_vec4[(ARRAYBASE_0 + 10) + vs_a0.x]"));
}

TEST(ShaderAssembler, RefusesTextsThatDoNotAssemble) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "missing version line"},
        {"mov r0, v0\n", "expected the version line"},
        {"vs.2.0\nmov r0, v0\n", "unsupported shader version"},
        {"vs.1.1\nmove r0, v0\n", "line 2: unknown opcode 'move'"},
        {"vs.1.1\n\n\nfoo\n", "line 4: unknown opcode 'foo'"},
        {"vs.1.1\ntex t0\n", "'tex' is not a vs.1.1 instruction"},
        {"ps.1.1\nm4x4 r0, v0, c0\n", "'m4x4' is not a ps.1.1 instruction"},
        {"ps.1.1\ntexbem t1, t0\n", "'texbem' is not supported"},
        {"vs.1.1\nmov r12, v0\n", "bad register 'r12'"},
        {"vs.1.1\nmov r0, v16\n", "bad register 'v16'"},
        {"vs.1.1\nmov r0, c256\n", "bad register 'c256'"},
        {"vs.1.1\nmov oT8, v0\n", "bad register 'oT8'"},
        {"vs.1.1\nmov r0, x0\n", "bad register 'x0'"},
        {"vs.1.1\nmov oFog, r0.x\n", "bad register 'oFog'"},
        {"vs.1.1\nmov r0, r0x\n", "bad register 'r0x'"},
        {"vs.1.1\nmov r0, r\n", "bad register 'r'"},
        {"vs.1.1\nmov r0, r00000001\n", "bad register"},
        {"ps.1.1\nmov r2, v0\n", "bad register 'r2'"},
        {"ps.1.1\ntex t4\n", "bad register 't4'"},
        {"ps.1.1\nmov r0, c8\n", "bad register 'c8'"},
        {"vs.1.1\nmov v0, r0\n", "register 'v0' cannot be written"},
        {"vs.1.1\nmov c1, r0\n", "register 'c1' cannot be written"},
        {"vs.1.1\nmov r0, oPos\n", "register 'oPos' cannot be read"},
        {"vs.1.1\nmov r0, a0.x\n", "register 'a0.x' cannot be read"},
        {"vs.1.1\nmov r0, v0.xyzwx\n", "bad component selection"},
        {"vs.1.1\nmov r0, v0.q\n", "bad component selection"},
        {"vs.1.1\nmov r0, v0.\n", "bad component selection"},
        {"vs.1.1\nmov r0, v0.xr\n", "bad component selection"},
        {"vs.1.1\nmov r0.yx, v0\n", "write mask out of order"},
        {"vs.1.1\nmov r0.xx, v0\n", "write mask out of order"},
        {"ps.1.1\nmov r0.xy, v0\n", "ps.1.1 writes only .rgba, .rgb or .a"},
        {"ps.1.1\nmov r0, v0.xy\n", "ps.1.1 selects only .rgba, .a or .b"},
        {"vs.1.1\nmov r0, v0 v1\n", "bad register 'v0 v1'"},
        {"vs.1.1\nmov r0, v0.x.y\n", "unexpected text in the source"},
        {"vs.1.1\nmov r0, v0\nadd r1, r0,\n", "line 3: bad register ''"},
        {"vs.1.1\nadd r0, v0\n", "'add' takes 3 operands, found 2"},
        {"vs.1.1\nnop r0\n", "'nop' takes no operands"},
        {"vs.1.1\nmov_sat r0, v0\n", "bad instruction modifier '_sat'"},
        {"ps.1.1\nmul_x3 r0, v0, v1\n", "bad instruction modifier '_x3'"},
        {"ps.1.1\nmul_x2_x4 r0, v0, v1\n", "bad instruction modifier '_x4'"},
        {"ps.1.1\nmov r0, v0_foo\n", "bad source modifier '_foo'"},
        {"ps.1.1\nmov r0, 1-v0_bias\n", "'1-' cannot be combined"},
        {"vs.1.1\nmov r0, v0_bias\n", "unexpected text in the source"},
        {"vs.1.1\nmov r0, c[a0.x - 2]\n", "bad relative address"},
        {"vs.1.1\nmov r0, c[a1.x + 2]\n", "bad relative address"},
        {"vs.1.1\nmov r0, c[a0.x + a0.x]\n", "bad relative address"},
        {"vs.1.1\nmov r0, c[a0.x + 256]\n", "bad register"},
        {"vs.1.1\nmov r0, c[a0.x + 2\n", "missing ']'"},
        {"ps.1.1\nmov r0, c[a0.x + 2]\n", "bad relative address"},
        {"vs.1.1\nmov a0.y, v0.x\n", "only be written as 'a0.x' by 'mov'"},
        {"vs.1.1\nadd a0.x, v0.x, v0.y\n", "only be written as 'a0.x' by 'mov'"},
        {"vs.1.1\nm4x3 r0.xyzw, v0, c0\n", "'m4x3' writes exactly .xyz, found 'r0.xyzw'"},
        {"vs.1.1\nm4x4 r0.xyz, v0, c0\n", "'m4x4' writes exactly .xyzw"},
        {"vs.1.1\nm3x2 r0.x, v0, c0\n", "'m3x2' writes exactly .xy"},
        {"vs.1.1\nrsq r0.w, v0\n", "'rsq' needs one component of its source, such as .w, found 'v0'"},
        {"vs.1.1\nrcp r0.w, v0.xy\n", "'rcp' needs one component"},
        {"vs.1.1\nfrc r0, v0\n", "'frc' writes only .y or .xy, found 'r0'"},
        {"vs.1.1\nmov r0.x, v0\nadd r1, r0, r2\n", "line 3: r2 is read before it is written"},
        {"ps.1.1\ntex t0\nmov r1, t0\n", "ps.1.1 never writes r0, the pixel colour"},
        {"ps.1.1\n", "ps.1.1 never writes r0"},
        {"vs.1.1\nadd r0, c1, c2\n", "only one constant register"},
        {"vs.1.1\nmad r0, c[a0.x + 1], r1, c1\n", "only one constant register"},
        {"vs.1.1\nadd r0, v1, v2\n", "only one input register"},
        {"vs.1.1\n+mov r0, v0\n", "co-issue '+' is only allowed in ps.1.1"},
        {"ps.1.1\n+mov r0.a, v0\n", "must directly follow an arithmetic instruction"},
        {"ps.1.1\ntex t0\n+mov r0.a, t0\n", "must directly follow an arithmetic instruction"},
        {"ps.1.1\nmov r0.rgb, v0\n+mov r0.a, v0\n+mov r1.a, v0\n", "line 4: a co-issued '+' instruction"},
        {"ps.1.1\nmov r0.rgb, v0\n+mov r0.rgb, v1\n", "must write .rgb in one instruction and .a"},
        {"ps.1.1\nmov r0, v0\n+\n", "expected an instruction"},
        {"ps.1.1\nmov r1, v0\ncnd r0, r1.a, c0, c1\n", "line 3: 'cnd' in ps.1.1 needs 'r0.a'"},
        {"ps.1.1\nmov r0, v0\ntex t0\n", "'tex' must come before the arithmetic instructions"},
        {"ps.1.1\ntex t0\ndef c0, 0, 0, 0, 0\n", "'def' must come before every other instruction"},
        {"ps.1.1\ntex r0\n", "'tex' needs a texture register"},
        {"ps.1.1\ntex t0.rgb\n", "'tex' needs a texture register"},
        {"ps.1.1\ndef c0, 1, 2, 3\n", "'def' takes a constant register and four values"},
        {"ps.1.1\ndef c0, 1, 2, 3, x\n", "bad value 'x' in 'def'"},
        {"ps.1.1\ndef r0, 1, 2, 3, 4\n", "'def' needs a whole constant register"},
        {"vs.1.1\ndef c0, 1, 2, 3, 4\n", "'def' is not a vs.1.1 instruction"},
        {"vs.1.1\nmov, r0, v0\n", "unexpected character after the opcode"},
        {"vs.1.1\nmov r0, v\x01\n", "bad register 'v?'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const AssembledShader shader = AssembleShader(c.text);
        EXPECT_FALSE(shader.Ok());
        EXPECT_TRUE(shader.code.empty());
        EXPECT_THAT(shader.error, HasSubstr(c.error));
    }
}

TEST(ShaderAssembler, RefusesOverlongTexts) {
    std::string text = "vs.1.1\n";
    while (text.size() <= kMaxShaderTextBytes) {
        text += "// padding padding padding padding padding padding padding\n";
    }
    AssembledShader shader = AssembleShader(text);
    EXPECT_FALSE(shader.Ok());
    EXPECT_THAT(shader.error, HasSubstr("longer than 65536 bytes"));

    text = "vs.1.1\n";
    for (int i = 0; i <= kMaxShaderInstructions; ++i) {
        text += "nop\n";
    }
    shader = AssembleShader(text);
    EXPECT_FALSE(shader.Ok());
    EXPECT_THAT(shader.error, HasSubstr("line 1026: more than 1024 instructions"));
}

// Any cut of a valid text either assembles or is refused; nothing reads past the text.
TEST(ShaderAssembler, TruncatedTextsNeverCrash) {
    for (const std::string& name : ShaderFiles()) {
        const std::string text = WithVersion(name, ReadFile(kShaderDir / name));
        for (std::size_t size = 0; size <= text.size(); ++size) {
            // A heap copy of exactly the cut size, so ASan sees any over-read.
            std::vector<char> cut(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size));
            const AssembledShader shader = AssembleShader(std::string_view(cut.data(), cut.size()));
            EXPECT_NE(shader.Ok(), !shader.error.empty()) << name << " cut at " << size;
        }
    }
}

}  // namespace
}  // namespace mareldon
