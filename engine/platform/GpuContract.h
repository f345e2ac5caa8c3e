#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/platform/GpuBuffer.h"
#include "engine/platform/GpuIndexBlocks.h"
#include "engine/platform/GpuSurface.h"
#include "engine/platform/GpuTexture.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// Largest side of a texture. A damaged image header asking for more must not
// make a backend reserve gigabytes.
constexpr uint32_t kGpuMaxTextureSize = 4096;
// Largest side of a render target, depth-stencil or image surface, or back buffer.
constexpr uint32_t kGpuMaxSurfaceSize = 8192;
constexpr uint32_t kGpuTextureStages = 16;
constexpr uint32_t kGpuPixelShaderConstants = 8;
// Vertex inputs v0..v15 of vs.1.1.
constexpr uint32_t kGpuVertexInputs = 16;
// A declaration or token code without its end token within these is refused,
// so a scan for it cannot run through memory.
constexpr size_t kGpuMaxDeclarationTokens = 256;
constexpr size_t kGpuMaxShaderTokens = size_t{1} << 16;
constexpr uint32_t kGpuShaderEndToken = 0x0000FFFF;

// What a surface is, which decides whether it can be locked.
enum class GpuSurfaceKind : uint8_t { TextureLevel, RenderTarget, DepthStencil, ImageSurface, BackBuffer };

// One input of a vertex declaration: register vN fed from an offset of stream 0.
struct GpuVertexElement {
    uint32_t reg = 0;
    uint32_t type = 0;  // kGpuDeclFloat1.. and the packed types up to SHORT4 (7)
    uint32_t offset = 0;
};
// Bytes of a declaration type: FLOAT1..FLOAT4, D3DCOLOR, UBYTE4, SHORT2, SHORT4.
uint32_t GpuDeclTypeSize(uint32_t type);

struct GpuVertexDeclaration {
    std::vector<GpuVertexElement> elements;
    uint32_t extent = 0;  // bytes of one vertex the elements read
    size_t tokens = 0;    // including the end token
};

// What a draw reads: the current vertex shader's reach and stream 0.
struct GpuDrawSource {
    bool inScene = false;
    bool vertexShader = false;
    uint32_t extent = 0;      // bytes of a vertex the vertex shader reads
    uint32_t streamSize = 0;  // bytes of the stream buffer; 0: none
    uint32_t stride = 0;
};
// The bound index buffer of an indexed draw.
struct GpuIndexSource {
    const uint8_t* bytes = nullptr;  // null: no index buffer
    const GpuIndexBlocks* blocks = nullptr;
    uint32_t baseVertex = 0;
};

// What becomes of a draw: refused (an invalid call), taken without drawing
// anything, or drawn.
enum class GpuDraw : uint8_t { Refused, Nothing, Drawn };

// The rules of the device layer that every backend keeps, one function per
// call of GpuDevice and its objects: what a call refuses, and how sizes,
// level chains, lock ranges and draw ranges are taken. A backend asks here
// first and does its own work after; what it cannot hold within these rules
// (GL's own size limit, a format GL has no form for) it refuses on its own,
// as a device with fewer capabilities would. Full-screen back-buffer sizes
// are the adapter's to offer (the GL adapter shows any size scaled).
//
// A refusal is kGpuErrorInvalidCall unless said otherwise; the out pointer of
// a factory is cleared first, and a refused shader gets handle 0.
struct GpuContract {
    GpuContract() = delete;

    // Device creation and Reset: back-buffer sides of 1..kGpuMaxSurfaceSize.
    static GpuResult PresentParameters(const GpuPresentParameters* parameters);
    // Present inside a scene is refused; BeginScene inside one and EndScene
    // outside one too. A reset ends the scene.
    static GpuResult BeginScene(bool& inScene);
    static GpuResult EndScene(bool& inScene);
    static GpuResult Present(bool inScene);
    static GpuResult GetBackBuffer(uint32_t index, GpuSurface** surface);
    // kGpuErrorNotAvailable without an automatic depth-stencil surface.
    static GpuResult GetDepthStencilSurface(bool exists, GpuSurface** surface);

