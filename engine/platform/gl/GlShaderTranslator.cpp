#include "engine/platform/gl/GlShaderTranslator.h"

#include <mojoshader/mojoshader.h>

#include <cstdlib>
#include <string_view>

namespace mareldon {
namespace {

// Splits at '\n', applies fix to each line, joins again.
template <typename Fix>
void ForEachLine(std::string& text, Fix fix) {
    std::string result;
    result.reserve(text.size() + 256);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        fix(line);
        result += line;
        if (end < text.size()) {
            result += '\n';
        }
        start = end + 1;
    }
    text = std::move(result);
}

// "\tTARGET = EXPR;" with TARGET starting with prefix: EXPR becomes before EXPR after.
void WrapRightHandSide(std::string& line, std::string_view prefix, std::string_view before,
                       std::string_view after) {
    if (line.size() < prefix.size() + 1 || line[0] != '\t' ||
        std::string_view(line).substr(1, prefix.size()) != prefix || line.back() != ';') {
        return;
    }
    size_t eq = line.find(" = ");
    if (eq == std::string::npos) {
        return;
    }
    std::string rhs = line.substr(eq + 3, line.size() - eq - 4);
    line = line.substr(0, eq + 3) + std::string(before) + rhs + std::string(after) + ";";
}

void InsertBeforeMainEnd(std::string& glsl, std::string_view code) {
    size_t end = glsl.rfind('}');
    if (end != std::string::npos) {
        glsl.insert(end, code);
    }
}

void InsertBeforeMain(std::string& glsl, std::string_view code) {
    size_t main = glsl.find("void main()");
    if (main != std::string::npos) {
        glsl.insert(main, code);
    }
}

int UniformArraySize(const std::string& glsl, std::string_view name) {
    std::string declaration = "uniform vec4 " + std::string(name) + "[";
    size_t at = glsl.find(declaration);
    if (at == std::string::npos) {
        return 0;
    }
    return std::atoi(glsl.c_str() + at + declaration.size());
}

// Relative reads "vs_uniforms_vec4[(BASE + N) + vs_a0.x]" index the array
// past its end when a0 is out of range; Direct3D reads zeros there.
void GuardRelativeReads(std::string& glsl) {
    static constexpr std::string_view kRelative = "vs_uniforms_vec4[(";
    int size = UniformArraySize(glsl, "vs_uniforms_vec4");
    bool any = false;
    size_t at = 0;
    while ((at = glsl.find(kRelative, at)) != std::string::npos) {
        size_t open = at + kRelative.size() - 2;
        int depth = 0;
        size_t close = open;
        for (; close < glsl.size(); ++close) {
            if (glsl[close] == '[') {
                ++depth;
            }
            if (glsl[close] == ']' && --depth == 0) {
                break;
            }
        }
        if (close >= glsl.size()) {
            break;
        }
        std::string index = glsl.substr(open + 1, close - open - 1);
        std::string call = "mrl_RelativeConstant(" + index + ")";
        glsl.replace(at, close + 1 - at, call);
        at += call.size();
        any = true;
    }
    if (any) {
        InsertBeforeMain(glsl, "vec4 mrl_RelativeConstant(int i)\n{\n\treturn (i >= 0 && i < " +
                                   std::to_string(size) + ") ? vs_uniforms_vec4[i] : vec4(0.0);\n}\n\n");
    }
}

void FixVertex(std::string& glsl, const GlShaderOptions& options) {
    // The address register is an ivec4: GLSL refuses the float assignment
    // MojoShader writes, and Direct3D rounds to the nearest integer.
    ForEachLine(glsl, [](std::string& line) {
        WrapRightHandSide(line, "vs_a0.x ", "int(floor((", ") + 0.5))");
        WrapRightHandSide(line, "vs_a0 ", "ivec4(floor((", ") + vec4(0.5)))");
    });
    GuardRelativeReads(glsl);
    // Direct3D 8 puts pixel centres on integer coordinates, GL half a pixel
    // further; the offset is (1/width, -1/height) of the viewport.
    InsertBeforeMain(glsl, std::string("uniform vec2 ") + kPixelOffsetUniform + ";\n\n");
    std::string tail = std::string("\tgl_Position.xy += ") + kPixelOffsetUniform + " * gl_Position.w;\n";
    if (!options.clipControl) {
        tail +=
            "\tgl_Position.y = -gl_Position.y;\n"
            "\tgl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";
    }
    InsertBeforeMainEnd(glsl, tail);
}

void FixPixel(std::string& glsl) {
    // ps.1.1 registers hold values in [-1, 1]; results beyond are clamped
    // (the negative shadow colour depends on it).
    bool inMain = false;
    ForEachLine(glsl, [&inMain](std::string& line) {
        if (line == "void main()") {
            inMain = true;
        }
        if (!inMain) {
            return;
        }
        WrapRightHandSide(line, "ps_r", "clamp(", ", -1.0, 1.0)");
        WrapRightHandSide(line, "ps_t", "clamp(", ", -1.0, 1.0)");
    });
    InsertBeforeMainEnd(glsl, kGlAlphaTest);
}

}  // namespace

