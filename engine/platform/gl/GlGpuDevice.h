#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/platform/GpuContract.h"
#include "engine/platform/GpuDevice.h"
#include "engine/platform/gl/GlGpuResources.h"
#include "engine/platform/gl/GlPresenter.h"
#include "engine/platform/gl/GlShaderCache.h"

namespace mareldon {

// The rendering device on an OpenGL context of an SDL window. Direct3D's
// conventions are kept: depth 0..1 and the top-left origin (render targets
// hold their top row first, as textures are sampled), clockwise front faces,
// the alpha test and blending done as the device's defaults ask, pixel
// centres on integer coordinates. The back buffer is a framebuffer object
// that Present scales into the window, keeping its proportions.
//
// Every call is checked against GpuContract first. The methods are spread
// over four files along their seams: GlGpuDevice.cpp (context, back buffer,
// reset, scenes, present), GlGpuDeviceStates.cpp (render and stage states
// translated to GL, shaders, constants, viewport, target),
// GlGpuDeviceResources.cpp (the factories) and GlGpuDeviceDraw.cpp (clears,
// streams, draws); GlPresenter shows the back buffer in the window.
class GlGpuDevice final : public GpuDevice {
  public:
    // Null (and a logged reason) when no usable context can be made. caps:
    // what the adapter reported (shader versions, vertex constant registers).
    static GlGpuDevice* Create(SDL_Window* window, const GpuPresentParameters& parameters,
                               const GpuCaps& caps);
    ~GlGpuDevice() override;

    GpuResult TestCooperativeLevel() override { return kGpuOk; }
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

    // Pixels of a colour surface as 0xAARRGGBB words, top row first (for
    // tests and tools; false for surfaces GL holds no colour for).
    bool ReadPixels(GpuSurface* surface, std::vector<uint32_t>& argb);
    // Keeps a copy of every picture Present shows in the window (costs a
    // read-back per frame; for tests).
    void KeepWindowPicture(bool keep) { presenter_->KeepWindowPicture(keep); }
    // The picture the last Present showed, top row first, as 0xAARRGGBB.
    const std::vector<uint32_t>& WindowPicture(int& width, int& height) const {
        return presenter_->WindowPicture(width, height);
    }
    // Presents counted since creation.
    uint32_t PresentCount() const { return presenter_->PresentCount(); }
    bool Windowed() const { return windowed_; }
    const GlShaderCache& Shaders() const { return *shaders_; }
    size_t PooledBufferCount() const { return shared_->PooledBufferCount(); }

  private:
    GlGpuDevice(std::shared_ptr<GlShared> shared, const GpuCaps& caps);
    bool Initialise(const GpuPresentParameters& parameters);
    bool MakeBackBuffer();
    GpuResult MakeBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool, GpuBuffer** buffer);
    void ApplyWindowMode();
    void ResetStates();
    void ApplyRenderState(GpuRenderState state, uint32_t value);
    void ApplyBlend();
    void ApplyCull();
    void ApplySampler(uint32_t stage, GpuTextureStageState state);
    void ApplyAllState();
    void BindTarget();
    GpuDrawSource DrawSource() const;
    bool PrepareDraw();
    void BindAttributes();

    std::shared_ptr<GlShared> shared_;
    GlFunctions& gl_;
    std::unique_ptr<GlShaderCache> shaders_;
    std::unique_ptr<GlPresenter> presenter_;
    GpuCaps caps_;
    uint32_t vertexRegisters_;
    GpuPresentParameters parameters_{};
    bool windowed_ = true;
    bool clipControl_ = false;
    bool anisotropy_ = false;

    GlGpuSurface* backBuffer_ = nullptr;
    GlGpuSurface* depthStencil_ = nullptr;

    std::shared_ptr<GlImage> colourTarget_;
    uint32_t colourLevel_ = 0;
    std::shared_ptr<GlImage> depthTarget_;
    bool targetDirty_ = true;
    GpuViewport viewport_{};
    float pixelOffset_[2] = {0.0f, 0.0f};

    uint32_t renderStates_[static_cast<size_t>(GpuRenderState::Count)] = {};
    uint32_t stageStates_[kGpuTextureStages][static_cast<size_t>(GpuTextureStageState::Count)] = {};
    GLuint samplers_[kGpuTextureStages] = {};
    std::shared_ptr<GlImage> textures_[kGpuTextureStages];
    GLuint whiteTexture_ = 0;
    bool whiteBound_ = false;

    uint32_t vertexShader_ = 0;
    uint32_t pixelShader_ = 0;
    GlProgram* program_ = nullptr;
    bool programDirty_ = true;
    float vertexConstants_[256][4] = {};
    float pixelConstants_[kGpuPixelShaderConstants][4] = {};
    uint64_t vertexGeneration_ = 0;
    uint64_t pixelGeneration_ = 0;
    std::vector<float> constantScratch_;

    GlGpuBuffer* stream_ = nullptr;
    uint32_t stride_ = 0;
    GlGpuBuffer* indices_ = nullptr;
    uint32_t baseVertex_ = 0;
    bool attributesDirty_ = true;
    uint32_t enabledAttributes_ = 0;
    GLuint vertexArray_ = 0;
    bool inScene_ = false;
};

}  // namespace mareldon
