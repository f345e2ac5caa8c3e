#include "engine/platform/gl/GlGpuDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/core/Log.h"
#include "engine/platform/gl/GlFrameCapture.h"
#include "engine/platform/gl/GlGpu.h"

namespace mareldon {
namespace {

constexpr size_t kRenderStateCount = static_cast<size_t>(GpuRenderState::Count);
constexpr size_t kStageStateCount = static_cast<size_t>(GpuTextureStageState::Count);
constexpr GLenum kMaxAnisotropy = 0x84FE;  // GL_TEXTURE_MAX_ANISOTROPY
// What GetAvailableTextureMem reports; GL has no portable query, and the
// device only shows it in its statistics.
constexpr uint32_t kReportedTextureMemory = 256u << 20;

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

GLenum PrimitiveMode(GpuPrimitiveType type) {
    switch (type) {
        case GpuPrimitiveType::POINTLIST:
            return GL_POINTS;
        case GpuPrimitiveType::LINELIST:
            return GL_LINES;
        case GpuPrimitiveType::LINESTRIP:
            return GL_LINE_STRIP;
        case GpuPrimitiveType::TRIANGLELIST:
            return GL_TRIANGLES;
        case GpuPrimitiveType::TRIANGLESTRIP:
            return GL_TRIANGLE_STRIP;
        case GpuPrimitiveType::TRIANGLEFAN:
            return GL_TRIANGLE_FAN;
    }
    return GL_POINTS;
}

uint64_t VertexCount(GpuPrimitiveType type, uint64_t primitives) {
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

void ColourFromArgb(uint32_t argb, float rgba[4]) {
    rgba[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    rgba[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    rgba[2] = static_cast<float>(argb & 0xFF) / 255.0f;
    rgba[3] = static_cast<float>(argb >> 24) / 255.0f;
}

// BGRA bytes as read back from GL to 0xAARRGGBB words, rows reversed when GL
// gave the bottom row first.
void ToArgb(const std::vector<uint32_t>& bgra, int width, int height, bool bottomUp,
            std::vector<uint32_t>& out) {
    out.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        int source = bottomUp ? height - 1 - y : y;
        std::memcpy(out.data() + static_cast<size_t>(y) * width,
                    bgra.data() + static_cast<size_t>(source) * width, static_cast<size_t>(width) * 4);
    }
}

}  // namespace

GlGpuDevice::GlGpuDevice(std::shared_ptr<GlShared> shared) : shared_(std::move(shared)), gl_(shared_->gl) {
    constantScratch_.reserve(256 * 4);
}

GlGpuDevice* GlGpuDevice::Create(SDL_Window* window, const GpuPresentParameters& parameters) {
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) == 0) {
        LOG_ERROR("gl", "the device window is not an OpenGL window");
        return nullptr;
    }
    // MojoShader's GLSL uses the fixed-function varyings, which need a
    // compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        LOG_ERROR("gl", "no OpenGL 3.3 context: %s", SDL_GetError());
        return nullptr;
    }
    auto shared = std::make_shared<GlShared>();
    shared->window = window;
    shared->context = context;
    shared->contextThread = std::this_thread::get_id();
    if (!shared->gl.Load()) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    shared->alive = true;
    auto* device = new GlGpuDevice(shared);
    if (!device->Initialise(parameters)) {
        device->Release();
        return nullptr;
    }
    return device;
}

GlGpuDevice::~GlGpuDevice() {
    if (stream_) {
        stream_->Release();
    }
    if (indices_) {
        indices_->Release();
    }
    if (backBuffer_) {
        backBuffer_->Release();
    }
    if (depthStencil_) {
        depthStencil_->Release();
    }
    colourTarget_.reset();
    depthTarget_.reset();
    for (auto& texture : textures_) {
        texture.reset();
    }
    if (shared_->alive) {
        SDL_GL_MakeCurrent(shared_->window, shared_->context);
        if (shaders_) {
            shaders_->ReleaseGlObjects();
        }
        gl_.DeleteSamplers(16, samplers_);
        if (presentSampler_) {
            gl_.DeleteSamplers(1, &presentSampler_);
        }
        if (whiteTexture_) {
            gl_.DeleteTextures(1, &whiteTexture_);
        }
        if (vertexArray_) {
            gl_.DeleteVertexArrays(1, &vertexArray_);
        }
        if (presentVertexArray_) {
            gl_.DeleteVertexArrays(1, &presentVertexArray_);
        }
        shared_->ReleaseGlObjects();
        shared_->alive = false;
        SDL_GL_DeleteContext(shared_->context);
    }
}

