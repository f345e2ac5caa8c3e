#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/platform/GpuContract.h"
#include "engine/platform/gl/GlFunctions.h"
#include "engine/platform/gl/GlShaderTranslator.h"

namespace mareldon {

// One input of a vertex declaration: register vN fed from an offset of the stream.
struct GlVertexElement {
    uint32_t reg = 0;
    GLint size = 0;  // components, or GL_BGRA for a packed colour
    GLenum type = GL_FLOAT;
    GLboolean normalized = GL_FALSE;
    uint32_t offset = 0;
};

struct GlVertexShader {
    GlShaderSource source;
    GLuint shader = 0;
    std::vector<GlVertexElement> elements;
    uint32_t extent = 0;  // bytes of one vertex the declaration reads
};

struct GlPixelShader {
    GlShaderSource source;
    GLuint shader = 0;
};

// A linked vertex/pixel pair with the generation of the constants it last got.
struct GlProgram {
    GLuint name = 0;
    bool failed = false;
    const GlVertexShader* vertex = nullptr;
    const GlPixelShader* pixel = nullptr;  // null: the fixed texture-times-diffuse stage
    GLint vertexConstants = -1;
    GLint pixelConstants = -1;
    GLint pixelOffset = -1;
    GLint untextured = -1;  // the fixed stage's "no texture on stage 0"
    uint64_t vertexGeneration = ~0ull;
    uint64_t pixelGeneration = ~0ull;
    float pixelOffsetValue[2] = {0.0f, 0.0f};
    float untexturedValue = 0.0f;
};

// Shader handles, their GL shader objects and the programs linked from
// pairs of them, each pair linked once.
class GlShaderCache {
  public:
    GlShaderCache(GlFunctions& gl, bool clipControl);
    ~GlShaderCache();
    GlShaderCache(const GlShaderCache&) = delete;
    GlShaderCache& operator=(const GlShaderCache&) = delete;

    // Code and declaration as GpuContract took them (length tokens up to the
    // end token); 0 when MojoShader refuses the code or the GLSL does not
    // compile (logged).
    uint32_t CreateVertexShader(const GpuVertexDeclaration& declaration, const uint32_t* function,
                                size_t length);
    uint32_t CreatePixelShader(const uint32_t* function, size_t length);
    bool DeleteVertexShader(uint32_t handle);
    bool DeletePixelShader(uint32_t handle);
    const GlVertexShader* Vertex(uint32_t handle) const;
    const GlPixelShader* Pixel(uint32_t handle) const;

    // The program of a pair (pixel handle 0: the fixed stage); links on first
    // use. Null for an unknown vertex handle; failed set when linking failed.
    GlProgram* Program(uint32_t vertexHandle, uint32_t pixelHandle);

    // The program that shows the back buffer in the window.
    GLuint PresentProgram() const { return presentProgram_; }
    GLint PresentTurnUniform() const { return presentTurn_; }

    // Frees every GL object (the context is about to go).
    void ReleaseGlObjects();

    size_t ProgramCount() const { return programs_.size(); }

  private:
    GLuint Compile(GLenum type, const std::string& glsl);
    GLuint Link(GLuint vertex, GLuint pixel, uint32_t inputMask);
    void ForgetPrograms(bool vertex, uint32_t handle);

    GlFunctions& gl_;
    GlShaderOptions options_;
    std::vector<std::unique_ptr<GlVertexShader>> vertexShaders_;
    std::vector<std::unique_ptr<GlPixelShader>> pixelShaders_;
    std::unordered_map<uint64_t, GlProgram> programs_;
    GLuint fixedPixel_ = 0;
    GLuint presentProgram_ = 0;
    GLint presentTurn_ = -1;
};

}  // namespace mareldon
