#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mareldon {

// Direct3D 8 shader token code turned into GLSL that behaves as the original
// hardware did, with what the GL side needs to feed it.
struct GlShaderSource {
    bool vertex = false;
    std::string glsl;
    // Constant register held by each element of the shader's uniform array
    // ("vs_uniforms_vec4" or "ps_uniforms_vec4"), in array order.
    std::vector<uint16_t> constantSlots;
    // Vertex shaders: bit N when input register vN ("vs_vN") is read.
    uint32_t inputMask = 0;
    // Pixel shaders: bit N when texture stage N is sampled ("ps_sN").
    uint32_t samplerMask = 0;
};

struct GlShaderOptions {
    // Without ARB_clip_control the vertex program itself maps Direct3D's
    // clip space (y down in memory, z in 0..w) to GL's.
    bool clipControl = true;
};

// Translates token code through MojoShader's GLSL profile and mends what it
// gets wrong for these shaders. False with a readable reason on refusal.
bool TranslateShader(const uint32_t* tokens, size_t count, const GlShaderOptions& options,
                     GlShaderSource& out, std::string& error);

// Names the GLSL of every program uses besides MojoShader's own.
inline constexpr const char* kPixelOffsetUniform = "mrl_PixelOffset";
// The alpha test every fragment program ends with (reference 0, GREATER on
// the 8-bit alpha the original hardware compared).
extern const char* const kGlAlphaTest;

}  // namespace mareldon
