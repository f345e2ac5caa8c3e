#include "engine/platform/GpuContract.h"

#include <algorithm>
#include <cstring>

namespace mareldon {
namespace {

template <class T>
GpuResult ClearOut(T** out) {
    if (out == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *out = nullptr;
    return kGpuOk;
}

bool SideFits(uint32_t width, uint32_t height, uint32_t largest) {
    return width != 0 && height != 0 && width <= largest && height <= largest;
}

}  // namespace

uint32_t GpuDeclTypeSize(uint32_t type) {
    static const uint32_t kBytes[8] = {4, 8, 12, 16, 4, 4, 4, 8};
    return type < 8 ? kBytes[type] : 0;
}

GpuResult GpuContract::PresentParameters(const GpuPresentParameters* parameters) {
    if (parameters == nullptr ||
        !SideFits(parameters->BackBufferWidth, parameters->BackBufferHeight, kGpuMaxSurfaceSize)) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::BeginScene(bool& inScene) {
    if (inScene) {
        return kGpuErrorInvalidCall;
    }
    inScene = true;
    return kGpuOk;
}

GpuResult GpuContract::EndScene(bool& inScene) {
    if (!inScene) {
        return kGpuErrorInvalidCall;
    }
    inScene = false;
    return kGpuOk;
}

GpuResult GpuContract::Present(bool inScene) {
    return inScene ? kGpuErrorInvalidCall : kGpuOk;
}

GpuResult GpuContract::GetBackBuffer(uint32_t index, GpuSurface** surface) {
    if (GpuFailed(ClearOut(surface)) || index != 0) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::GetDepthStencilSurface(bool exists, GpuSurface** surface) {
    if (GpuFailed(ClearOut(surface))) {
        return kGpuErrorInvalidCall;
    }
    return exists ? kGpuOk : kGpuErrorNotAvailable;
}

GpuResult GpuContract::CreateTexture(uint32_t width, uint32_t height, uint32_t& levels, uint32_t usage,
                                     GpuFormat format, GpuPool pool, GpuTexture** texture) {
    if (GpuFailed(ClearOut(texture)) || !SideFits(width, height, kGpuMaxTextureSize) ||
        GpuFormatClassOf(format) != GpuFormatClass::Colour ||
        ((usage & kGpuUsageRenderTarget) && pool != GpuPool::DEFAULT)) {
        return kGpuErrorInvalidCall;
    }
    uint32_t chain = GpuLevelChain(width, height);
    levels = levels == 0 ? chain : std::min(levels, chain);
    return kGpuOk;
}

GpuResult GpuContract::CreateSurface(GpuSurfaceKind kind, uint32_t width, uint32_t height, GpuFormat format,
                                     GpuSurface** surface) {
    GpuFormatClass wanted =
        kind == GpuSurfaceKind::DepthStencil ? GpuFormatClass::Depth : GpuFormatClass::Colour;
    if (GpuFailed(ClearOut(surface)) || !SideFits(width, height, kGpuMaxSurfaceSize) ||
        GpuFormatClassOf(format) != wanted) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

bool GpuContract::Lockable(GpuSurfaceKind kind, uint32_t usage) {
    switch (kind) {
        case GpuSurfaceKind::TextureLevel:
            return (usage & kGpuUsageRenderTarget) == 0;
        case GpuSurfaceKind::ImageSurface:
            return true;
        case GpuSurfaceKind::RenderTarget:
        case GpuSurfaceKind::DepthStencil:
        case GpuSurfaceKind::BackBuffer:
            break;
    }
    return false;
}

GpuResult GpuContract::Level(uint32_t level, uint32_t levels) {
    return level < levels ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::LockRect(const GpuSurfaceDesc& desc, bool lockable, bool locked, GpuLockedRect* out,
                                const GpuRect* rect, GpuRect& area) {
    if (out == nullptr || !lockable || locked) {
        return kGpuErrorInvalidCall;
    }
    area = GpuRect{0, 0, static_cast<int32_t>(desc.Width), static_cast<int32_t>(desc.Height)};
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            rect->right > area.right || rect->bottom > area.bottom) {
            return kGpuErrorInvalidCall;
        }
        area = *rect;
    }
    return kGpuOk;
}

GpuResult GpuContract::Unlock(bool locked) {
    return locked ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::CopyRects(const GpuSurfaceDesc* source, bool sourceLocked,
                                 const GpuSurfaceDesc* destination, bool destinationLocked) {
    if (source == nullptr || destination == nullptr || source->Format != destination->Format ||
        sourceLocked || destinationLocked) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::CreateVertexBuffer(uint32_t length, GpuBuffer** buffer) {
    if (GpuFailed(ClearOut(buffer)) || length == 0) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::CreateIndexBuffer(uint32_t length, GpuFormat format, GpuBuffer** buffer) {
    if (GpuFailed(CreateVertexBuffer(length, buffer)) || GpuFormatClassOf(format) != GpuFormatClass::Index) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::LockBuffer(uint32_t bufferSize, bool locked, uint8_t** data, uint32_t& offset,
                                  uint32_t& size) {
    if (data == nullptr || locked) {
        return kGpuErrorInvalidCall;
    }
    if (offset == 0 && size == 0) {
        size = bufferSize;
    }
    if (offset > bufferSize || size > bufferSize - offset) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::VertexDeclaration(const uint32_t* declaration, GpuVertexDeclaration& parsed,
                                         const char** reason) {
    const char* why = nullptr;
    parsed = GpuVertexDeclaration{};
    if (declaration == nullptr) {
        why = "no declaration";
    }
    for (size_t i = 0; why == nullptr; ++i) {
        if (i == kGpuMaxDeclarationTokens) {
            why = "declaration without end token";
            break;
        }
        uint32_t token = declaration[i];
        if (token == kGpuDeclEnd) {
            parsed.tokens = i + 1;
            return kGpuOk;
        }
        if (token == kGpuDeclStream0) {
            continue;
        }
        uint32_t type = (token >> 16) & 0x1FFF;
        uint32_t reg = token & 0xFFFF;
        if ((token >> 29) == 1) {
            why = "only stream 0 is supported";
        } else if ((token >> 29) != 2 || type > 7 || reg >= kGpuVertexInputs) {
            why = "unsupported declaration token";
        } else {
            parsed.elements.push_back({reg, type, parsed.extent});
            parsed.extent += GpuDeclTypeSize(type);
        }
    }
    if (reason) {
        *reason = why;
    }
    return kGpuErrorInvalidCall;
}

GpuResult GpuContract::ShaderCode(bool vertex, const uint32_t* function, const GpuCaps& caps, size_t& length,
                                  const char** reason) {
    const char* why = nullptr;
    length = 0;
    uint32_t supported = vertex ? caps.VertexShaderVersion : caps.PixelShaderVersion;
    if (function == nullptr) {
        why = "no code";
    } else if ((function[0] & 0xFFFF0000u) !=
               (vertex ? GpuVertexShaderVersion(0, 0) : GpuPixelShaderVersion(0, 0))) {
        why = vertex ? "not a vertex shader" : "not a pixel shader";
    } else if (GpuShaderVersionNumber(function[0]) > GpuShaderVersionNumber(supported)) {
        why = "shader version above the device's";
    } else {
        for (size_t i = 1; i < kGpuMaxShaderTokens; ++i) {
            uint32_t token = function[i];
            if (token == kGpuShaderEndToken) {
                length = i + 1;
                return kGpuOk;
            }
            if ((token & 0xFFFF) == 0xFFFE) {
                i += (token >> 16) & 0x7FFF;  // a comment's body may hold any word
            }
        }
        why = "no end token";
    }
    if (reason) {
        *reason = why;
    }
    return kGpuErrorInvalidCall;
}

GpuResult GpuContract::CreateShader(uint32_t* handle) {
    if (handle == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *handle = 0;
    return kGpuOk;
}

GpuResult GpuContract::RenderState(GpuRenderState state) {
    return state < GpuRenderState::Count ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::TextureStage(uint32_t stage) {
    return stage < kGpuTextureStages ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::TextureStageState(uint32_t stage, GpuTextureStageState state) {
    return stage < kGpuTextureStages && state < GpuTextureStageState::Count ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::Constants(const float* data, uint32_t first, uint32_t count, uint32_t registers) {
    return data != nullptr && uint64_t{first} + count <= registers ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::Viewport(const GpuViewport* viewport) {
    // An empty viewport is taken (draws and clears then touch nothing);
    // refusing it would leave the last one in use.
    if (viewport == nullptr || viewport->Width > 0x7FFFFFFF || viewport->Height > 0x7FFFFFFF) {
        return kGpuErrorInvalidCall;
    }
    return kGpuOk;
}

GpuResult GpuContract::SetRenderTarget(const GpuSurfaceDesc* colour) {
    return colour == nullptr || (colour->Usage & kGpuUsageRenderTarget) ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GpuContract::StreamSource(uint32_t stream) {
    return stream == 0 ? kGpuOk : kGpuErrorInvalidCall;
}

uint64_t GpuContract::VertexCount(GpuPrimitiveType type, uint64_t primitives) {
    switch (type) {
        case GpuPrimitiveType::POINTLIST:
            return primitives;
        case GpuPrimitiveType::LINELIST:
            return primitives * 2;
        case GpuPrimitiveType::LINESTRIP:
            return primitives + 1;
        case GpuPrimitiveType::TRIANGLELIST:
            return primitives * 3;
        case GpuPrimitiveType::TRIANGLESTRIP:
        case GpuPrimitiveType::TRIANGLEFAN:
            return primitives + 2;
    }
    return 0;
}

namespace {

// Vertex last (and the bytes of it the vertex shader reads) lies within the stream.
bool StreamHolds(const GpuDrawSource& source, uint64_t last) {
    return source.extent <= source.streamSize && last <= (source.streamSize - source.extent) / source.stride;
}

bool DrawsNothing(const GpuDrawSource& source, uint32_t primitiveCount) {
    return primitiveCount == 0 || !source.vertexShader || source.streamSize == 0 || source.stride == 0;
}

}  // namespace

GpuDraw GpuContract::DrawPrimitive(const GpuDrawSource& source, GpuPrimitiveType type, uint32_t startVertex,
                                   uint32_t primitiveCount) {
    if (!source.inScene) {
        return GpuDraw::Refused;
    }
    if (DrawsNothing(source, primitiveCount)) {
        return GpuDraw::Nothing;
    }
    uint64_t count = VertexCount(type, primitiveCount);
    return count != 0 && StreamHolds(source, uint64_t{startVertex} + count - 1) ? GpuDraw::Drawn
                                                                                : GpuDraw::Refused;
}

GpuDraw GpuContract::DrawIndexedPrimitive(const GpuDrawSource& source, const GpuIndexSource& indices,
                                          GpuPrimitiveType type, uint32_t startIndex,
                                          uint32_t primitiveCount) {
    if (!source.inScene) {
        return GpuDraw::Refused;
    }
    if (DrawsNothing(source, primitiveCount) || indices.bytes == nullptr) {
        return GpuDraw::Nothing;
    }
    uint64_t count = VertexCount(type, primitiveCount);
    if (count == 0 || uint64_t{startIndex} + count > indices.blocks->Count()) {
        return GpuDraw::Refused;
    }
    // Indices from a damaged model must not reach past the vertices either.
    uint32_t largest = indices.blocks->Max(indices.bytes, startIndex, static_cast<uint32_t>(count));
    return StreamHolds(source, uint64_t{indices.baseVertex} + largest) ? GpuDraw::Drawn : GpuDraw::Refused;
}

}  // namespace mareldon
