// The device's render and stage states, shaders, constants, viewport and
// target, and their translation to GL.
#include "engine/platform/gl/GlGpuDevice.h"

#include <algorithm>
#include <cstring>

namespace mareldon {
namespace {

constexpr size_t kRenderStateCount = static_cast<size_t>(GpuRenderState::Count);
constexpr size_t kStageStateCount = static_cast<size_t>(GpuTextureStageState::Count);
constexpr GLenum kMaxAnisotropy = 0x84FE;  // GL_TEXTURE_MAX_ANISOTROPY

size_t Index(GpuRenderState state) {
    return static_cast<size_t>(state);
}
size_t Index(GpuTextureStageState state) {
    return static_cast<size_t>(state);
}

float FloatFromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

GLenum BlendFactor(uint32_t value) {
    switch (value) {
        case 1:
            return GL_ZERO;
        case 2:
            return GL_ONE;
        case 3:
            return GL_SRC_COLOR;
        case 4:
            return GL_ONE_MINUS_SRC_COLOR;
        case 5:
            return GL_SRC_ALPHA;
        case 6:
            return GL_ONE_MINUS_SRC_ALPHA;
        case 7:
            return GL_DST_ALPHA;
        case 8:
            return GL_ONE_MINUS_DST_ALPHA;
        case 9:
            return GL_DST_COLOR;
        case 10:
            return GL_ONE_MINUS_DST_COLOR;
        case 11:
            return GL_SRC_ALPHA_SATURATE;
        default:
            return GL_ONE;
    }
}

GLenum CompareFunc(uint32_t value) {
    static const GLenum funcs[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return value >= 1 && value <= 8 ? funcs[value - 1] : GL_ALWAYS;
}

GLenum AddressMode(uint32_t value) {
    switch (value) {
        case gpu::TADDRESS_MIRROR:
            return GL_MIRRORED_REPEAT;
        case gpu::TADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case gpu::TADDRESS_BORDER:
            return GL_CLAMP_TO_BORDER;
        case gpu::TADDRESS_MIRRORONCE:
            return GL_MIRROR_CLAMP_TO_EDGE;
        default:
            return GL_REPEAT;
    }
}

}  // namespace

// The states of a fresh Direct3D device.
void GlGpuDevice::ResetStates() {
    std::fill(std::begin(renderStates_), std::end(renderStates_), 0u);
    auto set = [this](GpuRenderState s, uint32_t v) { renderStates_[Index(s)] = v; };
    set(GpuRenderState::ZENABLE, parameters_.EnableAutoDepthStencil ? gpu::kTrue : gpu::kFalse);
    set(GpuRenderState::FILLMODE, gpu::FILL_SOLID);
    set(GpuRenderState::SHADEMODE, gpu::SHADE_GOURAUD);
    set(GpuRenderState::ZWRITEENABLE, gpu::kTrue);
    set(GpuRenderState::LASTPIXEL, gpu::kTrue);
    set(GpuRenderState::SRCBLEND, gpu::BLEND_ONE);
    set(GpuRenderState::DESTBLEND, gpu::BLEND_ZERO);
    set(GpuRenderState::CULLMODE, gpu::CULL_CCW);
    set(GpuRenderState::ZFUNC, gpu::CMP_LESSEQUAL);
    set(GpuRenderState::ALPHAFUNC, gpu::CMP_ALWAYS);
    set(GpuRenderState::BLENDOP, gpu::BLENDOP_ADD);
    set(GpuRenderState::COLORWRITEENABLE, 0xF);
    set(GpuRenderState::MULTISAMPLEMASK, 0xFFFFFFFF);
    for (uint32_t stage = 0; stage < kGpuTextureStages; ++stage) {
        uint32_t* s = stageStates_[stage];
        s[Index(GpuTextureStageState::ADDRESSU)] = gpu::TADDRESS_WRAP;
        s[Index(GpuTextureStageState::ADDRESSV)] = gpu::TADDRESS_WRAP;
        s[Index(GpuTextureStageState::ADDRESSW)] = gpu::TADDRESS_WRAP;
        s[Index(GpuTextureStageState::BORDERCOLOR)] = 0;
        s[Index(GpuTextureStageState::MAGFILTER)] = gpu::TEXF_POINT;
        s[Index(GpuTextureStageState::MINFILTER)] = gpu::TEXF_POINT;
        s[Index(GpuTextureStageState::MIPFILTER)] = gpu::TEXF_NONE;
        s[Index(GpuTextureStageState::MIPMAPLODBIAS)] = 0;
        s[Index(GpuTextureStageState::MAXMIPLEVEL)] = 0;
        s[Index(GpuTextureStageState::MAXANISOTROPY)] = 1;
        textures_[stage].reset();
    }
    vertexShader_ = pixelShader_ = 0;
    program_ = nullptr;
    programDirty_ = true;
    std::memset(vertexConstants_, 0, sizeof vertexConstants_);
    std::memset(pixelConstants_, 0, sizeof pixelConstants_);
    ++vertexGeneration_;
    ++pixelGeneration_;
    if (stream_) {
        stream_->Release();
    }
    if (indices_) {
        indices_->Release();
    }
    stream_ = indices_ = nullptr;
    stride_ = baseVertex_ = 0;
    attributesDirty_ = true;
    ApplyAllState();
}

void GlGpuDevice::ApplyAllState() {
    for (size_t i = 0; i < kRenderStateCount; ++i) {
        ApplyRenderState(static_cast<GpuRenderState>(i), renderStates_[i]);
    }
    for (uint32_t stage = 0; stage < kGpuTextureStages; ++stage) {
        for (size_t i = 0; i < kStageStateCount; ++i) {
            ApplySampler(stage, static_cast<GpuTextureStageState>(i));
        }
        gl_.ActiveTexture(GL_TEXTURE0 + stage);
        gl_.BindTexture(GL_TEXTURE_2D, textures_[stage] ? textures_[stage]->Texture() : 0);
        gl_.BindSampler(stage, samplers_[stage]);
    }
    whiteBound_ = false;
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.BindVertexArray(vertexArray_);
    targetDirty_ = true;
    programDirty_ = true;
    attributesDirty_ = true;
}

void GlGpuDevice::ApplyRenderState(GpuRenderState state, uint32_t value) {
    switch (state) {
        case GpuRenderState::ZENABLE:
            value ? gl_.Enable(GL_DEPTH_TEST) : gl_.Disable(GL_DEPTH_TEST);
            break;
        case GpuRenderState::FILLMODE:
            gl_.PolygonMode(GL_FRONT_AND_BACK, value == gpu::FILL_POINT       ? GL_POINT
                                               : value == gpu::FILL_WIREFRAME ? GL_LINE
                                                                              : GL_FILL);
            break;
        case GpuRenderState::ZWRITEENABLE:
            gl_.DepthMask(value ? GL_TRUE : GL_FALSE);
            break;
        case GpuRenderState::SRCBLEND:
        case GpuRenderState::DESTBLEND:
            ApplyBlend();
            break;
        case GpuRenderState::CULLMODE:
            ApplyCull();
            break;
        case GpuRenderState::ZFUNC:
            gl_.DepthFunc(CompareFunc(value));
            break;
        case GpuRenderState::ALPHABLENDENABLE:
            value ? gl_.Enable(GL_BLEND) : gl_.Disable(GL_BLEND);
            break;
        case GpuRenderState::BLENDOP: {
            static const GLenum ops[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN,
                                         GL_MAX};
            gl_.BlendEquation(value >= 1 && value <= 5 ? ops[value - 1] : GL_FUNC_ADD);
            break;
        }
        case GpuRenderState::COLORWRITEENABLE:
            gl_.ColorMask((value & 1) != 0, (value & 2) != 0, (value & 4) != 0, (value & 8) != 0);
            break;
        default:
            // The alpha test is part of every fragment program (always on with
            // reference 0 and GREATER, as the device sets it); fog, lighting,
            // stencil and the point states do not reach these shaders.
            break;
    }
}

void GlGpuDevice::ApplyBlend() {
    uint32_t source = renderStates_[Index(GpuRenderState::SRCBLEND)];
    uint32_t destination = renderStates_[Index(GpuRenderState::DESTBLEND)];
    if (source == 12) {  // BOTHSRCALPHA
        gl_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else if (source == 13) {  // BOTHINVSRCALPHA
        gl_.BlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    } else {
        gl_.BlendFunc(BlendFactor(source), BlendFactor(destination));
    }
}

void GlGpuDevice::ApplyCull() {
    uint32_t mode = renderStates_[Index(GpuRenderState::CULLMODE)];
    if (mode != gpu::CULL_CW && mode != gpu::CULL_CCW) {
        gl_.Disable(GL_CULL_FACE);
        return;
    }
    // Front faces are the ones clockwise in the picture (top row first). The
    // upper-left origin keeps the winding as it appears in the picture; the
    // flip done in the vertex program without it reverses it.
    gl_.FrontFace(clipControl_ ? GL_CW : GL_CCW);
    gl_.CullFace(mode == gpu::CULL_CW ? GL_FRONT : GL_BACK);
    gl_.Enable(GL_CULL_FACE);
}

void GlGpuDevice::ApplySampler(uint32_t stage, GpuTextureStageState state) {
    const uint32_t* s = stageStates_[stage];
    GLuint sampler = samplers_[stage];
    uint32_t value = s[Index(state)];
    switch (state) {
        case GpuTextureStageState::ADDRESSU:
            gl_.SamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(AddressMode(value)));
            break;
        case GpuTextureStageState::ADDRESSV:
            gl_.SamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(AddressMode(value)));
            break;
        case GpuTextureStageState::ADDRESSW:
            gl_.SamplerParameteri(sampler, GL_TEXTURE_WRAP_R, static_cast<GLint>(AddressMode(value)));
            break;
        case GpuTextureStageState::BORDERCOLOR: {
            float rgba[4];
            GlColour(value, rgba);
            gl_.SamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, rgba);
            break;
        }
        case GpuTextureStageState::MAGFILTER:
            // "None" is no filtering: the nearest texel.
            gl_.SamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                                  value >= gpu::TEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
            break;
        case GpuTextureStageState::MINFILTER:
        case GpuTextureStageState::MIPFILTER: {
            bool linear = s[Index(GpuTextureStageState::MINFILTER)] >= gpu::TEXF_LINEAR;
            uint32_t mip = s[Index(GpuTextureStageState::MIPFILTER)];
            GLenum filter = mip == gpu::TEXF_NONE ? (linear ? GL_LINEAR : GL_NEAREST)
                            : mip == gpu::TEXF_POINT
                                ? (linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST)
                                : (linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR);
            gl_.SamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
            break;
        }
        case GpuTextureStageState::MIPMAPLODBIAS:
            gl_.SamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, FloatFromBits(value));
            break;
        case GpuTextureStageState::MAXMIPLEVEL:
            gl_.SamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(value));
            break;
        case GpuTextureStageState::MAXANISOTROPY:
            if (anisotropy_) {
                gl_.SamplerParameterf(sampler, kMaxAnisotropy, static_cast<float>(std::max(value, 1u)));
            }
            break;
        default:
            break;
    }
}

