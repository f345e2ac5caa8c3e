#pragma once

// OpenGL entry points, loaded once per context through SDL. Including the
// system headers only for their types keeps the program free of a link-time
// dependency on any particular GL version.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

namespace mareldon {

// X(name) for every GL function the backend calls; the member is the name
// without its "gl" prefix.
#define MARELDON_GL_FUNCTIONS(X) \
    X(ActiveTexture)             \
    X(AttachShader)              \
    X(BindAttribLocation)        \
    X(BindBuffer)                \
    X(BindFramebuffer)           \
    X(BindRenderbuffer)          \
    X(BindSampler)               \
    X(BindTexture)               \
    X(BindVertexArray)           \
    X(BlendEquation)             \
    X(BlendFunc)                 \
    X(BufferData)                \
    X(BufferSubData)             \
    X(CheckFramebufferStatus)    \
    X(Clear)                     \
    X(ClearColor)                \
    X(ClearDepth)                \
    X(ClearStencil)              \
    X(ColorMask)                 \
    X(CompileShader)             \
    X(CreateProgram)             \
    X(CreateShader)              \
    X(CullFace)                  \
    X(DeleteBuffers)             \
    X(DeleteFramebuffers)        \
    X(DeleteProgram)             \
    X(DeleteRenderbuffers)       \
    X(DeleteSamplers)            \
    X(DeleteShader)              \
    X(DeleteTextures)            \
    X(DeleteVertexArrays)        \
    X(DepthFunc)                 \
    X(DepthMask)                 \
    X(DepthRange)                \
    X(Disable)                   \
    X(DisableVertexAttribArray)  \
    X(DrawArrays)                \
    X(DrawBuffer)                \
    X(DrawElementsBaseVertex)    \
    X(Enable)                    \
    X(EnableVertexAttribArray)   \
    X(Finish)                    \
    X(FramebufferRenderbuffer)   \
    X(FramebufferTexture2D)      \
    X(FrontFace)                 \
    X(GenBuffers)                \
    X(GenFramebuffers)           \
    X(GenRenderbuffers)          \
    X(GenSamplers)               \
    X(GenTextures)               \
    X(GenVertexArrays)           \
    X(GetError)                  \
    X(GetIntegerv)               \
    X(GetProgramInfoLog)         \
    X(GetProgramiv)              \
    X(GetShaderInfoLog)          \
    X(GetShaderiv)               \
    X(GetString)                 \
    X(GetUniformLocation)        \
    X(Hint)                      \
    X(LinkProgram)               \
    X(PixelStorei)               \
    X(PolygonMode)               \
    X(ReadBuffer)                \
    X(ReadPixels)                \
    X(RenderbufferStorage)       \
    X(SamplerParameterf)         \
    X(SamplerParameterfv)        \
    X(SamplerParameteri)         \
    X(Scissor)                   \
    X(ShaderSource)              \
    X(StencilMask)               \
    X(TexImage2D)                \
    X(TexParameteri)             \
    X(TexParameteriv)            \
    X(TexSubImage2D)             \
    X(Uniform1f)                 \
    X(Uniform1i)                 \
    X(Uniform2f)                 \
    X(Uniform4f)                 \
    X(Uniform4fv)                \
    X(UniformMatrix2fv)          \
    X(UseProgram)                \
    X(VertexAttrib4f)            \
    X(VertexAttribPointer)       \
    X(Viewport)

struct GlFunctions {
#define MARELDON_GL_MEMBER(name) decltype(&::gl##name) name = nullptr;
    MARELDON_GL_FUNCTIONS(MARELDON_GL_MEMBER)
#undef MARELDON_GL_MEMBER

    // Loads every entry point of the current context; false (and a logged
    // name) when one is missing.
    bool Load();
    // Optional: ARB_clip_control (core in 4.5). Null when the driver lacks it.
    decltype(&::glClipControl) ClipControl = nullptr;
};

}  // namespace mareldon
