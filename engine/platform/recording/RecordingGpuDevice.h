#pragma once

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "engine/platform/GpuContract.h"
#include "engine/platform/GpuDevice.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/platform/recording/RecordingGpuResources.h"

namespace mareldon {

// The recording device. Besides logging, it keeps what was set, so tests can
// ask for the current state and read pixels back.
class RecordingGpuDevice final : public GpuDevice, public RecordingGpuTracked {
  public:
    RecordingGpuDevice(std::shared_ptr<RecordingGpu::Shared> shared, const RecordingGpuConfig& config,
                       const GpuPresentParameters& parameters, uint32_t behaviorFlags);
    ~RecordingGpuDevice() override;

    GpuResult TestCooperativeLevel() override;
    GpuResult Reset(GpuPresentParameters* parameters) override;
    GpuResult Present() override;
    uint32_t GetAvailableTextureMem() override;
    GpuResult GetBackBuffer(uint32_t index, GpuBackBufferType type, GpuSurface** surface) override;
    GpuResult GetDepthStencilSurface(GpuSurface** surface) override;
    GpuResult BeginScene() override;
    GpuResult EndScene() override;

    GpuResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                            GpuFormat format, GpuPool pool, GpuTexture** texture) override;
    GpuResult CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format,
                                 GpuMultisample multisample, bool lockable, GpuSurface** surface) override;
    GpuResult CreateDepthStencilSurface(uint32_t width, uint32_t height, GpuFormat format,
                                        GpuMultisample multisample, GpuSurface** surface) override;
    GpuResult CreateImageSurface(uint32_t width, uint32_t height, GpuFormat format,
                                 GpuSurface** surface) override;
    GpuResult CopyRects(GpuSurface* source, GpuSurface* destination) override;
    GpuResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, GpuPool pool,
                                 GpuBuffer** buffer) override;
    GpuResult CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                GpuBuffer** buffer) override;
    GpuResult CreateVertexShader(const uint32_t* declaration, const uint32_t* function, uint32_t* handle,
                                 uint32_t usage) override;
    GpuResult DeleteVertexShader(uint32_t handle) override;
    GpuResult CreatePixelShader(const uint32_t* function, uint32_t* handle) override;
    GpuResult DeletePixelShader(uint32_t handle) override;

    GpuResult SetRenderState(GpuRenderState state, uint32_t value) override;
    GpuResult SetTextureStageState(uint32_t stage, GpuTextureStageState state, uint32_t value) override;
    GpuResult SetTexture(uint32_t stage, GpuTexture* texture) override;
    GpuResult SetVertexShader(uint32_t handle) override;
    GpuResult SetPixelShader(uint32_t handle) override;
    GpuResult SetVertexShaderConstant(uint32_t reg, const float* data, uint32_t count) override;
    GpuResult SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) override;
    GpuResult SetViewport(const GpuViewport* viewport) override;
    GpuResult SetRenderTarget(GpuSurface* color, GpuSurface* depth) override;

    GpuResult Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
    GpuResult SetStreamSource(uint32_t stream, GpuBuffer* buffer, uint32_t stride) override;
    GpuResult SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) override;
    GpuResult DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) override;
    GpuResult DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t minIndex, uint32_t numVertices,
                                   uint32_t startIndex, uint32_t primitiveCount) override;

    // What the device holds now.
    uint32_t RenderState(GpuRenderState state) const { return renderStates_[static_cast<size_t>(state)]; }
    uint32_t StageState(uint32_t stage, GpuTextureStageState state) const {
        return stageStates_[stage][static_cast<size_t>(state)];
    }
    const float* VertexConstant(uint32_t reg) const { return &vertexConstants_[reg * 4]; }
    const GpuViewport& Viewport() const { return viewport_; }
    const GpuPresentParameters& Parameters() const { return parameters_; }
    uint32_t BehaviorFlags() const { return behaviorFlags_; }
    RecordingGpuSurface* BackBuffer() const { return backBuffer_; }
    RecordingGpuSurface* RenderTarget() const { return renderTarget_; }
    uint32_t VertexShader() const { return vertexShader_; }
    uint32_t PixelShader() const { return pixelShader_; }
    bool InScene() const { return inScene_; }
    // Declaration and code of a live shader (empty when the handle is unknown).
    std::vector<uint32_t> VertexShaderDeclaration(uint32_t handle) const;
    std::vector<uint32_t> ShaderCode(uint32_t handle) const;
    size_t LiveShaders() const { return shaders_.size(); }

  private:
    struct Shader {
        bool vertex;
        std::vector<uint32_t> declaration;
        std::vector<uint32_t> code;
        uint32_t extent;  // bytes of a vertex the declaration reads
    };

    void MakeSwapChain();
    void ReleaseStreams();
    GpuDrawSource DrawSource() const;
    GpuResult MakeSurface(GpuSurfaceKind kind, uint32_t width, uint32_t height, GpuFormat format,
                          uint32_t usage, GpuPool pool, GpuSurface** surface);
    GpuResult CreateShader(bool vertex, const uint32_t* declaration, const uint32_t* function,
                           uint32_t* handle);
    GpuResult DeleteShader(bool vertex, uint32_t handle);

    RecordingGpuConfig config_;
    GpuPresentParameters parameters_;
    uint32_t behaviorFlags_;
    RecordingGpuSurface* backBuffer_ = nullptr;
    RecordingGpuSurface* depthStencil_ = nullptr;
    RecordingGpuSurface* renderTarget_ = nullptr;
    RecordingGpuSurface* depthTarget_ = nullptr;
    bool inScene_ = false;
    std::array<uint32_t, static_cast<size_t>(GpuRenderState::Count)> renderStates_{};
    std::array<std::array<uint32_t, static_cast<size_t>(GpuTextureStageState::Count)>, kGpuTextureStages>
        stageStates_{};
    std::vector<float> vertexConstants_;
    std::vector<float> pixelConstants_;
    uint32_t vertexShader_ = 0;
    uint32_t pixelShader_ = 0;
    GpuViewport viewport_;
    GpuPtr<RecordingGpuBuffer> stream_;
    uint32_t stride_ = 0;
    GpuPtr<RecordingGpuBuffer> indices_;
    uint32_t baseVertex_ = 0;
    std::map<uint32_t, Shader> shaders_;
    uint32_t nextShader_ = 1;
};

}  // namespace mareldon
