#pragma once

#include "engine/platform/GpuBuffer.h"
#include "engine/platform/GpuResource.h"
#include "engine/platform/GpuSurface.h"
#include "engine/platform/GpuTexture.h"
#include "engine/platform/GpuTypes.h"

namespace mareldon {

// The rendering device: states, stages, constants, streams, draws, targets,
// presentation, device loss and the factories of its resources. Shaders are
// plain handles (0 = none), created from token code.
//
// Reset: the graphics device releases the back buffer, the depth surface and its
// render-target textures first and makes the latter again afterwards; every other
// object (default-pool textures from images, buffers, shaders) stays valid across
// it. A draw with vertex shader 0 draws nothing. What every backend refuses,
// and how sizes and ranges are taken, is GpuContract's.
class GpuDevice : public GpuResource {
  public:
    // Presentation and device loss.
    virtual GpuResult TestCooperativeLevel() = 0;
    virtual GpuResult Reset(GpuPresentParameters* parameters) = 0;
    // Shows the whole back buffer in the device window (null rectangles, no override window).
    virtual GpuResult Present() = 0;
    virtual uint32_t GetAvailableTextureMem() = 0;
    virtual GpuResult GetBackBuffer(uint32_t index, GpuBackBufferType type, GpuSurface** surface) = 0;
    virtual GpuResult GetDepthStencilSurface(GpuSurface** surface) = 0;
    virtual GpuResult BeginScene() = 0;
    virtual GpuResult EndScene() = 0;

    // Resources.
    virtual GpuResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                    GpuFormat format, GpuPool pool, GpuTexture** texture) = 0;
    virtual GpuResult CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format,
                                         GpuMultisample multisample, bool lockable, GpuSurface** surface) = 0;
    virtual GpuResult CreateDepthStencilSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                GpuMultisample multisample, GpuSurface** surface) = 0;
    virtual GpuResult CreateImageSurface(uint32_t width, uint32_t height, GpuFormat format,
                                         GpuSurface** surface) = 0;
    // Copies the whole source surface to the destination's top-left corner (same format).
    virtual GpuResult CopyRects(GpuSurface* source, GpuSurface* destination) = 0;
    virtual GpuResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, GpuPool pool,
                                         GpuBuffer** buffer) = 0;
    virtual GpuResult CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                        GpuBuffer** buffer) = 0;
    // declaration: tokens up to and including kGpuDeclEnd; function: shader token code
    // up to and including its end token.
    virtual GpuResult CreateVertexShader(const uint32_t* declaration, const uint32_t* function,
                                         uint32_t* handle, uint32_t usage) = 0;
    virtual GpuResult DeleteVertexShader(uint32_t handle) = 0;
    virtual GpuResult CreatePixelShader(const uint32_t* function, uint32_t* handle) = 0;
    virtual GpuResult DeletePixelShader(uint32_t handle) = 0;

    // States.
    virtual GpuResult SetRenderState(GpuRenderState state, uint32_t value) = 0;
    virtual GpuResult SetTextureStageState(uint32_t stage, GpuTextureStageState state, uint32_t value) = 0;
    virtual GpuResult SetTexture(uint32_t stage, GpuTexture* texture) = 0;
    virtual GpuResult SetVertexShader(uint32_t handle) = 0;
    virtual GpuResult SetPixelShader(uint32_t handle) = 0;
    virtual GpuResult SetVertexShaderConstant(uint32_t reg, const float* data, uint32_t count) = 0;
    virtual GpuResult SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) = 0;
    virtual GpuResult SetViewport(const GpuViewport* viewport) = 0;
    virtual GpuResult SetRenderTarget(GpuSurface* color, GpuSurface* depth) = 0;

    // Drawing.
    virtual GpuResult Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
    virtual GpuResult SetStreamSource(uint32_t stream, GpuBuffer* buffer, uint32_t stride) = 0;
    virtual GpuResult SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) = 0;
    virtual GpuResult DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    virtual GpuResult DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t minIndex, uint32_t numVertices,
                                           uint32_t startIndex, uint32_t primitiveCount) = 0;
};

}  // namespace mareldon
