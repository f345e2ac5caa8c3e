#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/RefPtr.h"
#include "engine/platform/DeviceWindow.h"
#include "engine/platform/GpuObject.h"
#include "engine/render/device/GraphicsDevice.h"

namespace mareldon {

class GeometryBuffer;
class GpuBackend;
class Window;

// The graphics device on the device layer. Every setter is filtered through a
// cache, so a value equal to the current one never reaches the device.
class GraphicsDeviceDX final : public GraphicsDevice {
  public:
    // A device made by `backend` on the window. flags is accepted and has no
    // effect. Without a device (no backend, no mode found) every operation does
    // nothing and the factories return empty handles.
    GraphicsDeviceDX(GpuBackend* backend, DeviceWindow* window, int32_t windowed, uint32_t flags,
                     int32_t screenWidth, int32_t screenHeight, int32_t rotation);
    // On a window of the window system (the game's main window).
    GraphicsDeviceDX(GpuBackend* backend, Window* window, int32_t windowed, uint32_t flags,
                     int32_t screenWidth, int32_t screenHeight, int32_t rotation);
    ~GraphicsDeviceDX() override;

    bool IsRunning() override;
    bool Present() override;
    void SetWindowed(int32_t windowed) override;
    int32_t IsWindowed() override { return windowed_; }
    int32_t ScreenOffsetX() override;
    int32_t ScreenOffsetY() override;
    void SetRotation(int32_t rotation) override;
    int32_t GetRotation() override { return rotation_; }
    RefPtr<Texture>& ScreenTexture() override { return screen_; }
    RefPtr<Texture> CreateTextureFromData(uint32_t flags, const void* data, uint32_t size) override;
    RefPtr<Texture> CreateTexture(uint32_t flags, int32_t width, int32_t height) override;
    RefPtr<VertexShader> CreateVertexShader(std::string_view text, const VertexLayout& layout) override;
    RefPtr<PixelShader> CreatePixelShader(std::string_view text) override;
    RefPtr<VertexBuffer> CreateVertexBuffer(uint32_t vertexSize, uint32_t vertexCount, const void* bytes,
                                            uint32_t memoryFlag) override;
    RefPtr<IndexBuffer> CreateIndexBuffer(uint32_t indexCount, const void* bytes, uint32_t flags) override;
    RefPtr<GeometryBuffer> CreateGeometryBuffer(int32_t kind, const VertexLayout& layout,
                                                const RefPtr<VertexBuffer>& vertices, int32_t start,
                                                int32_t vertexCount, const RefPtr<IndexBuffer>& indices,
                                                int32_t startIndex, int32_t indexCount) override;
    DeviceStatistics* Statistics() override { return &statistics_; }
    void SetTexture(uint32_t stage, TextureBase* texture) override;
    void SetVertexShader(const RefPtr<VertexShader>& shader) override;
    void SetVertexShaderConstant(uint32_t first, const float* data, uint32_t count) override;
    void SetPixelShader(const RefPtr<PixelShader>& shader) override;
    void SetPixelShaderConstant(uint32_t first, const float* data, uint32_t count) override;
    uint32_t MaxVertexShaderConstants() override { return maxVertexShaderConstants_; }
    void SetSamplerState(uint32_t stage, const SamplerState& state) override;
    const SamplerState* GetSamplerState(uint32_t stage) override;
    void SetRenderStateBlock(const RenderStateBlock& block) override;
    const RenderStateBlock* GetRenderStateBlock() override { return &renderStates_; }
    void SetSrcBlend(BlendFactor factor) override;
    BlendFactor GetSrcBlend() override { return static_cast<BlendFactor>(renderStates_.srcBlend); }
    void SetDestBlend(BlendFactor factor) override;
    BlendFactor GetDestBlend() override { return static_cast<BlendFactor>(renderStates_.destBlend); }
    void SetFillMode(FillMode mode) override;
    FillMode GetFillMode() override { return static_cast<FillMode>(renderStates_.fillMode); }
    void SetCullMode(CullMode mode) override;
    CullMode GetCullMode() override { return static_cast<CullMode>(renderStates_.cullMode); }
    void SetZFunc(CompareFunc func) override;
    CompareFunc GetZFunc() override { return static_cast<CompareFunc>(renderStates_.zFunc); }
    void SetZWrite(int32_t write) override;
    int32_t GetZWrite() override { return renderStates_.zWrite; }

