#pragma once

#include <cstdint>
#include <string_view>

#include "engine/core/RefPtr.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/IndexBuffer.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexBuffer.h"
#include "engine/render/device/VertexShader.h"

namespace mareldon {

// Engine enumerations. The device sends index + 1, except filters, which go as they are.
enum class BlendFactor : int32_t {
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
    SrcAlphaSat,
    BothSrcAlpha,
    BothInvSrcAlpha
};
enum class FillMode : int32_t { Point, Wireframe, Solid };
enum class CullMode : int32_t { None, Clockwise, CounterClockwise };
enum class CompareFunc : int32_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class TextureAddress : int32_t { Wrap, Mirror, Clamp, Border, MirrorOnce };
enum class TextureFilter : int32_t { None, Point, Linear, Anisotropic };

// Six words in this order; depth write is on only for 1.
struct RenderStateBlock {
    int32_t srcBlend = static_cast<int32_t>(BlendFactor::SrcAlpha);
    int32_t destBlend = static_cast<int32_t>(BlendFactor::InvSrcAlpha);
    int32_t fillMode = static_cast<int32_t>(FillMode::Solid);
    int32_t cullMode = static_cast<int32_t>(CullMode::CounterClockwise);
    int32_t zFunc = static_cast<int32_t>(CompareFunc::LessEqual);
    int32_t zWrite = 1;
};

struct SamplerState {
    TextureAddress addressU = TextureAddress::Wrap;
    TextureAddress addressV = TextureAddress::Wrap;
    TextureAddress addressW = TextureAddress::Wrap;
    float borderColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    TextureFilter magFilter = TextureFilter::None;
    TextureFilter minFilter = TextureFilter::None;
    TextureFilter mipFilter = TextureFilter::None;
};

// Counters of what reached the device. Each pair is previous frame, then current.
struct DeviceStatistics {
    enum Change {
        TextureChanges,
        VertexShaderChanges,
        PixelShaderChanges,
        StreamChanges,
        IndexChanges,
        Unused
    };

    uint32_t previousPrimitives = 0;
    uint32_t primitives = 0;
    uint32_t previousDrawCalls = 0;
    uint32_t drawCalls = 0;
    uint32_t previousVertices = 0;
    uint32_t vertices = 0;
    uint32_t liveTextures = 0;
    uint32_t liveVertexShaders = 0;
    uint32_t livePixelShaders = 0;
    uint32_t liveVertexBuffers = 0;
    uint32_t liveIndexBuffers = 0;
    uint32_t reserved = 0;
    uint32_t changes[6] = {};
    uint32_t previousChanges[6] = {};
    uint32_t availableTextureMemory = 0;
};

// The program's graphics device: display mode, the screen texture, the factory
// of every device resource, and the cached state setters.
class GraphicsDevice {
  public:
    virtual ~GraphicsDevice() = default;
    virtual bool IsRunning() = 0;
    virtual bool Present() = 0;
    virtual void SetWindowed(int32_t windowed) = 0;
    virtual int32_t IsWindowed() = 0;
    virtual int32_t ScreenOffsetX() = 0;
    virtual int32_t ScreenOffsetY() = 0;
    virtual void SetRotation(int32_t rotation) = 0;
    virtual int32_t GetRotation() = 0;
    virtual RefPtr<Texture>& ScreenTexture() = 0;
    virtual RefPtr<Texture> CreateTextureFromData(uint32_t flags, const void* data, uint32_t size) = 0;
    virtual RefPtr<Texture> CreateTexture(uint32_t flags, int32_t width, int32_t height) = 0;
    // Element i of the layout is input register i.
    virtual RefPtr<VertexShader> CreateVertexShader(std::string_view text, const VertexLayout& layout) = 0;
    virtual RefPtr<PixelShader> CreatePixelShader(std::string_view text) = 0;
    // memoryFlag 1: system memory.
    virtual RefPtr<VertexBuffer> CreateVertexBuffer(uint32_t vertexSize, uint32_t vertexCount,
                                                    const void* bytes, uint32_t memoryFlag) = 0;
    // flags 0x1: system memory; 0x2: 16-bit indices.
    virtual RefPtr<IndexBuffer> CreateIndexBuffer(uint32_t indexCount, const void* bytes, uint32_t flags) = 0;
    // The layout is accepted and not used.
    virtual RefPtr<GeometryBuffer> CreateGeometryBuffer(int32_t kind, const VertexLayout& layout,
                                                        const RefPtr<VertexBuffer>& vertices, int32_t start,
                                                        int32_t vertexCount,
                                                        const RefPtr<IndexBuffer>& indices,
                                                        int32_t startIndex, int32_t indexCount) = 0;
    virtual DeviceStatistics* Statistics() = 0;
    // texture: a texture front (null or one without a texture binds none).
    virtual void SetTexture(uint32_t stage, TextureBase* texture) = 0;
    virtual void SetVertexShader(const RefPtr<VertexShader>& shader) = 0;
    virtual void SetVertexShaderConstant(uint32_t first, const float* data, uint32_t count) = 0;
    virtual void SetPixelShader(const RefPtr<PixelShader>& shader) = 0;
    virtual void SetPixelShaderConstant(uint32_t first, const float* data, uint32_t count) = 0;
    virtual uint32_t MaxVertexShaderConstants() = 0;
    virtual void SetSamplerState(uint32_t stage, const SamplerState& state) = 0;
    virtual const SamplerState* GetSamplerState(uint32_t stage) = 0;
    virtual void SetRenderStateBlock(const RenderStateBlock& block) = 0;
    virtual const RenderStateBlock* GetRenderStateBlock() = 0;
    virtual void SetSrcBlend(BlendFactor factor) = 0;
    virtual BlendFactor GetSrcBlend() = 0;
    virtual void SetDestBlend(BlendFactor factor) = 0;
    virtual BlendFactor GetDestBlend() = 0;
    virtual void SetFillMode(FillMode mode) = 0;
    virtual FillMode GetFillMode() = 0;
    virtual void SetCullMode(CullMode mode) = 0;
    virtual CullMode GetCullMode() = 0;
    virtual void SetZFunc(CompareFunc func) = 0;
    virtual CompareFunc GetZFunc() = 0;
    virtual void SetZWrite(int32_t write) = 0;
    virtual int32_t GetZWrite() = 0;
};

}  // namespace mareldon
