#include "engine/platform/recording/RecordingGpuDevice.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace mareldon {

namespace {

constexpr uint32_t kMaxTokens = 1 << 16;
constexpr uint32_t kShaderEndToken = 0x0000FFFF;

template <class T>
int LogId(T* object) {
    auto* tracked = dynamic_cast<RecordingGpuTracked*>(object);
    return tracked ? tracked->Id() : 0;
}

}  // namespace

RecordingGpuDevice::RecordingGpuDevice(std::shared_ptr<RecordingGpu::Shared> shared,
                                       const RecordingGpuConfig& config,
                                       const GpuPresentParameters& parameters, uint32_t behaviorFlags)
    : RecordingGpuTracked(std::move(shared)),
      config_(config),
      parameters_(parameters),
      behaviorFlags_(behaviorFlags),
      vertexConstants_(static_cast<size_t>(std::max<uint32_t>(config.caps.MaxVertexShaderConst, 1)) * 4),
      pixelConstants_(8 * 4) {
    MakeSwapChain();
    shared_->device = this;
}

RecordingGpuDevice::~RecordingGpuDevice() {
    for (RecordingGpuSurface* surface : {backBuffer_, depthStencil_, renderTarget_, depthTarget_}) {
        if (surface) {
            surface->Release();
        }
    }
    if (shared_->device == this) {
        shared_->device = nullptr;
    }
}