const char* const kGlAlphaTest = "\tif (clamp(gl_FragColor.a, 0.0, 1.0) < 0.5 / 255.0) discard;\n";

bool TranslateShader(const uint32_t* tokens, size_t count, const GlShaderOptions& options,
                     GlShaderSource& out, std::string& error) {
    out = GlShaderSource{};
    if (tokens == nullptr || count == 0) {
        error = "empty token code";
        return false;
    }
    const MOJOSHADER_parseData* parse =
        MOJOSHADER_parse(MOJOSHADER_PROFILE_GLSL, "main", reinterpret_cast<const unsigned char*>(tokens),
                         static_cast<unsigned int>(count * sizeof(uint32_t)), nullptr, 0, nullptr, 0, nullptr,
                         nullptr, nullptr);
    if (parse == nullptr) {
        error = "MojoShader ran out of memory";
        return false;
    }
    bool ok = parse->error_count == 0 && parse->output != nullptr &&
              (parse->shader_type == MOJOSHADER_TYPE_VERTEX || parse->shader_type == MOJOSHADER_TYPE_PIXEL);
    if (!ok) {
        error.clear();
        for (int i = 0; i < parse->error_count; ++i) {
            if (!error.empty()) {
                error += "; ";
            }
            error += parse->errors[i].error ? parse->errors[i].error : "?";
            error += " at byte " + std::to_string(parse->errors[i].error_position);
        }
        if (error.empty()) {
            error = "not a vertex or pixel shader";
        }
        MOJOSHADER_freeParseData(parse);
        return false;
    }
    out.vertex = parse->shader_type == MOJOSHADER_TYPE_VERTEX;
    out.glsl.assign(parse->output, parse->output_len);
    // Code cut before its end token comes back with main left open, which no fix-up
    // can close soundly.
    const size_t last = out.glsl.find_last_not_of(" \t\n");
    if (out.glsl.find("void main()") == std::string::npos || last == std::string::npos ||
        out.glsl[last] != '}') {
        MOJOSHADER_freeParseData(parse);
        out = GlShaderSource{};
        error = "the code has no end token: no complete main";
        return false;
    }
    for (int i = 0; i < parse->uniform_count; ++i) {
        const MOJOSHADER_uniform& u = parse->uniforms[i];
        if (u.type != MOJOSHADER_UNIFORM_FLOAT || u.constant) {
            continue;
        }
        int n = u.array_count > 0 ? u.array_count : 1;
        for (int k = 0; k < n; ++k) {
            out.constantSlots.push_back(static_cast<uint16_t>(u.index + k));
        }
    }
    for (int i = 0; i < parse->attribute_count; ++i) {
        const char* name = parse->attributes[i].name;
        if (name && std::string_view(name).starts_with("vs_v")) {
            int reg = std::atoi(name + 4);
            if (reg >= 0 && reg < 32) {
                out.inputMask |= 1u << reg;
            }
        }
    }
    for (int i = 0; i < parse->sampler_count; ++i) {
        int stage = parse->samplers[i].index;
        if (stage >= 0 && stage < 32) {
            out.samplerMask |= 1u << stage;
        }
    }
    MOJOSHADER_freeParseData(parse);
    if (out.vertex) {
        FixVertex(out.glsl, options);
    } else {
        FixPixel(out.glsl);
    }
    return true;
}

}  // namespace mareldon