bool GlGpuDevice::Initialise(const GpuPresentParameters& parameters) {
    const char* version = reinterpret_cast<const char*>(gl_.GetString(GL_VERSION));
    const char* renderer = reinterpret_cast<const char*>(gl_.GetString(GL_RENDERER));
    LOG_INFO("gl", "OpenGL %s on %s", version ? version : "?", renderer ? renderer : "?");
    clipControl_ = gl_.ClipControl != nullptr;
    anisotropy_ = SDL_GL_ExtensionSupported("GL_EXT_texture_filter_anisotropic") ||
                  SDL_GL_ExtensionSupported("GL_ARB_texture_filter_anisotropic");
    if (clipControl_) {
        gl_.ClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    } else {
        LOG_INFO("gl", "no ARB_clip_control: vertex programs flip y and depth themselves");
    }
    shaders_ = std::make_unique<GlShaderCache>(gl_, clipControl_);
    if (shaders_->PresentProgram() == 0) {
        return false;
    }

    gl_.GenVertexArrays(1, &vertexArray_);
    gl_.GenVertexArrays(1, &presentVertexArray_);
    gl_.BindVertexArray(vertexArray_);
    // Inputs a declaration does not feed read (0, 0, 0, 1).
    for (GLuint reg = 0; reg < 16; ++reg) {
        gl_.VertexAttrib4f(reg, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    gl_.GenSamplers(16, samplers_);
    gl_.GenSamplers(1, &presentSampler_);
    gl_.SamplerParameteri(presentSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl_.SamplerParameteri(presentSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl_.SamplerParameteri(presentSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_.SamplerParameteri(presentSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    for (GLuint stage = 0; stage < 16; ++stage) {
        gl_.BindSampler(stage, samplers_[stage]);
    }
    // The fixed stage multiplies by the texture; without one it shows the diffuse colour.
    const uint32_t white = 0xFFFFFFFF;
    gl_.GenTextures(1, &whiteTexture_);
    gl_.ActiveTexture(GL_TEXTURE0 + 16);
    gl_.BindTexture(GL_TEXTURE_2D, whiteTexture_);
    gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl_.BindTexture(GL_TEXTURE_2D, 0);

    if (const char* capture = std::getenv("MARELDON_CAPTURE")) {
        GlCaptureRequest request;
        if (ParseCaptureRequest(capture, request)) {
            captureFrame_ = request.frame;
            capturePath_ = request.path;
        } else {
            LOG_WARN("gl", "MARELDON_CAPTURE=%s is not FRAME:FILE.png; no capture", capture);
        }
    }
    parameters_ = parameters;
    ApplyWindowMode();
    if (!MakeBackBuffer()) {
        return false;
    }
    ResetStates();
    return true;
}

void GlGpuDevice::ApplyWindowMode() {
    windowed_ = parameters_.Windowed != 0 || GlWindowForced();
    bool fullscreen = (SDL_GetWindowFlags(shared_->window) & SDL_WINDOW_FULLSCREEN) != 0;
    // Desktop full screen: the display keeps its mode and Present scales.
    if (fullscreen == windowed_ &&
        SDL_SetWindowFullscreen(shared_->window, windowed_ ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        LOG_WARN("gl", "cannot switch the window mode: %s", SDL_GetError());
    }
    // Interval ONE in full screen; DEFAULT in a window also waits for the
    // vertical blank.
    SDL_GL_SetSwapInterval(1);
}

bool GlGpuDevice::MakeBackBuffer() {
    uint32_t width = parameters_.BackBufferWidth;
    uint32_t height = parameters_.BackBufferHeight;
    if (width == 0 || height == 0) {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(shared_->window, &w, &h);
        width = static_cast<uint32_t>(std::max(w, 1));
        height = static_cast<uint32_t>(std::max(h, 1));
        parameters_.BackBufferWidth = width;
        parameters_.BackBufferHeight = height;
    }
    // Whatever 16- or 32-bit format was chosen, the picture is kept as 8-bit
    // RGB without alpha, which reads back 1 as the original's did.
    auto colour = std::make_shared<GlImage>(shared_, GlImage::Kind::RenderTarget, GpuFormat::X8R8G8B8, width,
                                            height, 1, kGpuUsageRenderTarget, GpuPool::DEFAULT);
    if (!colour->Create()) {
        LOG_ERROR("gl", "no back buffer of %ux%u", width, height);
        return false;
    }
    if (backBuffer_) {
        backBuffer_->Release();
    }
    if (depthStencil_) {
        depthStencil_->Release();
    }
    backBuffer_ = new GlGpuSurface(colour, 0);
    depthStencil_ = nullptr;
    if (parameters_.EnableAutoDepthStencil) {
        auto depth = std::make_shared<GlImage>(shared_, GlImage::Kind::DepthStencil,
                                               parameters_.AutoDepthStencilFormat, width, height, 1,
                                               kGpuUsageDepthStencil, GpuPool::DEFAULT);
        if (!depth->Create()) {
            LOG_ERROR("gl", "no depth buffer of format %s",
                      GpuFormatName(parameters_.AutoDepthStencilFormat));
            return false;
        }
        depthStencil_ = new GlGpuSurface(depth, 0);
    }
    colourTarget_ = backBuffer_->Image();
    colourLevel_ = 0;
    depthTarget_ = depthStencil_ ? depthStencil_->Image() : nullptr;
    targetDirty_ = true;
    viewport_ = {0, 0, width, height, 0.0f, 1.0f};
    return true;
}

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
    for (uint32_t stage = 0; stage < 16; ++stage) {
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
    for (uint32_t stage = 0; stage < 16; ++stage) {
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
            ColourFromArgb(value, rgba);
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

GpuResult GlGpuDevice::Reset(GpuPresentParameters* parameters) {
    if (parameters == nullptr) {
        return kGpuErrorInvalidCall;
    }
    SDL_GL_MakeCurrent(shared_->window, shared_->context);
    GpuPresentParameters previous = parameters_;
    parameters_ = *parameters;
    ApplyWindowMode();
    if (!MakeBackBuffer()) {
        parameters_ = previous;
        MakeBackBuffer();
        return kGpuErrorNotAvailable;
    }
    ResetStates();
    // A reset device has no scene open, so the caller's BeginScene after it
    // succeeds (as on the recording backend).
    inScene_ = false;
    return kGpuOk;
}

uint32_t GlGpuDevice::GetAvailableTextureMem() {
    return kReportedTextureMemory;
}

GpuResult GlGpuDevice::GetBackBuffer(uint32_t index, GpuBackBufferType, GpuSurface** surface) {
    if (surface == nullptr || index != 0 || backBuffer_ == nullptr) {
        return kGpuErrorInvalidCall;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return kGpuOk;
}

GpuResult GlGpuDevice::GetDepthStencilSurface(GpuSurface** surface) {
    if (surface == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *surface = depthStencil_;
    if (depthStencil_ == nullptr) {
        return kGpuErrorNotAvailable;
    }
    depthStencil_->AddRef();
    return kGpuOk;
}

GpuResult GlGpuDevice::BeginScene() {
    if (inScene_) {
        return kGpuErrorInvalidCall;
    }
    inScene_ = true;
    return kGpuOk;
}

GpuResult GlGpuDevice::EndScene() {
    if (!inScene_) {
        return kGpuErrorInvalidCall;
    }
    inScene_ = false;
    return kGpuOk;
}

GpuResult GlGpuDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                     GpuFormat format, GpuPool pool, GpuTexture** texture) {
    if (texture == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *texture = nullptr;
    if (width == 0 || height == 0) {
        return kGpuErrorInvalidCall;
    }
    uint32_t fullChain = 1;
    while ((width >> fullChain) != 0 || (height >> fullChain) != 0) {
        ++fullChain;
    }
    if (levels == 0 || levels > fullChain) {
        levels = fullChain;
    }
    if ((usage & kGpuUsageRenderTarget) && pool != GpuPool::DEFAULT) {
        return kGpuErrorInvalidCall;
    }
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::Texture, format, width, height, levels,
                                           usage, pool);
    if (!GlFormatOf(format).sampled || ((usage & kGpuUsageRenderTarget) && !GlFormatOf(format).renderable)) {
        return kGpuErrorInvalidCall;
    }
    if (!image->Create()) {
        return kGpuErrorOutOfMemory;
    }
    *texture = new GlGpuTexture(std::move(image));
    return kGpuOk;
}

GpuResult GlGpuDevice::CreateRenderTarget(uint32_t width, uint32_t height, GpuFormat format, GpuMultisample,
                                          bool, GpuSurface** surface) {
    if (surface == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *surface = nullptr;
    if (!GlFormatOf(format).renderable) {
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
    if (surface == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *surface = nullptr;
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
    if (surface == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *surface = nullptr;
    auto image = std::make_shared<GlImage>(shared_, GlImage::Kind::ImageSurface, format, width, height, 1, 0,
                                           GpuPool::SYSTEMMEM);
    if (!image->Create()) {
        return kGpuErrorInvalidCall;
    }
    *surface = new GlGpuSurface(std::move(image), 0);
    return kGpuOk;
}

GpuResult GlGpuDevice::CopyRects(GpuSurface* source, GpuSurface* destination) {
    if (source == nullptr || destination == nullptr) {
        return kGpuErrorInvalidCall;
    }
    auto* from = static_cast<GlGpuSurface*>(source);
    auto* to = static_cast<GlGpuSurface*>(destination);
    return from->Image()->CopyTo(from->Level(), *to->Image(), to->Level());
}

GpuResult GlGpuDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t, GpuPool pool,
                                          GpuBuffer** buffer) {
    return MakeBuffer(length, usage, GpuFormat::Unknown, pool, buffer);
}

GpuResult GlGpuDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                         GpuBuffer** buffer) {
    if (format != GpuFormat::INDEX16 && format != GpuFormat::INDEX32) {
        return kGpuErrorInvalidCall;
    }
    return MakeBuffer(length, usage, format, pool, buffer);
}

GpuResult GlGpuDevice::MakeBuffer(uint32_t length, uint32_t usage, GpuFormat format, GpuPool pool,
                                  GpuBuffer** buffer) {
    if (buffer == nullptr || length == 0) {
        return kGpuErrorInvalidCall;
    }
    *buffer = nullptr;
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
    if (handle == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *handle = shaders_->CreateVertexShader(declaration, function);
    return *handle ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GlGpuDevice::DeleteVertexShader(uint32_t handle) {
    if (handle == vertexShader_) {
        vertexShader_ = 0;
        programDirty_ = true;
    }
    program_ = nullptr;
    programDirty_ = true;
    return shaders_->DeleteVertexShader(handle) ? kGpuOk : kGpuErrorInvalidCall;
}

GpuResult GlGpuDevice::CreatePixelShader(const uint32_t* function, uint32_t* handle) {
    if (handle == nullptr) {
        return kGpuErrorInvalidCall;
    }
    *handle = shaders_->CreatePixelShader(function);
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

GpuResult GlGpuDevice::SetRenderState(GpuRenderState state, uint32_t value) {
    if (Index(state) >= kRenderStateCount) {
        return kGpuErrorInvalidCall;
    }
    renderStates_[Index(state)] = value;
    ApplyRenderState(state, value);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetTextureStageState(uint32_t stage, GpuTextureStageState state, uint32_t value) {
    if (stage >= 16 || Index(state) >= kStageStateCount) {
        return kGpuErrorInvalidCall;
    }
    stageStates_[stage][Index(state)] = value;
    ApplySampler(stage, state);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetTexture(uint32_t stage, GpuTexture* texture) {
    if (stage >= 16) {
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
    if (data == nullptr || reg >= 256 || count > 256 - reg) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(vertexConstants_[reg], data, count * 4 * sizeof(float));
    ++vertexGeneration_;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetPixelShaderConstant(uint32_t reg, const float* data, uint32_t count) {
    if (data == nullptr || reg >= 8 || count > 8 - reg) {
        return kGpuErrorInvalidCall;
    }
    std::memcpy(pixelConstants_[reg], data, count * 4 * sizeof(float));
    ++pixelGeneration_;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetViewport(const GpuViewport* viewport) {
    // An empty viewport is taken (draws and clears then touch nothing), as the
    // recording backend takes it; refusing it would leave the last one in use.
    if (viewport == nullptr || viewport->Width > 0x7FFFFFFF || viewport->Height > 0x7FFFFFFF) {
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
        if (!surface->Image()->Texture()) {
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

GpuResult GlGpuDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    if (targetDirty_) {
        BindTarget();
    }
    GLbitfield mask = 0;
    if (flags & kGpuClearTarget) {
        float rgba[4];
        ColourFromArgb(color, rgba);
        gl_.ClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & kGpuClearZBuffer) && depthTarget_) {
        gl_.ClearDepth(std::clamp(z, 0.0f, 1.0f));
        gl_.DepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & kGpuClearStencil) && depthTarget_) {
        gl_.ClearStencil(static_cast<GLint>(stencil & 0xFF));
        gl_.StencilMask(0xFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (mask == 0) {
        return kGpuOk;
    }
    // Clear covers the viewport only.
    gl_.Enable(GL_SCISSOR_TEST);
    gl_.Scissor(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
    gl_.Clear(mask);
    gl_.Disable(GL_SCISSOR_TEST);
    ApplyRenderState(GpuRenderState::COLORWRITEENABLE,
                     renderStates_[Index(GpuRenderState::COLORWRITEENABLE)]);
    ApplyRenderState(GpuRenderState::ZWRITEENABLE, renderStates_[Index(GpuRenderState::ZWRITEENABLE)]);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetStreamSource(uint32_t stream, GpuBuffer* buffer, uint32_t stride) {
    if (stream != 0) {
        return kGpuErrorInvalidCall;
    }
    auto* next = static_cast<GlGpuBuffer*>(buffer);
    if (next) {
        next->AddRef();
    }
    if (stream_) {
        stream_->Release();
    }
    stream_ = next;
    stride_ = stride;
    attributesDirty_ = true;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) {
    auto* next = static_cast<GlGpuBuffer*>(buffer);
    if (next) {
        next->AddRef();
    }
    if (indices_) {
        indices_->Release();
    }
    indices_ = next;
    baseVertex_ = baseVertexIndex;
    gl_.BindVertexArray(vertexArray_);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_ ? indices_->Name() : 0);
    return kGpuOk;
}

void GlGpuDevice::BindAttributes() {
    const GlVertexShader* shader = program_->vertex;
    uint32_t wanted = 0;
    gl_.BindBuffer(GL_ARRAY_BUFFER, stream_->Name());
    for (const GlVertexElement& e : shader->elements) {
        wanted |= 1u << e.reg;
        gl_.VertexAttribPointer(e.reg, e.size, e.type, e.normalized, static_cast<GLsizei>(stride_),
                                reinterpret_cast<const void*>(uintptr_t{e.offset}));
    }
    for (uint32_t reg = 0; reg < 16; ++reg) {
        uint32_t bit = 1u << reg;
        if ((wanted & bit) && !(enabledAttributes_ & bit)) {
            gl_.EnableVertexAttribArray(reg);
        }
        if (!(wanted & bit) && (enabledAttributes_ & bit)) {
            gl_.DisableVertexAttribArray(reg);
        }
    }
    enabledAttributes_ = wanted;
    attributesDirty_ = false;
}

bool GlGpuDevice::PrepareDraw() {
    // Without a vertex program there is nothing to place the vertices. GL
    // reads a stride of 0 as packed vertices, not as one vertex repeated.
    if (vertexShader_ == 0 || stream_ == nullptr || stride_ == 0) {
        return false;
    }
    shared_->FlushUploads();
    if (targetDirty_) {
        BindTarget();
    }
    if (programDirty_) {
        program_ = shaders_->Program(vertexShader_, pixelShader_);
        programDirty_ = false;
        attributesDirty_ = true;
        if (program_ && !program_->failed) {
            gl_.UseProgram(program_->name);
        }
    }
    if (program_ == nullptr || program_->failed) {
        return false;
    }
    GlProgram& p = *program_;
    if (p.vertexGeneration != vertexGeneration_ && p.vertexConstants >= 0) {
        const std::vector<uint16_t>& slots = p.vertex->source.constantSlots;
        constantScratch_.resize(slots.size() * 4);
        for (size_t i = 0; i < slots.size(); ++i) {
            std::memcpy(&constantScratch_[i * 4], vertexConstants_[slots[i] & 0xFF], 16);
        }
        gl_.Uniform4fv(p.vertexConstants, static_cast<GLsizei>(slots.size()), constantScratch_.data());
    }
    p.vertexGeneration = vertexGeneration_;
    if (p.pixel && p.pixelGeneration != pixelGeneration_ && p.pixelConstants >= 0) {
        // ps.1.1 constants hold values in [-1, 1].
        const std::vector<uint16_t>& slots = p.pixel->source.constantSlots;
        constantScratch_.resize(slots.size() * 4);
        for (size_t i = 0; i < slots.size(); ++i) {
            for (int c = 0; c < 4; ++c) {
                constantScratch_[i * 4 + c] = std::clamp(pixelConstants_[slots[i] & 7][c], -1.0f, 1.0f);
            }
        }
        gl_.Uniform4fv(p.pixelConstants, static_cast<GLsizei>(slots.size()), constantScratch_.data());
    }
    p.pixelGeneration = pixelGeneration_;
    if (p.pixelOffsetValue[0] != pixelOffset_[0] || p.pixelOffsetValue[1] != pixelOffset_[1]) {
        gl_.Uniform2f(p.pixelOffset, pixelOffset_[0], pixelOffset_[1]);
        p.pixelOffsetValue[0] = pixelOffset_[0];
        p.pixelOffsetValue[1] = pixelOffset_[1];
    }
    if (attributesDirty_) {
        BindAttributes();
    }
    bool wantWhite = p.pixel == nullptr && !textures_[0];
    if (wantWhite != whiteBound_) {
        gl_.ActiveTexture(GL_TEXTURE0);
        gl_.BindTexture(GL_TEXTURE_2D, wantWhite ? whiteTexture_ : 0);
        whiteBound_ = wantWhite;
    }
    if (p.untextured >= 0 && p.untexturedValue != (wantWhite ? 1.0f : 0.0f)) {
        p.untexturedValue = wantWhite ? 1.0f : 0.0f;
        gl_.Uniform1f(p.untextured, p.untexturedValue);
    }
    return true;
}

// Vertices past the buffer would be read from memory GL does not guard.
bool GlGpuDevice::StreamHolds(uint64_t lastVertex) const {
    GpuBufferDesc desc;
    stream_->GetDesc(&desc);
    uint32_t extent = program_->vertex->extent;
    return extent <= desc.Size && lastVertex * stride_ <= desc.Size - extent;
}

GpuResult GlGpuDevice::DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    if (primitiveCount == 0 || !PrepareDraw()) {
        return kGpuOk;
    }
    uint64_t count = VertexCount(type, primitiveCount);
    if (!StreamHolds(uint64_t{startVertex} + count - 1)) {
        return kGpuErrorInvalidCall;
    }
    gl_.DrawArrays(PrimitiveMode(type), static_cast<GLint>(startVertex), static_cast<GLsizei>(count));
    return kGpuOk;
}

GpuResult GlGpuDevice::DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t, uint32_t, uint32_t startIndex,
                                            uint32_t primitiveCount) {
    if (primitiveCount == 0 || indices_ == nullptr || !PrepareDraw()) {
        return kGpuOk;
    }
    uint64_t count = VertexCount(type, primitiveCount);
    GpuBufferDesc desc;
    indices_->GetDesc(&desc);
    uint32_t size = indices_->IndexSize();
    if ((startIndex + count) * size > desc.Size) {
        return kGpuErrorInvalidCall;
    }
    // Indices from a damaged model must not reach past the vertices either.
    if (!StreamHolds(uint64_t{baseVertex_} + indices_->MaxIndex(startIndex, static_cast<uint32_t>(count)))) {
        return kGpuErrorInvalidCall;
    }
    gl_.DrawElementsBaseVertex(
        PrimitiveMode(type), static_cast<GLsizei>(count), size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
        reinterpret_cast<const void*>(uintptr_t{startIndex} * size), static_cast<GLint>(baseVertex_));
    return kGpuOk;
}

GpuResult GlGpuDevice::Present() {
    ++presentCount_;
    PresentToWindow();
    if (keepWindowPicture_ || (captureFrame_ != 0 && presentCount_ == captureFrame_)) {
        Capture();
    }
    SDL_GL_SwapWindow(shared_->window);
    // Back to the device's own conventions and states.
    if (clipControl_) {
        gl_.ClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    }
    ApplyAllState();
    return kGpuOk;
}

void GlGpuDevice::PresentToWindow() {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(shared_->window, &width, &height);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    if (clipControl_) {
        gl_.ClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
    gl_.Disable(GL_DEPTH_TEST);
    gl_.Disable(GL_BLEND);
    gl_.Disable(GL_CULL_FACE);
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl_.Viewport(0, 0, width, height);
    gl_.DepthRange(0.0, 1.0);
    gl_.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl_.Clear(GL_COLOR_BUFFER_BIT);

    // The device's screen transform turned the picture by its rotation. In a
    // window it is turned back upright; in full screen it is shown as drawn,
    // for a cabinet whose monitor is turned instead. The rotation comes with
    // the present parameters, so a change (which resets the device) is seen.
    const GlImage& picture = *backBuffer_->Image();
    int turn = windowed_ ? static_cast<int>(parameters_.ScreenRotation & 3) : 0;
    double pictureWidth = (turn & 1) ? picture.Height() : picture.Width();
    double pictureHeight = (turn & 1) ? picture.Width() : picture.Height();
    double scale = std::min(width / pictureWidth, height / pictureHeight);
    int shownWidth = std::max(1, static_cast<int>(std::lround(pictureWidth * scale)));
    int shownHeight = std::max(1, static_cast<int>(std::lround(pictureHeight * scale)));
    gl_.Viewport((width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth, shownHeight);

    // The screen transform turned the picture by turn quarter turns
    // counter-clockwise; the same rotation finds where a point went.
    static const float kTurns[4][4] = {
        {1, 0, 0, 1}, {0, 1, -1, 0}, {-1, 0, 0, -1}, {0, -1, 1, 0}};  // column-major R(turn * 90°)
    gl_.UseProgram(shaders_->PresentProgram());
    gl_.UniformMatrix2fv(shaders_->PresentTurnUniform(), 1, GL_FALSE, kTurns[turn]);
    gl_.ActiveTexture(GL_TEXTURE0);
    gl_.BindTexture(GL_TEXTURE_2D, picture.Texture());
    gl_.BindSampler(0, presentSampler_);
    gl_.BindVertexArray(presentVertexArray_);
    gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    windowWidth_ = width;
    windowHeight_ = height;
}

void GlGpuDevice::Capture() {
    if (keepWindowPicture_) {
        std::vector<uint32_t> bgra(static_cast<size_t>(windowWidth_) * windowHeight_);
        gl_.ReadBuffer(GL_BACK);
        gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
        gl_.ReadPixels(0, 0, windowWidth_, windowHeight_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra.data());
        ToArgb(bgra, windowWidth_, windowHeight_, true, windowPixels_);
    }
    if (captureFrame_ == 0 || presentCount_ != captureFrame_) {
        return;
    }
    // The picture itself at its own size, turned as the window shows it: what a
    // window reads back depends on the window system (SDL's offscreen driver keeps
    // a window's first size when the device turns it).
    std::vector<uint32_t> drawn;
    if (!ReadPixels(backBuffer_, drawn)) {
        return;
    }
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    const int width = static_cast<int>(backBuffer_->Image()->Width());
    const int height = static_cast<int>(backBuffer_->Image()->Height());
    const int turn = windowed_ ? static_cast<int>(parameters_.ScreenRotation & 3) : 0;
    const int uprightWidth = (turn & 1) ? height : width;
    const int uprightHeight = (turn & 1) ? width : height;
    std::vector<uint32_t> upright(drawn.size());
    for (int v = 0; v < uprightHeight; ++v) {
        for (int u = 0; u < uprightWidth; ++u) {
            // Where the screen transform put the upright pixel (u, v).
            const int x = turn == 0 ? u : turn == 1 ? v : turn == 2 ? width - 1 - u : width - 1 - v;
            const int y = turn == 0 ? v : turn == 1 ? height - 1 - u : turn == 2 ? height - 1 - v : u;
            upright[static_cast<size_t>(v) * uprightWidth + u] = drawn[static_cast<size_t>(y) * width + x];
        }
    }
    if (WritePng(capturePath_, uprightWidth, uprightHeight, upright.data())) {
        LOG_INFO("gl", "frame %u written to %s", presentCount_, capturePath_.c_str());
    }
}

bool GlGpuDevice::ReadPixels(GpuSurface* surface, std::vector<uint32_t>& argb) {
    if (surface == nullptr) {
        return false;
    }
    auto* s = static_cast<GlGpuSurface*>(surface);
    const GlImage& image = *s->Image();
    if (image.Texture() == 0) {
        return false;
    }
    int width = static_cast<int>(image.Width(s->Level()));
    int height = static_cast<int>(image.Height(s->Level()));
    std::vector<uint32_t> bgra(static_cast<size_t>(width) * height);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, shared_->Framebuffer(&image, s->Level(), nullptr));
    gl_.ReadBuffer(GL_COLOR_ATTACHMENT0);
    gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_.ReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra.data());
    targetDirty_ = true;
    // Render targets hold their top row first.
    ToArgb(bgra, width, height, false, argb);
    return true;
}

}  // namespace mareldon