void RecordingGpuDevice::MakeSwapChain() {
    for (RecordingGpuSurface** surface : {&backBuffer_, &depthStencil_, &renderTarget_, &depthTarget_}) {
        if (*surface) {
            (*surface)->Release();
            *surface = nullptr;
        }
    }
    GpuSurfaceDesc desc;
    desc.Width = parameters_.BackBufferWidth;
    desc.Height = parameters_.BackBufferHeight;
    desc.Format = parameters_.BackBufferFormat;
    desc.Usage = kGpuUsageRenderTarget;
    backBuffer_ = new RecordingGpuSurface(shared_, desc, false, config_.pitchPadding);
    if (parameters_.EnableAutoDepthStencil) {
        desc.Format = parameters_.AutoDepthStencilFormat;
        desc.Usage = kGpuUsageDepthStencil;
        depthStencil_ = new RecordingGpuSurface(shared_, desc, false, config_.pitchPadding);
        depthStencil_->AddRef();
        depthTarget_ = depthStencil_;
    }
    backBuffer_->AddRef();
    renderTarget_ = backBuffer_;
    viewport_ = GpuViewport{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
}

GpuResult RecordingGpuDevice::TestCooperativeLevel() {
    GpuResult result = kGpuOk;
    if (shared_->backend && !shared_->backend->cooperativeLevels.empty()) {
        result = shared_->backend->cooperativeLevels.front();
        shared_->backend->cooperativeLevels.pop_front();
    }
    LogCall("TestCooperativeLevel() = 0x%08X", result);
    return result;
}

GpuResult RecordingGpuDevice::Reset(GpuPresentParameters* parameters) {
    GpuResult result = kGpuOk;
    if (shared_->backend && !shared_->backend->resetResults.empty()) {
        result = shared_->backend->resetResults.front();
        shared_->backend->resetResults.pop_front();
    }
    if (!parameters || !RecordingGpuParametersValid(config_, *parameters)) {
        result = kGpuErrorInvalidCall;
    }
    LogCall("Reset(%u, %u, %s, windowed %u, interval %u) = 0x%08X",
            parameters ? parameters->BackBufferWidth : 0, parameters ? parameters->BackBufferHeight : 0,
            parameters ? GpuFormatName(parameters->BackBufferFormat) : "-",
            parameters ? parameters->Windowed : 0,
            parameters ? parameters->FullScreen_PresentationInterval : 0, result);
    if (GpuFailed(result)) {
        return result;
    }
    parameters_ = *parameters;
    MakeSwapChain();
    renderStates_ = {};
    stageStates_ = {};
    vertexShader_ = pixelShader_ = 0;
    inScene_ = false;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::Present() {
    LogCall("Present()");
    return inScene_ ? kGpuErrorInvalidCall : kGpuOk;
}

uint32_t RecordingGpuDevice::GetAvailableTextureMem() {
    return config_.availableTextureMem;
}

GpuResult RecordingGpuDevice::GetBackBuffer(uint32_t index, GpuBackBufferType, GpuSurface** surface) {
    if (index != 0 || !surface) {
        return kGpuErrorInvalidCall;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::GetDepthStencilSurface(GpuSurface** surface) {
    if (!surface || !depthStencil_) {
        return kGpuErrorNotAvailable;
    }
    depthStencil_->AddRef();
    *surface = depthStencil_;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::BeginScene() {
    LogCall("BeginScene()");
    if (inScene_) {
        return kGpuErrorInvalidCall;
    }
    inScene_ = true;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::EndScene() {
    LogCall("EndScene()");
    if (!inScene_) {
        return kGpuErrorInvalidCall;
    }
    inScene_ = false;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                            GpuFormat format, GpuPool pool, GpuTexture** texture) {
    LogCall("CreateTexture(%u, %u, %u, %u, %s, %s)", width, height, levels, usage, GpuFormatName(format),
            GpuPoolName(pool));
    if (!texture || width == 0 || height == 0 || GpuFormatSize(format) == 0 || width > 4096 ||
        height > 4096 || ((usage & kGpuUsageRenderTarget) && pool != GpuPool::DEFAULT)) {
        return kGpuErrorInvalidCall;
    }
    uint32_t chain = GpuLevelChain(width, height);
    levels = levels == 0 ? chain : std::min(levels, chain);
    *texture =
        new RecordingGpuTexture(shared_, width, height, levels, usage, format, pool, config_.pitchPadding);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::MakeSurface(uint32_t width, uint32_t height, GpuFormat format, uint32_t usage,
                                          GpuPool pool, bool lockable, GpuSurface** surface) {
    if (!surface || width == 0 || height == 0 || width > 8192 || height > 8192 ||
        GpuFormatSize(format) == 0) {
        return kGpuErrorInvalidCall;
    }
    GpuSurfaceDesc desc;
    desc.Width = width;
    desc.Height = height;
    desc.Format = format;
    desc.Usage = usage;
    desc.Pool = pool;
    *surface = new RecordingGpuSurface(shared_, desc, lockable, config_.pitchPadding);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format,
                                                 GpuMultisample, bool lockable, GpuSurface** surface) {
    LogCall("CreateRenderTarget(%u, %u, %s, %d)", width, height, GpuFormatName(format), lockable);
    return MakeSurface(width, height, format, kGpuUsageRenderTarget, GpuPool::DEFAULT, lockable, surface);
}

GpuResult RecordingGpuDevice::CreateDepthStencilSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                        GpuMultisample, GpuSurface** surface) {
    LogCall("CreateDepthStencilSurface(%u, %u, %s)", width, height, GpuFormatName(format));
    return MakeSurface(width, height, format, kGpuUsageDepthStencil, GpuPool::DEFAULT, false, surface);
}

GpuResult RecordingGpuDevice::CreateImageSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                 GpuSurface** surface) {
    LogCall("CreateImageSurface(%u, %u, %s)", width, height, GpuFormatName(format));
    return MakeSurface(width, height, format, 0, GpuPool::SYSTEMMEM, true, surface);
}

GpuResult RecordingGpuDevice::CopyRects(GpuSurface* source, GpuSurface* destination) {
    auto* from = dynamic_cast<RecordingGpuSurface*>(source);
    auto* to = dynamic_cast<RecordingGpuSurface*>(destination);
    LogCall("CopyRects(#%d, #%d)", LogId(source), LogId(destination));
    if (!from || !to || from->Desc().Format != to->Desc().Format || from->Locked() || to->Locked()) {
        return kGpuErrorInvalidCall;
    }
    uint32_t rowBytes = std::min(from->Desc().Width, to->Desc().Width) * GpuFormatSize(from->Desc().Format);
    uint32_t rows = std::min(from->Desc().Height, to->Desc().Height);
    for (uint32_t y = 0; y < rows; ++y) {
        std::memcpy(to->Row(y), from->Row(y), rowBytes);
    }
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, GpuPool pool,
                                                 GpuBuffer** buffer) {
    LogCall("CreateVertexBuffer(%u, %u, %u, %s)", length, usage, fvf, GpuPoolName(pool));
    if (!buffer || length == 0) {
        return kGpuErrorInvalidCall;
    }
    *buffer = new RecordingGpuBuffer(shared_, GpuBufferDesc{GpuFormat::Unknown, usage, pool, length});
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format,
                                                GpuPool pool, GpuBuffer** buffer) {
    LogCall("CreateIndexBuffer(%u, %u, %s, %s)", length, usage, GpuFormatName(format), GpuPoolName(pool));
    if (!buffer || length == 0 || (format != GpuFormat::INDEX16 && format != GpuFormat::INDEX32)) {
        return kGpuErrorInvalidCall;
    }
    *buffer = new RecordingGpuBuffer(shared_, GpuBufferDesc{format, usage, pool, length});
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateShader(bool vertex, const uint32_t* declaration, const uint32_t* function,
                                           uint32_t* handle) {
    if (!handle || !function || (vertex && !declaration)) {
        return kGpuErrorInvalidCall;
    }
    Shader shader{vertex, {}, {}};
    if (vertex) {
        for (uint32_t i = 0;; ++i) {
            if (i == kMaxTokens) {
                return kGpuErrorInvalidCall;
            }
            const uint32_t token = declaration[i];
            shader.declaration.push_back(token);
            if (token == kGpuDeclEnd) {
                break;
            }
            // Stream 0, then elements of the eight declaration types (FLOAT1..FLOAT4, D3DCOLOR,
            // UBYTE4, SHORT2, SHORT4) into the sixteen inputs of vs.1.1.
            const bool stream0 = token == kGpuDeclStream0;
            const bool element = (token >> 29) == 2 && ((token >> 16) & 0x1FFF) <= 7 && (token & 0xFFFF) < 16;
            if (!stream0 && !element) {
                return kGpuErrorInvalidCall;
            }
        }
    }
    // Token code: a version token of the right kind, then tokens up to the end token.
    uint32_t expected = vertex ? GpuVertexShaderVersion(0, 0) : GpuPixelShaderVersion(0, 0);
    if ((function[0] & 0xFFFF0000u) != expected) {
        return kGpuErrorInvalidCall;
    }
    uint32_t supported = vertex ? config_.caps.VertexShaderVersion : config_.caps.PixelShaderVersion;
    if (GpuShaderVersionNumber(function[0]) > GpuShaderVersionNumber(supported)) {
        return kGpuErrorInvalidCall;
    }
    for (uint32_t i = 0;; ++i) {
        if (i == kMaxTokens) {
            return kGpuErrorInvalidCall;
        }
        shader.code.push_back(function[i]);
        if (function[i] == kShaderEndToken) {
            break;
        }
    }
    *handle = nextShader_++;
    shaders_.emplace(*handle, std::move(shader));
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateVertexShader(const uint32_t* declaration, const uint32_t* function,
                                                 uint32_t* handle, uint32_t usage) {
    GpuResult result = CreateShader(true, declaration, function, handle);
    LogCall("CreateVertexShader(%u) = %u", usage, GpuFailed(result) ? 0 : *handle);
    return result;
}

GpuResult RecordingGpuDevice::CreatePixelShader(const uint32_t* function, uint32_t* handle) {
    GpuResult result = CreateShader(false, nullptr, function, handle);
    LogCall("CreatePixelShader() = %u", GpuFailed(result) ? 0 : *handle);
    return result;
}

GpuResult RecordingGpuDevice::DeleteShader(bool vertex, uint32_t handle) {
    auto found = shaders_.find(handle);
    if (found == shaders_.end() || found->second.vertex != vertex) {
        return kGpuErrorInvalidCall;
    }
    shaders_.erase(found);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::DeleteVertexShader(uint32_t handle) {
    LogCall("DeleteVertexShader(%u)", handle);
    return DeleteShader(true, handle);
}

GpuResult RecordingGpuDevice::DeletePixelShader(uint32_t handle) {
    LogCall("DeletePixelShader(%u)", handle);
    return DeleteShader(false, handle);
}

std::vector<uint32_t> RecordingGpuDevice::VertexShaderDeclaration(uint32_t handle) const {
    auto found = shaders_.find(handle);
    return found == shaders_.end() ? std::vector<uint32_t>{} : found->second.declaration;
}

std::vector<uint32_t> RecordingGpuDevice::ShaderCode(uint32_t handle) const {
    auto found = shaders_.find(handle);
    return found == shaders_.end() ? std::vector<uint32_t>{} : found->second.code;
}

GpuResult RecordingGpuDevice::SetRenderState(GpuRenderState state, uint32_t value) {
    LogCall("SetRenderState(%s, %u)", GpuRenderStateName(state), value);
    if (state >= GpuRenderState::Count) {
        return kGpuErrorInvalidCall;
    }
    renderStates_[static_cast<size_t>(state)] = value;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetTextureStageState(uint32_t stage, GpuTextureStageState state,
                                                   uint32_t value) {
    LogCall("SetTextureStageState(%u, %s, %u)", stage, GpuTextureStageStateName(state), value);
    if (stage >= stageStates_.size() || state >= GpuTextureStageState::Count) {
        return kGpuErrorInvalidCall;
    }
    stageStates_[stage][static_cast<size_t>(state)] = value;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetTexture(uint32_t stage, GpuTexture* texture) {
    LogCall("SetTexture(%u, #%d)", stage, LogId(texture));
    return stage < 16 ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult RecordingGpuDevice::SetVertexShader(uint32_t handle) {
    LogCall("SetVertexShader(%u)", handle);
    vertexShader_ = handle;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetPixelShader(uint32_t handle) {
    LogCall("SetPixelShader(%u)", handle);
    pixelShader_ = handle;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetVertexShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    LogCall("SetVertexShaderConstant(%u, %u)", reg, count);
    if (!data || static_cast<uint64_t>(reg) + count > vertexConstants_.size() / 4) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(&vertexConstants_[reg * 4], data, count * 4 * sizeof(float));
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    LogCall("SetPixelShaderConstant(%u, %u)", reg, count);
    if (!data || static_cast<uint64_t>(reg) + count > pixelConstants_.size() / 4) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(&pixelConstants_[reg * 4], data, count * 4 * sizeof(float));
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetViewport(const GpuViewport* viewport) {
    if (!viewport) {
        return kGpuErrorInvalidCall;
    }
    LogCall("SetViewport(%u, %u, %u, %u, %g, %g)", viewport->X, viewport->Y, viewport->Width,
            viewport->Height, viewport->MinZ, viewport->MaxZ);
    viewport_ = *viewport;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetRenderTarget(GpuSurface* color, GpuSurface* depth) {
    LogCall("SetRenderTarget(#%d, #%d)", LogId(color), LogId(depth));
    auto* target = dynamic_cast<RecordingGpuSurface*>(color);
    auto* depthTarget = dynamic_cast<RecordingGpuSurface*>(depth);
    if (color && (!target || !(target->Desc().Usage & kGpuUsageRenderTarget))) {
        return kGpuErrorInvalidCall;
    }
    if (target) {
        target->AddRef();
        if (renderTarget_) {
            renderTarget_->Release();
        }
        renderTarget_ = target;
        viewport_ = GpuViewport{0, 0, target->Desc().Width, target->Desc().Height, 0.0f, 1.0f};
    }
    if (depthTarget) {
        depthTarget->AddRef();
    }
    if (depthTarget_) {
        depthTarget_->Release();
    }
    depthTarget_ = depthTarget;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    LogCall("Clear(%u, 0x%08X, %g, %u)", flags, color, z, stencil);
    // Colour clears are carried out, so tests see what a reset or a clear left.
    if ((flags & kGpuClearTarget) && renderTarget_) {
        const GpuSurfaceDesc& desc = renderTarget_->Desc();
        uint32_t size = GpuFormatSize(desc.Format);
        uint32_t right = std::min(desc.Width, viewport_.X + viewport_.Width);
        uint32_t bottom = std::min(desc.Height, viewport_.Y + viewport_.Height);
        for (uint32_t y = viewport_.Y; y < bottom; ++y) {
            for (uint32_t x = viewport_.X; x < right; ++x) {
                std::memcpy(renderTarget_->Row(y) + x * size, &color, std::min<uint32_t>(size, 4));
            }
        }
    }
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetStreamSource(uint32_t stream, GpuBuffer* buffer, uint32_t stride) {
    LogCall("SetStreamSource(%u, #%d, %u)", stream, LogId(buffer), stride);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) {
    LogCall("SetIndices(#%d, %u)", LogId(buffer), baseVertexIndex);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex,
                                            uint32_t primitiveCount) {
    LogCall("DrawPrimitive(%s, %u, %u)", GpuPrimitiveTypeName(type), startVertex, primitiveCount);
    return inScene_ ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult RecordingGpuDevice::DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t minIndex,
                                                   uint32_t numVertices, uint32_t startIndex,
                                                   uint32_t primitiveCount) {
    LogCall("DrawIndexedPrimitive(%s, %u, %u, %u, %u)", GpuPrimitiveTypeName(type), minIndex, numVertices,
            startIndex, primitiveCount);
    return inScene_ ? kGpuOk : kGpuErrorInvalidCall;
}

}  // namespace mareldon
