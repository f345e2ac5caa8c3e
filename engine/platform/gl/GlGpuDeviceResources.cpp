// The device's factories: textures, surfaces, buffers and shaders.
#include "engine/platform/gl/GlGpuDevice.h"

#include "engine/core/Log.h"

namespace mareldon {
namespace {

// What GetAvailableTextureMem reports; GL has no portable query, and the
// device only shows it in its statistics.
constexpr uint32_t kReportedTextureMemory = 256u << 20;

}  // namespace

uint32_t GlGpuDevice::GetAvailableTextureMem() {
    return kReportedTextureMemory;
}

GpuResult GlGpuDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                     GpuFormat format, GpuPool pool, GpuTexture** texture) {
    if (GpuFailed(GpuContract::CreateTexture(width, height, levels, usage, format, pool, texture))) {
        return kGpuErrorInvalidCall;
    }
    const GlFormat& gl = GlFormatOf(format);
    if (!gl.sampled || ((usage & kGpuUsageRenderTarget) && !gl.renderable)) {
        return kGpuErrorInvalidCall;
    }
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::Texture, format, width, height, levels,
                                           usage, pool);
    if (!image->Create()) {
        return kGpuErrorOutOfMemory;
    }
    *texture = new GlGpuTexture(std::move(image));
    return kGpuOk;
}

// Lockable is not honoured: render targets are read back by ReadPixels only.
GpuResult GlGpuDevice::CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format, GpuMultisample,
                                          bool, GpuSurface** surface) {
    if (GpuFailed(GpuContract::CreateSurface(GpuSurfaceKind::RenderTarget, width, height, format, surface)) ||
        !GlFormatOf(format).renderable) {
        return kGpuErrorInvalidCall;
    }
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::RenderTarget, format, width, height, 1,
                                           kGpuUsageRenderTarget, GpuPool::DEFAULT);
    if (!image->Create()) {
        return kGpuErrorOutOfMemory;
    }
    *surface = new GlGpuSurface(std::move(image), 0);
    return kGpuOk;
}

GpuResult GlGpuDevice::CreateDepthStencilSurface(uint32_t width, uint32_t height, GpuFormat format,
                                                 GpuMultisample, GpuSurface** surface) {
    if (GpuFailed(GpuContract::CreateSurface(GpuSurfaceKind::DepthStencil, width, height, format, surface))) {
        return kGpuErrorInvalidCall;
    }
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::DepthStencil, format, width, height, 1,
                                           kGpuUsageDepthStencil, GpuPool::DEFAULT);
    if (!image->Create()) {
        return kGpuErrorInvalidCall;
    }
    *surface = new GlGpuSurface(std::move(image), 0);
    return kGpuOk;
}

GpuResult GlGpuDevice::CreateImageSurface(uint32_t width, uint32_t height, GpuFormat format,
                                          GpuSurface** surface) {
    if (GpuFailed(GpuContract::CreateSurface(GpuSurfaceKind::ImageSurface, width, height, format, surface))) {
        return kGpuErrorInvalidCall;
    }
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::ImageSurface, format, width, height, 1, 0,
                                           GpuPool::SYSTEMMEM);
    if (!image->Create()) {
        return kGpuErrorInvalidCall;
    }
    *surface = new GlGpuSurface(std::move(image), 0);
    return kGpuOk;
}

GpuResult GlGpuDevice::CopyRects(GpuSurface* source, GpuSurface* destination) {
    auto* from = static_cast<GlGpuSurface*>(source);
    auto* to = static_cast<GlGpuSurface*>(destination);
    GpuSurfaceDesc fromDesc, toDesc;
    if (from) {
        fromDesc = from->Image()->Desc(from->Level());
    }
    if (to) {
        toDesc = to->Image()->Desc(to->Level());
    }
    if (GpuFailed(GpuContract::CopyRects(from ? &fromDesc : nullptr,
                                         from && from->Image()->Locked(from->Level()), to ? &toDesc : nullptr,
                                         to && to->Image()->Locked(to->Level())))) {
        return kGpuErrorInvalidCall;
    }
    return from->Image()->CopyTo(from->Level(), *to->Image(), to->Level());
}

GpuResult GlGpuDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t, GpuPool pool,
                                          GpuBuffer** buffer) {
    if (GpuFailed(GpuContract::CreateVertexBuffer(length, buffer))) {
        return kGpuErrorInvalidCall;
    }
    return MakeBuffer(length, usage, GpuFormat::Unknown, pool, buffer);
}

GpuResult GlGpuDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                         GpuBuffer** buffer) {
    if (GpuFailed(GpuContract::CreateIndexBuffer(length, format, buffer))) {
        return kGpuErrorInvalidCall;
    }
    return MakeBuffer(length, usage, format, pool, buffer);
}

GpuResult GlGpuDevice::MakeBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                  GpuBuffer** buffer) {
    GpuBufferDesc desc;
    desc.Format = format;
    desc.Usage = usage;
    desc.Pool = pool;
    desc.Size = length;
    auto* created = new GlGpuBuffer(shared_, desc);
    if (!created->Valid()) {
        created->Release();
        return kGpuErrorOutOfMemory;
    }
    *buffer = created;
    return kGpuOk;
}

GpuResult GlGpuDevice::CreateVertexShader(const uint32_t* declaration, const uint32_t* function,
                                          uint32_t* handle, uint32_t) {
    if (GpuFailed(GpuContract::CreateShader(handle))) {
        return kGpuErrorInvalidCall;
    }
    GpuVertexDeclaration parsed;
    size_t length = 0;
    const char* reason = nullptr;
    if (GpuFailed(GpuContract::VertexDeclaration(declaration, parsed, &reason))) {
        LOG_ERROR("gl", "vertex declaration refused: %s", reason);
        return kGpuErrorInvalidCall;
    }
    if (GpuFailed(GpuContract::ShaderCode(true, function, caps_, length, &reason))) {
        LOG_ERROR("gl", "vertex shader refused: %s", reason);
        return kGpuErrorInvalidCall;
    }
    *handle = shaders_->CreateVertexShader(parsed, function, length);
    return *handle ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GlGpuDevice::DeleteVertexShader(uint32_t handle) {
    if (handle == vertexShader_) {
        vertexShader_ = 0;
    }
    program_ = nullptr;
    programDirty_ = true;
    return shaders_->DeleteVertexShader(handle) ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GlGpuDevice::CreatePixelShader(const uint32_t* function, uint32_t* handle) {
    if (GpuFailed(GpuContract::CreateShader(handle))) {
        return kGpuErrorInvalidCall;
    }
    size_t length = 0;
    const char* reason = nullptr;
    if (GpuFailed(GpuContract::ShaderCode(false, function, caps_, length, &reason))) {
        LOG_ERROR("gl", "pixel shader refused: %s", reason);
        return kGpuErrorInvalidCall;
    }
    *handle = shaders_->CreatePixelShader(function, length);
    return *handle ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GlGpuDevice::DeletePixelShader(uint32_t handle) {
    if (handle == pixelShader_) {
        pixelShader_ = 0;
    }
    program_ = nullptr;
    programDirty_ = true;
    return shaders_->DeletePixelShader(handle) ? kGpuOk : kGpuErrorInvalidCall;
}

}  // namespace mareldon
