#include "engine/platform/gl/GlShaderCache.h"

#include <cstdio>
#include <string>

#include "engine/core/Log.h"

namespace mareldon {
namespace {

// The GL attribute format of each declaration type: FLOAT1..4, D3DCOLOR
// (bytes B, G, R, A), UBYTE4, SHORT2, SHORT4.
struct AttributeFormat {
    GLint size;
    GLenum type;
    GLboolean normalized;
};
const AttributeFormat kAttributeFormats[8] = {{1, GL_FLOAT, GL_FALSE},
                                              {2, GL_FLOAT, GL_FALSE},
                                              {3, GL_FLOAT, GL_FALSE},
                                              {4, GL_FLOAT, GL_FALSE},
                                              {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE},
                                              {4, GL_UNSIGNED_BYTE, GL_FALSE},
                                              {2, GL_SHORT, GL_FALSE},
                                              {4, GL_SHORT, GL_FALSE}};

// Direct3D's default stage 0: colour is texture times diffuse, alpha the
// texture's own. A stage without a texture passes the diffuse colour on
// (mrl_Untextured 1; the white texture bound then makes the colour right).
const char* const kFixedPixelGlsl =
    "#version 110\n"
    "uniform sampler2D ps_s0;\n"
    "uniform float mrl_Untextured;\n"
    "void main()\n"
    "{\n"
    "\tvec4 t = texture2D(ps_s0, gl_TexCoord[0].xy);\n"
    "\tgl_FragColor = vec4(t.rgb * gl_Color.rgb, mix(t.a, gl_Color.a, mrl_Untextured));\n"
    "}\n";

// Shows the back buffer upright: p is the position in the upright picture
// (y up), turn maps it to where the screen transform put it.
const char* const kPresentVertexGlsl =
    "#version 130\n"
    "out vec2 p;\n"
    "void main()\n"
    "{\n"
    "\tp = vec2(float(gl_VertexID & 1) * 2.0 - 1.0, float(gl_VertexID >> 1) * 2.0 - 1.0);\n"
    "\tgl_Position = vec4(p, 0.0, 1.0);\n"
    "}\n";
const char* const kPresentPixelGlsl =
    "#version 130\n"
    "uniform sampler2D image;\n"
    "uniform mat2 turn;\n"
    "in vec2 p;\n"
    "void main()\n"
    "{\n"
    "\tvec2 b = turn * p;\n"
    "\tgl_FragColor = vec4(texture(image, vec2(b.x + 1.0, 1.0 - b.y) * 0.5).rgb, 1.0);\n"
    "}\n";

// The token code as hex words, for the log of a refused shader (MojoShader
// gives no text of code it refuses). Long code is cut.
std::string TokenText(const uint32_t* function, size_t length) {
    constexpr size_t kShown = 256;
    std::string text;
    char word[12];
    for (size_t i = 0; i < length && i < kShown; ++i) {
        std::snprintf(word, sizeof word, i % 8 == 0 ? "\n%08X" : " %08X", function[i]);
        text += word;
    }
    if (length > kShown) {
        text += " ...";
    }
    return text;
}

std::string FixedPixelSource() {
    std::string glsl = kFixedPixelGlsl;
    glsl.insert(glsl.rfind('}'), kGlAlphaTest);
    return glsl;
}

}  // namespace

GlShaderCache::GlShaderCache(GlFunctions& gl, bool clipControl) : gl_(gl) {
    options_.clipControl = clipControl;
    fixedPixel_ = Compile(GL_FRAGMENT_SHADER, FixedPixelSource());
    GLuint vertex = Compile(GL_VERTEX_SHADER, kPresentVertexGlsl);
    GLuint pixel = Compile(GL_FRAGMENT_SHADER, kPresentPixelGlsl);
    if (vertex && pixel) {
        presentProgram_ = Link(vertex, pixel, 0);
    }
    if (vertex) {
        gl_.DeleteShader(vertex);
    }
    if (pixel) {
        gl_.DeleteShader(pixel);
    }
    if (presentProgram_) {
        gl_.UseProgram(presentProgram_);
        gl_.Uniform1i(gl_.GetUniformLocation(presentProgram_, "image"), 0);
        presentTurn_ = gl_.GetUniformLocation(presentProgram_, "turn");
        gl_.UseProgram(0);
    }
}

GlShaderCache::~GlShaderCache() = default;

void GlShaderCache::ReleaseGlObjects() {
    for (auto& [key, program] : programs_) {
        if (program.name) {
            gl_.DeleteProgram(program.name);
        }
    }
    programs_.clear();
    for (auto& shader : vertexShaders_) {
        if (shader && shader->shader) {
            gl_.DeleteShader(shader->shader);
        }
    }
    for (auto& shader : pixelShaders_) {
        if (shader && shader->shader) {
            gl_.DeleteShader(shader->shader);
        }
    }
    vertexShaders_.clear();
    pixelShaders_.clear();
    if (fixedPixel_) {
        gl_.DeleteShader(fixedPixel_);
    }
    if (presentProgram_) {
        gl_.DeleteProgram(presentProgram_);
    }
    fixedPixel_ = presentProgram_ = 0;
}

GLuint GlShaderCache::Compile(GLenum type, const std::string& glsl) {
    GLuint shader = gl_.CreateShader(type);
    const char* text = glsl.c_str();
    gl_.ShaderSource(shader, 1, &text, nullptr);
    gl_.CompileShader(shader);
    GLint ok = GL_FALSE;
    gl_.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[2048] = {};
        gl_.GetShaderInfoLog(shader, sizeof(log) - 1, nullptr, log);
        LOG_ERROR("gl", "GLSL does not compile: %s\n%s", log, text);
        gl_.DeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint GlShaderCache::Link(GLuint vertex, GLuint pixel, uint32_t inputMask) {
    GLuint program = gl_.CreateProgram();
    gl_.AttachShader(program, vertex);
    gl_.AttachShader(program, pixel);
    for (uint32_t reg = 0; reg < 32; ++reg) {
        if (inputMask & (1u << reg)) {
            std::string name = "vs_v" + std::to_string(reg);
            gl_.BindAttribLocation(program, reg, name.c_str());
        }
    }
    gl_.LinkProgram(program);
    GLint ok = GL_FALSE;
    gl_.GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[2048] = {};
        gl_.GetProgramInfoLog(program, sizeof(log) - 1, nullptr, log);
        LOG_ERROR("gl", "GLSL program does not link: %s", log);
        gl_.DeleteProgram(program);
        return 0;
    }
    return program;
}

uint32_t GlShaderCache::CreateVertexShader(const GpuVertexDeclaration& declaration, const uint32_t* function,
                                           size_t length) {
    auto shader = std::make_unique<GlVertexShader>();
    for (const GpuVertexElement& e : declaration.elements) {
        const AttributeFormat& f = kAttributeFormats[e.type];
        shader->elements.push_back({e.reg, f.size, f.type, f.normalized, e.offset});
    }
    shader->extent = declaration.extent;
    std::string error;
    if (!TranslateShader(function, length, options_, shader->source, error) || !shader->source.vertex) {
        LOG_ERROR("gl", "vertex shader refused: %s%s", error.empty() ? "not a vertex shader" : error.c_str(),
                  TokenText(function, length).c_str());
        return 0;
    }
    shader->shader = Compile(GL_VERTEX_SHADER, shader->source.glsl);
    if (shader->shader == 0) {
        return 0;
    }
    for (size_t i = 0; i < vertexShaders_.size(); ++i) {
        if (!vertexShaders_[i]) {
            vertexShaders_[i] = std::move(shader);
            return static_cast<uint32_t>(i + 1);
        }
    }
    vertexShaders_.push_back(std::move(shader));
    return static_cast<uint32_t>(vertexShaders_.size());
}

uint32_t GlShaderCache::CreatePixelShader(const uint32_t* function, size_t length) {
    auto shader = std::make_unique<GlPixelShader>();
    std::string error;
    if (!TranslateShader(function, length, options_, shader->source, error) || shader->source.vertex) {
        LOG_ERROR("gl", "pixel shader refused: %s%s", error.empty() ? "not a pixel shader" : error.c_str(),
                  TokenText(function, length).c_str());
        return 0;
    }
    shader->shader = Compile(GL_FRAGMENT_SHADER, shader->source.glsl);
    if (shader->shader == 0) {
        return 0;
    }
    for (size_t i = 0; i < pixelShaders_.size(); ++i) {
        if (!pixelShaders_[i]) {
            pixelShaders_[i] = std::move(shader);
            return static_cast<uint32_t>(i + 1);
        }
    }
    pixelShaders_.push_back(std::move(shader));
    return static_cast<uint32_t>(pixelShaders_.size());
}

void GlShaderCache::ForgetPrograms(bool vertex, uint32_t handle) {
    for (auto it = programs_.begin(); it != programs_.end();) {
        uint32_t key = vertex ? static_cast<uint32_t>(it->first >> 32) : static_cast<uint32_t>(it->first);
        if (key == handle) {
            if (it->second.name) {
                gl_.DeleteProgram(it->second.name);
            }
            it = programs_.erase(it);
        } else {
            ++it;
        }
    }
}

bool GlShaderCache::DeleteVertexShader(uint32_t handle) {
    if (Vertex(handle) == nullptr) {
        return false;
    }
    ForgetPrograms(true, handle);
    gl_.DeleteShader(vertexShaders_[handle - 1]->shader);
    vertexShaders_[handle - 1].reset();
    return true;
}

bool GlShaderCache::DeletePixelShader(uint32_t handle) {
    if (Pixel(handle) == nullptr) {
        return false;
    }
    ForgetPrograms(false, handle);
    gl_.DeleteShader(pixelShaders_[handle - 1]->shader);
    pixelShaders_[handle - 1].reset();
    return true;
}

const GlVertexShader* GlShaderCache::Vertex(uint32_t handle) const {
    return handle >= 1 && handle <= vertexShaders_.size() ? vertexShaders_[handle - 1].get() : nullptr;
}

const GlPixelShader* GlShaderCache::Pixel(uint32_t handle) const {
    return handle >= 1 && handle <= pixelShaders_.size() ? pixelShaders_[handle - 1].get() : nullptr;
}

GlProgram* GlShaderCache::Program(uint32_t vertexHandle, uint32_t pixelHandle) {
    const GlVertexShader* vertex = Vertex(vertexHandle);
    if (vertex == nullptr) {
        return nullptr;
    }
    const GlPixelShader* pixel = Pixel(pixelHandle);
    if (pixel == nullptr) {
        pixelHandle = 0;
    }
    uint64_t key = (static_cast<uint64_t>(vertexHandle) << 32) | pixelHandle;
    auto found = programs_.find(key);
    if (found != programs_.end()) {
        return &found->second;
    }

    GlProgram& program = programs_[key];
    program.vertex = vertex;
    program.pixel = pixel;
    GLuint pixelShader = pixel ? pixel->shader : fixedPixel_;
    program.name = pixelShader ? Link(vertex->shader, pixelShader, vertex->source.inputMask) : 0;
    if (program.name == 0) {
        // Draws with the pair do nothing from now on; the texts tell why.
        LOG_ERROR("gl", "vertex shader %u and pixel shader %u give no program:\n%s\n%s", vertexHandle,
                  pixelHandle, vertex->source.glsl.c_str(),
                  pixel ? pixel->source.glsl.c_str() : FixedPixelSource().c_str());
        program.failed = true;
        return &program;
    }
    gl_.UseProgram(program.name);
    program.vertexConstants = gl_.GetUniformLocation(program.name, "vs_uniforms_vec4");
    program.pixelConstants = gl_.GetUniformLocation(program.name, "ps_uniforms_vec4");
    program.pixelOffset = gl_.GetUniformLocation(program.name, kPixelOffsetUniform);
    program.untextured = pixel ? -1 : gl_.GetUniformLocation(program.name, "mrl_Untextured");
    uint32_t samplers = pixel ? pixel->source.samplerMask : 1u;
    for (int stage = 0; stage < 16; ++stage) {
        if (samplers & (1u << stage)) {
            std::string name = "ps_s" + std::to_string(stage);
            gl_.Uniform1i(gl_.GetUniformLocation(program.name, name.c_str()), stage);
        }
    }
    return &program;
}

}  // namespace mareldon