GpuResult GlGpuDevice::SetRenderState(GpuRenderState state, uint32_t value) {
    if (GpuFailed(GpuContract::RenderState(state))) {
        return kGpuErrorInvalidCall;
    }
    renderStates_[Index(state)] = value;
    ApplyRenderState(state, value);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetTextureStageState(uint32_t stage, GpuTextureStageState state, uint32_t value) {
    if (GpuFailed(GpuContract::TextureStageState(stage, state))) {
        return kGpuErrorInvalidCall;
    }
    stageStates_[stage][Index(state)] = value;
    ApplySampler(stage, state);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetTexture(uint32_t stage, GpuTexture* texture) {
    if (GpuFailed(GpuContract::TextureStage(stage))) {
        return kGpuErrorInvalidCall;
    }
    const std::shared_ptr<GlImage>* image = texture ? &static_cast<GlGpuTexture*>(texture)->Image() : nullptr;
    textures_[stage] = image ? *image : nullptr;
    gl_.ActiveTexture(GL_TEXTURE0 + stage);
    gl_.BindTexture(GL_TEXTURE_2D, image ? (*image)->Texture() : 0);
    if (stage == 0) {
        whiteBound_ = false;
    }
    return kGpuOk;
}

GpuResult GlGpuDevice::SetVertexShader(uint32_t handle) {
    if (handle != vertexShader_) {
        vertexShader_ = handle;
        programDirty_ = true;
        attributesDirty_ = true;
    }
    return kGpuOk;
}

GpuResult GlGpuDevice::SetPixelShader(uint32_t handle) {
    if (handle != pixelShader_) {
        pixelShader_ = handle;
        programDirty_ = true;
    }
    return kGpuOk;
}

GpuResult GlGpuDevice::SetVertexShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    if (GpuFailed(GpuContract::Constants(data, reg, count, vertexRegisters_))) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(vertexConstants_[reg], data, count * 4 * sizeof(float));
    ++vertexGeneration_;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    if (GpuFailed(GpuContract::Constants(data, reg, count, kGpuPixelShaderConstants))) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(pixelConstants_[reg], data, count * 4 * sizeof(float));
    ++pixelGeneration_;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetViewport(const GpuViewport* viewport) {
    if (GpuFailed(GpuContract::Viewport(viewport))) {
        return kGpuErrorInvalidCall;
    }
    viewport_ = *viewport;
    gl_.Viewport(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                 static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
    gl_.DepthRange(viewport_.MinZ, viewport_.MaxZ);
    // Half a pixel right and down puts Direct3D's pixel centres on GL's. GL
    // breaks ties on horizontal edges the other way round (it fills a centre
    // on the bottom edge, Direct3D one on the top edge), so the downward shift
    // stops a sixteenth of a pixel short of the half.
    pixelOffset_[0] = viewport_.Width ? 1.0f / static_cast<float>(viewport_.Width) : 0.0f;
    pixelOffset_[1] = viewport_.Height ? -(1.0f - 2.0f / 16.0f) / static_cast<float>(viewport_.Height) : 0.0f;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetRenderTarget(GpuSurface* color, GpuSurface* depth) {
    if (color) {
        auto* surface = static_cast<GlGpuSurface*>(color);
        GpuSurfaceDesc desc = surface->Image()->Desc(surface->Level());
        if (GpuFailed(GpuContract::SetRenderTarget(&desc))) {
            return kGpuErrorInvalidCall;
        }
        colourTarget_ = surface->Image();
        colourLevel_ = surface->Level();
    }
    depthTarget_ = depth ? static_cast<GlGpuSurface*>(depth)->Image() : nullptr;
    targetDirty_ = true;
    // A new target brings a viewport over all of it, as on Direct3D.
    GpuViewport full{0,    0,   colourTarget_->Width(colourLevel_), colourTarget_->Height(colourLevel_),
                     0.0f, 1.0f};
    return SetViewport(&full);
}

void GlGpuDevice::BindTarget() {
    GLuint framebuffer = shared_->Framebuffer(colourTarget_.get(), colourLevel_, depthTarget_.get());
    gl_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl_.Viewport(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                 static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
    gl_.DepthRange(viewport_.MinZ, viewport_.MaxZ);
    targetDirty_ = false;
}

}  // namespace mareldon
