// Shader text from the data files, assembled as the device does, then turned into
// GLSL by MojoShader and our fix-ups: whatever assembles must translate or be refused
// with a reason, and a translation carries the parts every program relies on. The
// first byte picks the assembler's constant-table option (bit 0, as fuzz_assembler
// reads it, so its corpus seeds this one) and the clip-space mapping (bit 1); with
// bit 2 the rest goes to the translator as raw token words.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/gl/GlShaderTranslator.h"
#include "engine/platform/helper/ShaderAssembler.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

void Translate(const uint32_t* tokens, size_t count, bool clipControl, bool assembled) {
    mareldon::GlShaderOptions options;
    options.clipControl = clipControl;
    mareldon::GlShaderSource source;
    std::string error;
    const bool ok = mareldon::TranslateShader(tokens, count, options, source, error);
    if (!ok) {
        Check(!error.empty());
        return;
    }
    const std::string& glsl = source.glsl;
    Check(glsl.find("void main()") != std::string::npos);
    if (source.vertex) {
        Check(glsl.find(mareldon::kPixelOffsetUniform) != std::string::npos);
        Check(clipControl == (glsl.find("gl_Position.y = -gl_Position.y;") == std::string::npos));
        // Every relative read goes through the guard, never straight past the array.
        Check(glsl.find("vs_uniforms_vec4[(") == std::string::npos);
    } else {
        Check(glsl.find(mareldon::kGlAlphaTest) != std::string::npos);
    }
    if (assembled) {
        // Our assembler's code names only registers the device has.
        for (uint16_t slot : source.constantSlots) {
            Check(slot < (source.vertex ? 256 : 8));
        }
        Check(source.vertex || source.samplerMask < (1u << 4));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t mode = data[0];
    ++data;
    --size;
    const bool clipControl = (mode & 2) == 0;
    if (mode & 4) {
        std::vector<uint32_t> tokens(size / 4);
        if (!tokens.empty()) {
            std::memcpy(tokens.data(), data, tokens.size() * 4);
        }
        Translate(tokens.data(), tokens.size(), clipControl, false);
        return 0;
    }
    mareldon::ShaderAssemblerOptions options;
    options.constantTableRegisters = mode & 1 ? 256 : 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const mareldon::AssembledShader shader = mareldon::AssembleShader(text, options);
    if (shader.Ok()) {
        Translate(shader.code.data(), shader.code.size(), clipControl, true);
    }
    return 0;
}
