#include "engine/platform/recording/RecordingGpuDevice.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/platform/GpuContract.h"

namespace mareldon {

namespace {

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

void RecordingGpuDevice::ReleaseStreams() {
    stream_.Reset();
    indices_.Reset();
    stride_ = baseVertex_ = 0;
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
    if (!RecordingGpuParametersValid(config_, parameters)) {
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
    ReleaseStreams();
    inScene_ = false;  // a reset ends the scene
    return kGpuOk;
}

GpuResult RecordingGpuDevice::Present() {
    LogCall("Present()");
    return GpuContract::Present(inScene_);
}

uint32_t RecordingGpuDevice::GetAvailableTextureMem() {
    return config_.availableTextureMem;
}

GpuResult RecordingGpuDevice::GetBackBuffer(uint32_t index, GpuBackBufferType, GpuSurface** surface) {
    if (GpuFailed(GpuContract::GetBackBuffer(index, surface))) {
        return kGpuErrorInvalidCall;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::GetDepthStencilSurface(GpuSurface** surface) {
    GpuResult result = GpuContract::GetDepthStencilSurface(depthStencil_ != nullptr, surface);
    if (GpuFailed(result)) {
        return result;
    }
    depthStencil_->AddRef();
    *surface = depthStencil_;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::BeginScene() {
    LogCall("BeginScene()");
    return GpuContract::BeginScene(inScene_);
}

GpuResult RecordingGpuDevice::EndScene() {
    LogCall("EndScene()");
    return GpuContract::EndScene(inScene_);
}

GpuResult RecordingGpuDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                            GpuFormat format, GpuPool pool, GpuTexture** texture) {
    LogCall("CreateTexture(%u, %u, %u, %u, %s, %s)", width, height, levels, usage, GpuFormatName(format),
            GpuPoolName(pool));
    if (GpuFailed(GpuContract::CreateTexture(width, height, levels, usage, format, pool, texture))) {
        return kGpuErrorInvalidCall;
    }
    *texture =
        new RecordingGpuTexture(shared_, width, height, levels, usage, format, pool, config_.pitchPadding);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::MakeSurface(GpuSurfaceKind kind, uint32_t width, uint32_t height,
                                          GpuFormat format, uint32_t usage, GpuPool pool,
                                          GpuSurface** surface) {
    if (GpuFailed(GpuContract::CreateSurface(kind, width, height, format, surface))) {
        return kGpuErrorInvalidCall;
    }
    GpuSurfaceDesc desc;
    desc.Width = width;
    desc.Height = height;
    desc.Format = format;
    desc.Usage = usage;
    desc.Pool = pool;
    *surface =
        new RecordingGpuSurface(shared_, desc, GpuContract::Lockable(kind, usage), config_.pitchPadding);
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format,
                                                 GpuMultisample, bool lockable, GpuSurface** surface) {
    LogCall("CreateRenderTarget(%u, %u, %s, %d)", width, height, GpuFormatName(format), lockable);
    return MakeSurface(GpuSurfaceKind::RenderTarget, width, height, format, kGpuUsageRenderTarget,
                       GpuPool::DEFAULT, surface);
}

GpuResult RecordingGpuDevice::CreateDepthStencilSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                        GpuMultisample, GpuSurface** surface) {
    LogCall("CreateDepthStencilSurface(%u, %u, %s)", width, height, GpuFormatName(format));
    return MakeSurface(GpuSurfaceKind::DepthStencil, width, height, format, kGpuUsageDepthStencil,
                       GpuPool::DEFAULT, surface);
}

GpuResult RecordingGpuDevice::CreateImageSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                 GpuSurface** surface) {
    LogCall("CreateImageSurface(%u, %u, %s)", width, height, GpuFormatName(format));
    return MakeSurface(GpuSurfaceKind::ImageSurface, width, height, format, 0, GpuPool::SYSTEMMEM, surface);
}

GpuResult RecordingGpuDevice::CopyRects(GpuSurface* source, GpuSurface* destination) {
    auto* from = dynamic_cast<RecordingGpuSurface*>(source);
    auto* to = dynamic_cast<RecordingGpuSurface*>(destination);
    LogCall("CopyRects(#%d, #%d)", LogId(source), LogId(destination));
    if (GpuFailed(GpuContract::CopyRects(from ? &from->Desc() : nullptr, from && from->Locked(),
                                         to ? &to->Desc() : nullptr, to && to->Locked()))) {
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
    if (GpuFailed(GpuContract::CreateVertexBuffer(length, buffer))) {
        return kGpuErrorInvalidCall;
    }
    *buffer = new RecordingGpuBuffer(shared_, GpuBufferDesc{GpuFormat::Unknown, usage, pool, length});
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format,
                                                GpuPool pool, GpuBuffer** buffer) {
    LogCall("CreateIndexBuffer(%u, %u, %s, %s)", length, usage, GpuFormatName(format), GpuPoolName(pool));
    if (GpuFailed(GpuContract::CreateIndexBuffer(length, format, buffer))) {
        return kGpuErrorInvalidCall;
    }
    *buffer = new RecordingGpuBuffer(shared_, GpuBufferDesc{format, usage, pool, length});
    return kGpuOk;
}

GpuResult RecordingGpuDevice::CreateShader(bool vertex, const uint32_t* declaration, const uint32_t* function,
                                           uint32_t* handle) {
    GpuVertexDeclaration parsed;
    size_t length = 0;
    if (GpuFailed(GpuContract::CreateShader(handle)) ||
        (vertex && GpuFailed(GpuContract::VertexDeclaration(declaration, parsed))) ||
        GpuFailed(GpuContract::ShaderCode(vertex, function, config_.caps, length))) {
        return kGpuErrorInvalidCall;
    }
    Shader shader{vertex, {}, std::vector<uint32_t>(function, function + length), parsed.extent};
    if (vertex) {
        shader.declaration.assign(declaration, declaration + parsed.tokens);
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
    if (GpuFailed(GpuContract::RenderState(state))) {
        return kGpuErrorInvalidCall;
    }
    renderStates_[static_cast<size_t>(state)] = value;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetTextureStageState(uint32_t stage, GpuTextureStageState state,
                                                   uint32_t value) {
    LogCall("SetTextureStageState(%u, %s, %u)", stage, GpuTextureStageStateName(state), value);
    if (GpuFailed(GpuContract::TextureStageState(stage, state))) {
        return kGpuErrorInvalidCall;
    }
    stageStates_[stage][static_cast<size_t>(state)] = value;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetTexture(uint32_t stage, GpuTexture* texture) {
    LogCall("SetTexture(%u, #%d)", stage, LogId(texture));
    return GpuContract::TextureStage(stage);
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
    if (GpuFailed(GpuContract::Constants(data, reg, count, config_.caps.MaxVertexShaderConst))) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(&vertexConstants_[reg * 4], data, count * 4 * sizeof(float));
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    LogCall("SetPixelShaderConstant(%u, %u)", reg, count);
    if (GpuFailed(GpuContract::Constants(data, reg, count, kGpuPixelShaderConstants))) {
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
    if (GpuFailed(GpuContract::Viewport(viewport))) {
        return kGpuErrorInvalidCall;
    }
    viewport_ = *viewport;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetRenderTarget(GpuSurface* color, GpuSurface* depth) {
    LogCall("SetRenderTarget(#%d, #%d)", LogId(color), LogId(depth));
    auto* target = dynamic_cast<RecordingGpuSurface*>(color);
    auto* depthTarget = dynamic_cast<RecordingGpuSurface*>(depth);
    if (color && (!target || GpuFailed(GpuContract::SetRenderTarget(&target->Desc())))) {
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
    if (GpuFailed(GpuContract::StreamSource(stream))) {
        return kGpuErrorInvalidCall;
    }
    stream_ = GpuPtr<RecordingGpuBuffer>::Share(dynamic_cast<RecordingGpuBuffer*>(buffer));
    stride_ = stride;
    return kGpuOk;
}

GpuResult RecordingGpuDevice::SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) {
    LogCall("SetIndices(#%d, %u)", LogId(buffer), baseVertexIndex);
    indices_ = GpuPtr<RecordingGpuBuffer>::Share(dynamic_cast<RecordingGpuBuffer*>(buffer));
    baseVertex_ = baseVertexIndex;
    return kGpuOk;
}

GpuDrawSource RecordingGpuDevice::DrawSource() const {
    GpuDrawSource source;
    auto shader = shaders_.find(vertexShader_);
    source.inScene = inScene_;
    source.vertexShader = shader != shaders_.end() && shader->second.vertex;
    source.extent = source.vertexShader ? shader->second.extent : 0;
    source.streamSize = stream_ ? stream_->Size() : 0;
    source.stride = stride_;
    return source;
}

GpuResult RecordingGpuDevice::DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex,
                                            uint32_t primitiveCount) {
    LogCall("DrawPrimitive(%s, %u, %u)", GpuPrimitiveTypeName(type), startVertex, primitiveCount);
    return GpuContract::DrawResult(
        GpuContract::DrawPrimitive(DrawSource(), type, startVertex, primitiveCount));
}

GpuResult RecordingGpuDevice::DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t minIndex,
                                                   uint32_t numVertices, uint32_t startIndex,
                                                   uint32_t primitiveCount) {
    LogCall("DrawIndexedPrimitive(%s, %u, %u, %u, %u)", GpuPrimitiveTypeName(type), minIndex, numVertices,
            startIndex, primitiveCount);
    GpuIndexSource indices = indices_ ? indices_->Indices(baseVertex_) : GpuIndexSource{};
    return GpuContract::DrawResult(
        GpuContract::DrawIndexedPrimitive(DrawSource(), indices, type, startIndex, primitiveCount));
}

}  // namespace mareldon
