// The device's context, back buffer, reset, scenes and presentation.
#include "engine/platform/gl/GlGpuDevice.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "engine/platform/gl/GlGpu.h"

namespace mareldon {
namespace {

// Vertex constant registers the device keeps, whatever the adapter reports.
constexpr uint32_t kVertexRegisterStore = 256;

}  // namespace

GlGpuDevice::GlGpuDevice(std::shared_ptr<GlShared> shared, const GpuCaps& caps)
    : shared_(std::move(shared)),
      gl_(shared_->gl),
      caps_(caps),
      vertexRegisters_(std::min(caps.MaxVertexShaderConst, kVertexRegisterStore)) {
    static_assert(sizeof vertexConstants_ / sizeof vertexConstants_[0] == kVertexRegisterStore);
    constantScratch_.reserve(kVertexRegisterStore * 4);
}

GlGpuDevice* GlGpuDevice::Create(SDL_Window* window, const GpuPresentParameters& parameters,
                                 const GpuCaps& caps) {
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
    auto* device = new GlGpuDevice(shared, caps);
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
        if (presenter_) {
            presenter_->ReleaseGlObjects();
        }
        gl_.DeleteSamplers(kGpuTextureStages, samplers_);
        if (whiteTexture_) {
            gl_.DeleteTextures(1, &whiteTexture_);
        }
        if (vertexArray_) {
            gl_.DeleteVertexArrays(1, &vertexArray_);
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
    presenter_ = std::make_unique<GlPresenter>(gl_, shared_->window, *shaders_, clipControl_);

    gl_.GenVertexArrays(1, &vertexArray_);
    gl_.BindVertexArray(vertexArray_);
    // Inputs a declaration does not feed read (0, 0, 0, 1).
    for (GLuint reg = 0; reg < kGpuVertexInputs; ++reg) {
        gl_.VertexAttrib4f(reg, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    gl_.GenSamplers(kGpuTextureStages, samplers_);
    for (GLuint stage = 0; stage < kGpuTextureStages; ++stage) {
        gl_.BindSampler(stage, samplers_[stage]);
    }
    // The fixed stage multiplies by the texture; without one it shows the diffuse colour.
    const uint32_t white = 0xFFFFFFFF;
    gl_.GenTextures(1, &whiteTexture_);
    gl_.ActiveTexture(GL_TEXTURE0 + kGpuTextureStages);
    gl_.BindTexture(GL_TEXTURE_2D, whiteTexture_);
    gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl_.BindTexture(GL_TEXTURE_2D, 0);

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

GpuResult GlGpuDevice::Reset(GpuPresentParameters* parameters) {
    if (GpuFailed(GpuContract::PresentParameters(parameters))) {
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
    inScene_ = false;  // a reset ends the scene
    return kGpuOk;
}

GpuResult GlGpuDevice::GetBackBuffer(uint32_t index, GpuBackBufferType, GpuSurface** surface) {
    if (GpuFailed(GpuContract::GetBackBuffer(index, surface))) {
        return kGpuErrorInvalidCall;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return kGpuOk;
}

GpuResult GlGpuDevice::GetDepthStencilSurface(GpuSurface** surface) {
    GpuResult result = GpuContract::GetDepthStencilSurface(depthStencil_ != nullptr, surface);
    if (GpuFailed(result)) {
        return result;
    }
    depthStencil_->AddRef();
    *surface = depthStencil_;
    return kGpuOk;
}

GpuResult GlGpuDevice::BeginScene() {
    return GpuContract::BeginScene(inScene_);
}

GpuResult GlGpuDevice::EndScene() {
    return GpuContract::EndScene(inScene_);
}

GpuResult GlGpuDevice::Present() {
    if (GpuFailed(GpuContract::Present(inScene_))) {
        return kGpuErrorInvalidCall;
    }
    // The device's screen transform turned the picture by its rotation. In a
    // window it is turned back upright; in full screen it is shown as drawn,
    // for a cabinet whose monitor is turned instead; a capture is upright either
    // way. The rotation comes with the present parameters, so a change (which
    // resets the device) is seen.
    const uint32_t rotation = parameters_.ScreenRotation & 3;
    presenter_->Present(*backBuffer_->Image(), windowed_ ? rotation : 0, rotation);
    // Back to the device's own conventions and states.
    if (clipControl_) {
        gl_.ClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    }
    ApplyAllState();
    return kGpuOk;
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
    GlToArgb(bgra, width, height, false, argb);
    return true;
}

}  // namespace mareldon