    // A colour format, sides 1..kGpuMaxTextureSize, render targets in the
    // default pool only. Levels 0, or more than the full chain, give the full chain.
    static GpuResult CreateTexture(uint32_t width, uint32_t height, uint32_t& levels, uint32_t usage,
                                   GpuFormat format, GpuPool pool, GpuTexture** texture);
    // Sides 1..kGpuMaxSurfaceSize; colour formats for render targets and image
    // surfaces, depth formats for depth-stencil surfaces.
    static GpuResult CreateSurface(GpuSurfaceKind kind, uint32_t width, uint32_t height, GpuFormat format,
                                   GpuSurface** surface);
    // Lockable: texture levels without render-target usage and image surfaces.
    // Render targets are not, whatever CreateRenderTarget was asked.
    static bool Lockable(GpuSurfaceKind kind, uint32_t usage);
    // Texture level calls name a level below the texture's count.
    static GpuResult Level(uint32_t level, uint32_t levels);
    // The whole surface for a null rectangle; a rectangle must be non-empty
    // and within the surface. area is the rectangle locked.
    static GpuResult LockRect(const GpuSurfaceDesc& desc, bool lockable, bool locked, GpuLockedRect* out,
                              const GpuRect* rect, GpuRect& area);
    static GpuResult Unlock(bool locked);
    // Same formats, neither surface locked; the overlap of the two is copied.
    static GpuResult CopyRects(const GpuSurfaceDesc* source, bool sourceLocked,
                               const GpuSurfaceDesc* destination, bool destinationLocked);

    // Buffers of at least one byte; index buffers of INDEX16 or INDEX32.
    static GpuResult CreateVertexBuffer(uint32_t length, GpuBuffer** buffer);
    static GpuResult CreateIndexBuffer(uint32_t length, GpuFormat format, GpuBuffer** buffer);
    // offset and size 0 lock the whole buffer; the range must lie within it.
    static GpuResult LockBuffer(uint32_t bufferSize, bool locked, uint8_t** data, uint32_t& offset,
                                uint32_t& size);

    // Stream 0, then FLOAT1..SHORT4 elements into v0..v15, then the end token.
    static GpuResult VertexDeclaration(const uint32_t* declaration, GpuVertexDeclaration& parsed,
                                       const char** reason = nullptr);
    // A version token of the shader's kind no newer than the capabilities,
    // and an end token; length counts the tokens up to and including it.
    static GpuResult ShaderCode(bool vertex, const uint32_t* function, const GpuCaps& caps, size_t& length,
                                const char** reason = nullptr);
    static GpuResult CreateShader(uint32_t* handle);

    static GpuResult RenderState(GpuRenderState state);
    static GpuResult TextureStage(uint32_t stage);
    static GpuResult TextureStageState(uint32_t stage, GpuTextureStageState state);
    // first + count registers within the device's registers.
    static GpuResult Constants(const float* data, uint32_t first, uint32_t count, uint32_t registers);
    static GpuResult Viewport(const GpuViewport* viewport);
    // A colour target, when given, is a render-target surface (null keeps the current one).
    static GpuResult SetRenderTarget(const GpuSurfaceDesc* colour);
    static GpuResult StreamSource(uint32_t stream);

    // Vertices a draw of primitives of a type reads.
    static uint64_t VertexCount(GpuPrimitiveType type, uint64_t primitives);
    // Refused outside a scene and when a vertex (or an index, plus the base
    // vertex) would be read past its buffer; nothing is drawn for no
    // primitives, no vertex shader, no stream, stride 0 (one vertex repeated
    // covers no pixel) or no index buffer.
    static GpuDraw DrawPrimitive(const GpuDrawSource& source, GpuPrimitiveType type, uint32_t startVertex,
                                 uint32_t primitiveCount);
    static GpuDraw DrawIndexedPrimitive(const GpuDrawSource& source, const GpuIndexSource& indices,
                                        GpuPrimitiveType type, uint32_t startIndex, uint32_t primitiveCount);
    static GpuResult DrawResult(GpuDraw draw) {
        return draw == GpuDraw::Refused ? kGpuErrorInvalidCall : kGpuOk;
    }
};

}  // namespace mareldon