    // For the device's own objects (textures, shaders, buffers).
    GpuDevice* Device() const { return device_.Get(); }
    uint32_t CreationError() const { return creationError_; }
    GpuFormat BackBufferFormat() const { return backBufferFormat_; }
    GpuFormat DepthFormat() const { return depthFormat_; }
    GpuFormat TextureFormat() const { return textureFormat_; }
    GpuMultisample Multisample() const { return GpuMultisample::NONE; }
    const GpuCaps& Caps() const { return caps_; }
    int32_t ScreenWidth() const { return screenWidth_; }
    int32_t ScreenHeight() const { return screenHeight_; }
    // The full-screen mode for the current rotation (portrait for 0 and 2).
    void FullScreenMode(int32_t* width, int32_t* height) const;
    // Sets colour and depth target unless the colour surface is already the target.
    void BindRenderTarget(GpuSurface* color, GpuSurface* depth);
    // Sends the viewport when it differs from the device's viewport record.
    void SetDeviceViewport(const GpuViewport& viewport);
    void DrawGeometryBuffer(GeometryBuffer& geometry);
    void ClearTarget(uint32_t flags, uint32_t color, float z, uint32_t stencil);
    // Links a new texture right after the ring's head.
    void LinkTexture(Texture* texture);

  private:
    bool CreateDevice(GpuDeviceType type, const GpuDisplayMode& displayMode);
    void ComputeBackBufferSize();
    void ApplyDefaultStates();
    void ResetConstants();
    void SavePlacement();
    void RestorePlacement();
    void SetRenderState(GpuRenderState state, uint32_t value);
    bool ResetDevice();

    void Create(int32_t rotation);

    GpuBackend* backend_;
    std::unique_ptr<DeviceWindow> ownedWindow_;
    DeviceWindow* window_;
    GpuPtr<mareldon::GpuObject> object_;
    GpuPtr<GpuDevice> device_;
    int32_t windowed_;
    int32_t rotation_;
    bool deviceLost_ = false;
    uint32_t creationError_ = 0;
    GpuFormat backBufferFormat_ = GpuFormat::Unknown;
    GpuFormat depthFormat_ = GpuFormat::Unknown;
    GpuFormat textureFormat_ = GpuFormat::Unknown;
    GpuCaps caps_;
    int32_t portraitWidth_ = 32767;
    int32_t portraitHeight_ = 32767;
    int32_t landscapeWidth_ = 32767;
    int32_t landscapeHeight_ = 32767;
    int32_t screenWidth_;
    int32_t screenHeight_;
    GpuPresentParameters parameters_;
    RefPtr<Texture> screen_;

    // The caches hold a reference, so a cached object's address is never reused by another.
    GpuPtr<GpuSurface> renderTarget_;
    uint32_t pixelShader_ = 0;
    uint32_t vertexShader_ = 0;
    GpuPtr<GpuTexture> textures_[16];
    GpuPtr<GpuBuffer> streamBuffer_;
    GpuPtr<GpuBuffer> indexBuffer_;
    int32_t baseVertexIndex_ = -1;
    float vertexConstants_[256][4] = {};
    float pixelConstants_[8][4] = {};
    RenderStateBlock renderStates_;
    SamplerState samplers_[16] = {};
    GpuViewport viewport_;

    int32_t placementX_ = 0;
    int32_t placementY_ = 0;
    int32_t placementWidth_ = 0;
    int32_t placementHeight_ = 0;
    DeviceStatistics statistics_;
    uint32_t maxVertexShaderConstants_ = 0;
};

}  // namespace mareldon
