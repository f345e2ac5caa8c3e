#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mareldon {

// Texts longer than this are refused before parsing; generated shaders are a few KB.
inline constexpr std::size_t kMaxShaderTextBytes = 64 * 1024;
// Instructions per shader; far above what vs.1.1/ps.1.1 hardware ran, it only bounds the output.
inline constexpr int kMaxShaderInstructions = 1024;

struct ShaderAssemblerOptions {
    // When above 0, a constant-table comment follows the version token and declares the
    // constant registers c0..c(n-1) as one float4 array named "c". Translators need it to
    // turn relative reads c[a0.x + N] into indexed uniform arrays.
    int constantTableRegisters = 0;
};

struct AssembledShader {
    std::vector<uint32_t> code;  // version token .. end token; empty when the text failed
    std::string error;           // "line 3: unknown opcode 'foo'" when the text failed

    bool Ok() const { return !code.empty(); }
};

// Assembles a "vs.1.1" or "ps.1.1" text (version line first) into the Direct3D 8 shader
// token format (see docs/shader-tokens.md). A text that does not assemble gives no code
// and an error naming the line.
AssembledShader AssembleShader(std::string_view text, const ShaderAssemblerOptions& options = {});

}  // namespace mareldon
