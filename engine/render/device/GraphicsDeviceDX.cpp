#include "engine/render/device/GraphicsDeviceDX.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "engine/core/Log.h"
#include "engine/platform/GpuBackend.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexShader.h"
#include "engine/render/device/WindowDeviceWindow.h"

namespace mareldon {

namespace {

uint32_t FloatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A border colour channel: value x 255, low 8 bits; out-of-range values clamp first, and
// a NaN counts as 0 (no float reaches the integer conversion outside its range).
uint32_t ColorChannel(float value) {
    if (!(value > 0.0f)) {
        return 0;
    }
    return static_cast<uint32_t>(std::min(value, 1.0f) * 255.0f) & 0xFF;
}

constexpr GpuFormat kFullScreenFormats[] = {GpuFormat::R5G6B5, GpuFormat::X1R5G5B5, GpuFormat::X8R8G8B8};
constexpr GpuFormat kTextureFormats[] = {GpuFormat::A4R4G4B4, GpuFormat::A1R5G5B5, GpuFormat::A8R3G3B2,
                                         GpuFormat::R5G6B5,   GpuFormat::X1R5G5B5, GpuFormat::X4R4G4B4};
constexpr GpuFormat kDepthFormats[] = {GpuFormat::D16,   GpuFormat::D16_LOCKABLE, GpuFormat::D15S1,
                                       GpuFormat::D24S8, GpuFormat::D24X4S4,      GpuFormat::D32,
                                       GpuFormat::D24X8};

}  // namespace

GraphicsDeviceDX::GraphicsDeviceDX(GpuBackend* backend, DeviceWindow* window, int32_t windowed,
                                   uint32_t /*flags*/, int32_t screenWidth, int32_t screenHeight,
                                   int32_t rotation)
    : backend_(backend),
      window_(window),
      windowed_(windowed),
      rotation_(0),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
    Create(rotation);
}

GraphicsDeviceDX::GraphicsDeviceDX(GpuBackend* backend, Window* window, int32_t windowed, uint32_t /*flags*/,
                                   int32_t screenWidth, int32_t screenHeight, int32_t rotation)
    : backend_(backend),
      ownedWindow_(std::make_unique<WindowDeviceWindow>(window)),
      window_(ownedWindow_.get()),
      windowed_(windowed),
      rotation_(0),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
    Create(rotation);
}

void GraphicsDeviceDX::Create(int32_t rotation) {
    // Saved as for rotation 0, restored under the real rotation: turns the window's client area.
    SavePlacement();
    rotation_ = rotation & 3;
    RestorePlacement();

    object_.Reset(backend_ != nullptr ? backend_->CreateObject(kGpuSdkVersion) : nullptr);
    if (!object_) {
        creationError_ = kGpuErrorNoObject;
        LOG_ERROR("render", "no graphics object (error 0x%08X)", creationError_);
        return;
    }
    GpuDisplayMode displayMode;
    object_->GetAdapterDisplayMode(0, &displayMode);
    for (GpuDeviceType type : {GpuDeviceType::HAL, GpuDeviceType::REF}) {
        if (CreateDevice(type, displayMode)) {
            break;
        }
    }
    SavePlacement();
    deviceLost_ = false;
    if (!device_) {
        LOG_ERROR("render", "no graphics device could be made; drawing is off");
        return;
    }
    screen_.Reset(Texture::CreateScreen(this));
    ApplyDefaultStates();
    ResetConstants();
    device_->BeginScene();
    viewport_ = GpuViewport{0, 0, 0, 0, 0.0f, 0.0f};
}

GraphicsDeviceDX::~GraphicsDeviceDX() {
    // Textures still held elsewhere must not reach this device any more.
    if (Texture* head = screen_.Get()) {
        Texture* texture = head->NextInRing();
        while (texture != head) {
            Texture* next = texture->NextInRing();
            texture->Detach();
            texture = next;
        }
        head->Detach();
    }
    screen_.Reset();
    renderTarget_.Reset();
    for (auto& texture : textures_) {
        texture.Reset();
    }
    streamBuffer_.Reset();
    indexBuffer_.Reset();
    device_.Reset();
    object_.Reset();
}

bool GraphicsDeviceDX::CreateDevice(GpuDeviceType type, const GpuDisplayMode& displayMode) {
    if (GpuFailed(object_->GetDeviceCaps(0, type, &caps_))) {
        return false;
    }
    // The constant cache has 256 registers; no device gets more.
    maxVertexShaderConstants_ = std::min<uint32_t>(caps_.MaxVertexShaderConst, 256);

    if (windowed_) {
        backBufferFormat_ = displayMode.Format;
    } else {
        backBufferFormat_ = GpuFormat::Unknown;
        for (GpuFormat format : kFullScreenFormats) {
            if (!GpuFailed(object_->CheckDeviceType(0, type, format, format, false))) {
                backBufferFormat_ = format;
                break;
            }
        }
        if (backBufferFormat_ == GpuFormat::Unknown) {
            return false;
        }
    }
    // Texture, then depth-stencil format: the first of each list the adapter accepts.
    const struct {
        std::span<const GpuFormat> candidates;
        uint32_t usage;
        GpuResourceType resource;
        GpuFormat& chosen;
    } formatChoices[] = {
        {kTextureFormats, 0, GpuResourceType::Texture, textureFormat_},
        {kDepthFormats, kGpuUsageDepthStencil, GpuResourceType::Surface, depthFormat_},
    };
    for (const auto& choice : formatChoices) {
        choice.chosen = GpuFormat::Unknown;
        for (GpuFormat format : choice.candidates) {
            if (!GpuFailed(object_->CheckDeviceFormat(0, type, backBufferFormat_, choice.usage,
                                                      choice.resource, format))) {
                choice.chosen = format;
                break;
            }
        }
        if (choice.chosen == GpuFormat::Unknown) {
            return false;
        }
    }

    // Smallest mode of the back-buffer format that holds the screen upright, and on its side.
    auto search = [&](int32_t minWidth, int32_t minHeight, int32_t* width, int32_t* height) {
        *width = 32767;
        *height = 32767;
        uint32_t count = object_->GetAdapterModeCount(0);
        for (uint32_t i = 0; i < count; ++i) {
            GpuDisplayMode mode;
            if (GpuFailed(object_->EnumAdapterModes(0, i, &mode)) || mode.Format != backBufferFormat_) {
                continue;
            }
            int64_t w = mode.Width, h = mode.Height;
            if (w >= minWidth && h >= minHeight && w * h < int64_t{*width} * *height) {
                *width = static_cast<int32_t>(w);
                *height = static_cast<int32_t>(h);
            }
        }
    };
    search(screenWidth_, screenHeight_, &portraitWidth_, &portraitHeight_);
    search(screenHeight_, screenWidth_, &landscapeWidth_, &landscapeHeight_);

    // Width, height and rotation follow from the window mode (ComputeBackBufferSize).
    parameters_ = GpuPresentParameters{
        .BackBufferFormat = backBufferFormat_,
        .BackBufferCount = 1,
        .MultiSampleType = GpuMultisample::NONE,
        .SwapEffect = GpuSwapEffect::DISCARD,
        .hDeviceWindow = window_ ? window_->NativeHandle() : nullptr,
        .Windowed = windowed_ != 0,
        .EnableAutoDepthStencil = 1,
        .AutoDepthStencilFormat = depthFormat_,
        .Flags = 0,
        .FullScreen_RefreshRateInHz = 0,
        .FullScreen_PresentationInterval = windowed_ ? kGpuPresentIntervalDefault : kGpuPresentIntervalOne,
    };
    ComputeBackBufferSize();

    GpuWindowHandle focus = nullptr;
    if (window_) {
        focus = window_->ParentNativeHandle() ? window_->ParentNativeHandle() : window_->NativeHandle();
    }
    const uint32_t hardware[] = {kGpuCreatePureDevice | kGpuCreateHardwareVertexProcessing,
                                 kGpuCreateHardwareVertexProcessing, kGpuCreateSoftwareVertexProcessing};
    const uint32_t software[] = {kGpuCreateSoftwareVertexProcessing};
    std::span<const uint32_t> behaviours = GpuShaderVersionNumber(caps_.VertexShaderVersion) < 0x101
                                               ? std::span<const uint32_t>(software)
                                               : std::span<const uint32_t>(hardware);
    for (uint32_t behaviour : behaviours) {
        GpuPresentParameters parameters = parameters_;
        if (!GpuFailed(object_->CreateDevice(0, type, focus, behaviour, &parameters, device_.Receive()))) {
            return true;
        }
    }
    device_.Reset();
    return false;
}

void GraphicsDeviceDX::ComputeBackBufferSize() {
    bool turned = (rotation_ & 1) != 0;
    int32_t width, height;
    if (windowed_) {
        width = turned ? screenHeight_ : screenWidth_;
        height = turned ? screenWidth_ : screenHeight_;
    } else {
        FullScreenMode(&width, &height);
    }
    parameters_.BackBufferWidth = static_cast<uint32_t>(width);
    parameters_.BackBufferHeight = static_cast<uint32_t>(height);
    parameters_.ScreenRotation = static_cast<uint32_t>(rotation_);
}

void GraphicsDeviceDX::FullScreenMode(int32_t* width, int32_t* height) const {
    bool turned = (rotation_ & 1) != 0;
    *width = turned ? landscapeWidth_ : portraitWidth_;
    *height = turned ? landscapeHeight_ : portraitHeight_;
}

void GraphicsDeviceDX::SetRenderState(GpuRenderState state, uint32_t value) {
    device_->SetRenderState(state, value);
}

void GraphicsDeviceDX::ApplyDefaultStates() {
    using S = GpuRenderState;
    static const std::pair<GpuRenderState, uint32_t> defaults[] = {
        {S::ALPHATESTENABLE, gpu::kTrue},
        {S::SRCBLEND, gpu::BLEND_SRCALPHA},
        {S::DESTBLEND, gpu::BLEND_INVSRCALPHA},
        {S::ALPHAREF, 0},
        {S::ALPHAFUNC, gpu::CMP_GREATER},
        {S::ALPHABLENDENABLE, gpu::kTrue},
        {S::BLENDOP, gpu::BLENDOP_ADD},
        {S::SPECULARENABLE, gpu::kFalse},
        {S::LIGHTING, gpu::kFalse},
        {S::AMBIENT, 0},
        {S::COLORVERTEX, gpu::kFalse},
        {S::LOCALVIEWER, gpu::kFalse},
        {S::DIFFUSEMATERIALSOURCE, gpu::MCS_COLOR1},
        {S::SPECULARMATERIALSOURCE, gpu::MCS_COLOR2},
        {S::AMBIENTMATERIALSOURCE, gpu::MCS_MATERIAL},
        {S::EMISSIVEMATERIALSOURCE, gpu::MCS_MATERIAL},
        {S::FILLMODE, gpu::FILL_SOLID},
        {S::SHADEMODE, gpu::SHADE_GOURAUD},
        {S::LASTPIXEL, gpu::kTrue},
        {S::DITHERENABLE, gpu::kTrue},
        {S::MULTISAMPLEANTIALIAS, gpu::kFalse},
        {S::MULTISAMPLEMASK, 0xFFFFFFFF},
        {S::COLORWRITEENABLE, 0xF},
        {S::POINTSPRITEENABLE, gpu::kFalse},
        {S::POINTSIZE, FloatBits(1.0f)},
        {S::POINTSIZE_MIN, FloatBits(1.0f)},
        {S::POINTSIZE_MAX, FloatBits(64.0f)},
        {S::POINTSCALEENABLE, gpu::kFalse},
        {S::POINTSCALE_A, FloatBits(1.0f)},
        {S::POINTSCALE_B, FloatBits(0.0f)},
        {S::POINTSCALE_C, FloatBits(0.0f)},
        {S::FOGENABLE, gpu::kFalse},
        {S::FOGCOLOR, 0},
        {S::FOGTABLEMODE, gpu::FOG_NONE},
        {S::FOGSTART, FloatBits(0.0f)},
        {S::FOGEND, FloatBits(0.0f)},
        {S::FOGDENSITY, FloatBits(1.0f)},
        {S::RANGEFOGENABLE, gpu::kFalse},
        {S::FOGVERTEXMODE, gpu::FOG_NONE},
        {S::ZENABLE, gpu::kTrue},
        {S::ZWRITEENABLE, gpu::kTrue},
        {S::ZFUNC, gpu::CMP_LESSEQUAL},
        {S::STENCILENABLE, gpu::kFalse},
        {S::STENCILFAIL, gpu::STENCILOP_KEEP},
        {S::STENCILZFAIL, gpu::STENCILOP_KEEP},
        {S::STENCILPASS, gpu::STENCILOP_KEEP},
        {S::STENCILFUNC, gpu::CMP_ALWAYS},
        {S::STENCILREF, 0},
        {S::STENCILMASK, 0xFFFFFFFF},
        {S::STENCILWRITEMASK, 0xFFFFFFFF},
        {S::TEXTUREFACTOR, 0xFFFFFFFF},
        {S::WRAP0, 0},
        {S::WRAP1, 0},
        {S::WRAP2, 0},
        {S::WRAP3, 0},
        {S::WRAP4, 0},
        {S::WRAP5, 0},
        {S::WRAP6, 0},
        {S::WRAP7, 0},
        {S::CULLMODE, gpu::CULL_CCW},
        {S::CLIPPING, gpu::kTrue},
        {S::NORMALIZENORMALS, gpu::kFalse},
        {S::VERTEXBLEND, gpu::VBF_DISABLE},
        {S::CLIPPLANEENABLE, 0},
        {S::INDEXEDVERTEXBLENDENABLE, gpu::kFalse},
        {S::TWEENFACTOR, FloatBits(0.0f)},
        {S::PATCHEDGESTYLE, gpu::PATCH_DISCRETE},
        {S::DEBUGMONITORTOKEN, gpu::DMT_DISABLE},
    };
    for (const auto& [state, value] : defaults) {
        SetRenderState(state, value);
    }
    renderStates_ = RenderStateBlock{};

    using T = GpuTextureStageState;
    static const std::pair<GpuTextureStageState, uint32_t> stageDefaults[] = {
        {T::ADDRESSU, gpu::TADDRESS_WRAP},
        {T::ADDRESSV, gpu::TADDRESS_WRAP},
        {T::ADDRESSW, gpu::TADDRESS_WRAP},
        {T::BORDERCOLOR, 0},
        {T::MAGFILTER, gpu::TEXF_NONE},
        {T::MINFILTER, gpu::TEXF_LINEAR},
        {T::MIPFILTER, gpu::TEXF_LINEAR},
        {T::MIPMAPLODBIAS, 0},
        {T::MAXMIPLEVEL, 0},
        {T::MAXANISOTROPY, 1},
    };
    for (uint32_t stage = 0; stage < 8; ++stage) {
        for (const auto& [state, value] : stageDefaults) {
            device_->SetTextureStageState(stage, state, value);
        }
        // All zero: Wrap and None filters count as set, though the device filters linearly.
        samplers_[stage] = SamplerState{};
    }
    streamBuffer_.Reset();
    indexBuffer_.Reset();
    for (auto& texture : textures_) {
        texture.Reset();
    }
    baseVertexIndex_ = -1;
}

void GraphicsDeviceDX::ResetConstants() {
    std::memset(vertexConstants_, 0, sizeof vertexConstants_);
    device_->SetVertexShaderConstant(0, &vertexConstants_[0][0], maxVertexShaderConstants_);
    vertexShader_ = 0;
    std::memset(pixelConstants_, 0, sizeof pixelConstants_);
    device_->SetPixelShaderConstant(0, &pixelConstants_[0][0], 8);
    pixelShader_ = 0;
}

void GraphicsDeviceDX::SavePlacement() {
    if (!window_ || !window_->NativeHandle()) {
        return;
    }
    int x = 0, y = 0, width = 0, height = 0;
    window_->GetPosition(&x, &y);
    window_->GetClientSize(&width, &height);
    bool turned = (rotation_ & 1) != 0;
    placementX_ = x;
    placementY_ = y;
    placementWidth_ = turned ? height : width;
    placementHeight_ = turned ? width : height;
}

void GraphicsDeviceDX::RestorePlacement() {
    if (!window_ || !window_->NativeHandle()) {
        return;
    }
    bool turned = (rotation_ & 1) != 0;
    window_->SetPosition(placementX_, placementY_);
    window_->SetClientSize(turned ? placementHeight_ : placementWidth_,
                           turned ? placementWidth_ : placementHeight_);
}

bool GraphicsDeviceDX::IsRunning() {
    return window_ && window_->NativeHandle() != nullptr;
}

bool GraphicsDeviceDX::Present() {
    if (!IsRunning() || !device_) {
        return false;
    }
    statistics_.availableTextureMemory = device_->GetAvailableTextureMem();
    statistics_.previousPrimitives = std::exchange(statistics_.primitives, 0);
    statistics_.previousDrawCalls = std::exchange(statistics_.drawCalls, 0);
    statistics_.previousVertices = std::exchange(statistics_.vertices, 0);
    for (int i = 0; i < 6; ++i) {
        statistics_.previousChanges[i] = std::exchange(statistics_.changes[i], 0);
    }

    device_->EndScene();
    GpuResult level = device_->TestCooperativeLevel();
    if (level == kGpuErrorDeviceNotReset) {
        deviceLost_ = true;
    } else if (GpuFailed(level)) {
        return false;
    } else {
        device_->Present();
        device_->BeginScene();
    }

    if (deviceLost_) {
        deviceLost_ = false;
        if (!ResetDevice()) {
            return false;
        }
    }
    if (windowed_) {
        SavePlacement();
    }
    return true;
}

bool GraphicsDeviceDX::ResetDevice() {
    Texture* head = screen_.Get();
    if (head) {
        Texture* texture = head;
        do {
            texture->ReleaseDefaultPool();
            texture = texture->NextInRing();
        } while (texture != head);
    }
    // The caches let go of what they hold, so no default-pool object outlives the reset.
    // Every cache is cleared below anyway; the render target's is re-sent either way, as
    // its surface is new.
    renderTarget_.Reset();
    for (auto& texture : textures_) {
        texture.Reset();
    }
    streamBuffer_.Reset();
    indexBuffer_.Reset();
    GpuPresentParameters parameters = parameters_;
    if (GpuFailed(device_->Reset(&parameters))) {
        // The default-pool surfaces are gone: try again on the next present, as a device
        // left lost by a failed reset would ask for, rather than draw without a screen.
        LOG_WARN("render", "device reset failed; trying again on the next present");
        deviceLost_ = true;
        return false;
    }
    if (!windowed_) {
        device_->Clear(kGpuClearTarget, 0, 1.0f, 0);
        device_->Present();
        device_->Clear(kGpuClearTarget, 0, 1.0f, 0);
    } else {
        RestorePlacement();
    }
    if (head) {
        Texture* texture = head;
        do {
            texture->Restore();
            texture = texture->NextInRing();
        } while (texture != head);
    }
    ApplyDefaultStates();
    ResetConstants();
    device_->BeginScene();
    return true;
}

void GraphicsDeviceDX::SetWindowed(int32_t windowed) {
    if (windowed == windowed_) {
        return;
    }
    windowed_ = windowed;
    deviceLost_ = true;
    ComputeBackBufferSize();
    parameters_.Windowed = windowed != 0;
    // A windowed device presents at the default interval, as at creation.
    parameters_.FullScreen_PresentationInterval =
        windowed ? kGpuPresentIntervalDefault : kGpuPresentIntervalOne;
}

void GraphicsDeviceDX::SetRotation(int32_t rotation) {
    if ((rotation & 3) == rotation_) {
        return;
    }
    rotation_ = rotation & 3;
    deviceLost_ = true;
    ComputeBackBufferSize();
}

int32_t GraphicsDeviceDX::ScreenOffsetX() {
    return screen_.Get() ? screen_->OffsetX() : 0;
}

int32_t GraphicsDeviceDX::ScreenOffsetY() {
    return screen_.Get() ? screen_->OffsetY() : 0;
}

RefPtr<Texture> GraphicsDeviceDX::CreateTextureFromData(uint32_t flags, const void* data, uint32_t size) {
    RefPtr<Texture> texture;
    if (device_) {
        texture.Reset(Texture::CreateFromData(this, flags, data, size));
    }
    return texture;
}

RefPtr<Texture> GraphicsDeviceDX::CreateTexture(uint32_t flags, int32_t width, int32_t height) {
    RefPtr<Texture> texture;
    if (device_) {
        texture.Reset(Texture::CreateEmpty(this, flags, width, height));
    }
    return texture;
}

RefPtr<VertexShader> GraphicsDeviceDX::CreateVertexShader(std::string_view text, const VertexLayout& layout) {
    RefPtr<VertexShader> shader;
    if (device_) {
        shader.Reset(VertexShader::Create(this, text, layout));
    }
    return shader;
}

RefPtr<PixelShader> GraphicsDeviceDX::CreatePixelShader(std::string_view text) {
    RefPtr<PixelShader> shader;
    if (device_) {
        shader.Reset(PixelShader::Create(this, text));
    }
    return shader;
}

RefPtr<VertexBuffer> GraphicsDeviceDX::CreateVertexBuffer(uint32_t vertexSize, uint32_t vertexCount,
                                                          const void* bytes, uint32_t memoryFlag) {
    RefPtr<VertexBuffer> buffer;
    if (device_) {
        buffer.Reset(VertexBuffer::Create(this, vertexSize, vertexCount, bytes, memoryFlag));
    }
    return buffer;
}

RefPtr<IndexBuffer> GraphicsDeviceDX::CreateIndexBuffer(uint32_t indexCount, const void* bytes,
                                                        uint32_t flags) {
    RefPtr<IndexBuffer> buffer;
    if (device_) {
        buffer.Reset(IndexBuffer::Create(this, indexCount, bytes, flags));
    }
    return buffer;
}

RefPtr<GeometryBuffer> GraphicsDeviceDX::CreateGeometryBuffer(int32_t kind, const VertexLayout&,
                                                              const RefPtr<VertexBuffer>& vertices,
                                                              int32_t start, int32_t vertexCount,
                                                              const RefPtr<IndexBuffer>& indices,
                                                              int32_t startIndex, int32_t indexCount) {
    RefPtr<GeometryBuffer> geometry;
    if (device_) {
        geometry.Reset(
            new GeometryBuffer(this, kind, vertices, start, vertexCount, indices, startIndex, indexCount));
    }
    return geometry;
}

void GraphicsDeviceDX::SetTexture(uint32_t stage, TextureBase* front) {
    if (!device_ || stage >= 16) {
        return;
    }
    Texture* inner = front ? front->DeviceTexture() : nullptr;
    GpuTexture* texture = inner ? inner->GpuTextureObject() : nullptr;
    if (texture != textures_[stage].Get()) {
        textures_[stage] = GpuPtr<GpuTexture>::Share(texture);
        ++statistics_.changes[DeviceStatistics::TextureChanges];
        device_->SetTexture(stage, texture);
    }
}

void GraphicsDeviceDX::SetVertexShader(const RefPtr<VertexShader>& shader) {
    uint32_t handle = shader.Get() ? shader->Handle() : 0;
    if (device_ && handle != vertexShader_) {
        vertexShader_ = handle;
        ++statistics_.changes[DeviceStatistics::VertexShaderChanges];
        device_->SetVertexShader(handle);
    }
}

void GraphicsDeviceDX::SetPixelShader(const RefPtr<PixelShader>& shader) {
    uint32_t handle = shader.Get() ? shader->Handle() : 0;
    if (device_ && handle != pixelShader_) {
        pixelShader_ = handle;
        ++statistics_.changes[DeviceStatistics::PixelShaderChanges];
        device_->SetPixelShader(handle);
    }
}

namespace {

// Sends each register that differs from the cache, one register per call.
template <class Send>
void SendChangedRegisters(float (*cache)[4], uint32_t size, uint32_t first, const float* data, uint32_t count,
                          Send send) {
    if (!data || first >= size) {
        return;
    }
    count = std::min(count, size - first);
    for (uint32_t i = 0; i < count; ++i) {
        const float* value = data + i * 4;
        float* cached = cache[first + i];
        if (value[0] != cached[0] || value[1] != cached[1] || value[2] != cached[2] ||
            value[3] != cached[3]) {
            send(first + i, value);
            std::memcpy(cached, value, 4 * sizeof(float));
        }
    }
}

}  // namespace

void GraphicsDeviceDX::SetVertexShaderConstant(uint32_t first, const float* data, uint32_t count) {
    if (device_) {
        SendChangedRegisters(
            vertexConstants_, 256, first, data, count,
            [&](uint32_t reg, const float* value) { device_->SetVertexShaderConstant(reg, value, 1); });
    }
}

void GraphicsDeviceDX::SetPixelShaderConstant(uint32_t first, const float* data, uint32_t count) {
    if (device_) {
        SendChangedRegisters(pixelConstants_, 8, first, data, count, [&](uint32_t reg, const float* value) {
            device_->SetPixelShaderConstant(reg, value, 1);
        });
    }
}

void GraphicsDeviceDX::SetSamplerState(uint32_t stage, const SamplerState& state) {
    if (!device_ || stage >= 16) {
        return;
    }
    SamplerState& cached = samplers_[stage];
    auto address = [&](TextureAddress value, TextureAddress& slot, GpuTextureStageState name) {
        if (value != slot) {
            slot = value;
            device_->SetTextureStageState(stage, name, static_cast<uint32_t>(value) + 1);
        }
    };
    address(state.addressU, cached.addressU, GpuTextureStageState::ADDRESSU);
    address(state.addressV, cached.addressV, GpuTextureStageState::ADDRESSV);
    address(state.addressW, cached.addressW, GpuTextureStageState::ADDRESSW);
    if (!std::equal(std::begin(state.borderColor), std::end(state.borderColor),
                    std::begin(cached.borderColor))) {
        std::copy(std::begin(state.borderColor), std::end(state.borderColor), std::begin(cached.borderColor));
        const float* c = state.borderColor;
        uint32_t color = ColorChannel(c[3]) << 24 | ColorChannel(c[0]) << 16 | ColorChannel(c[1]) << 8 |
                         ColorChannel(c[2]);
        device_->SetTextureStageState(stage, GpuTextureStageState::BORDERCOLOR, color);
    }
    auto filter = [&](TextureFilter value, TextureFilter& slot, GpuTextureStageState name) {
        if (value != slot) {
            slot = value;
            device_->SetTextureStageState(stage, name, static_cast<uint32_t>(value));
        }
    };
    filter(state.magFilter, cached.magFilter, GpuTextureStageState::MAGFILTER);
    filter(state.minFilter, cached.minFilter, GpuTextureStageState::MINFILTER);
    filter(state.mipFilter, cached.mipFilter, GpuTextureStageState::MIPFILTER);
}

const SamplerState* GraphicsDeviceDX::GetSamplerState(uint32_t stage) {
    return stage < 16 ? &samplers_[stage] : nullptr;
}

void GraphicsDeviceDX::SetRenderStateBlock(const RenderStateBlock& block) {
    SetSrcBlend(static_cast<BlendFactor>(block.srcBlend));
    SetDestBlend(static_cast<BlendFactor>(block.destBlend));
    SetFillMode(static_cast<FillMode>(block.fillMode));
    SetCullMode(static_cast<CullMode>(block.cullMode));
    SetZFunc(static_cast<CompareFunc>(block.zFunc));
    SetZWrite(block.zWrite);
}

namespace {

// Stores value and sends it as index + 1 when it differs from the cached word.
template <class Enum>
bool Changed(int32_t& slot, Enum value) {
    if (static_cast<int32_t>(value) == slot) {
        return false;
    }
    slot = static_cast<int32_t>(value);
    return true;
}

}  // namespace

void GraphicsDeviceDX::SetSrcBlend(BlendFactor factor) {
    if (device_ && Changed(renderStates_.srcBlend, factor)) {
        SetRenderState(GpuRenderState::SRCBLEND, static_cast<uint32_t>(factor) + 1);
    }
}

void GraphicsDeviceDX::SetDestBlend(BlendFactor factor) {
    if (device_ && Changed(renderStates_.destBlend, factor)) {
        SetRenderState(GpuRenderState::DESTBLEND, static_cast<uint32_t>(factor) + 1);
    }
}

void GraphicsDeviceDX::SetFillMode(FillMode mode) {
    if (device_ && Changed(renderStates_.fillMode, mode)) {
        SetRenderState(GpuRenderState::FILLMODE, static_cast<uint32_t>(mode) + 1);
    }
}

void GraphicsDeviceDX::SetCullMode(CullMode mode) {
    if (device_ && Changed(renderStates_.cullMode, mode)) {
        SetRenderState(GpuRenderState::CULLMODE, static_cast<uint32_t>(mode) + 1);
    }
}

void GraphicsDeviceDX::SetZFunc(CompareFunc func) {
    if (device_ && Changed(renderStates_.zFunc, func)) {
        SetRenderState(GpuRenderState::ZFUNC, static_cast<uint32_t>(func) + 1);
    }
}

void GraphicsDeviceDX::SetZWrite(int32_t write) {
    if (device_ && Changed(renderStates_.zWrite, write)) {
        SetRenderState(GpuRenderState::ZWRITEENABLE, write == 1 ? gpu::kTrue : gpu::kFalse);
    }
}

void GraphicsDeviceDX::BindRenderTarget(GpuSurface* color, GpuSurface* depth) {
    if (device_ && color != renderTarget_.Get()) {
        renderTarget_ = GpuPtr<GpuSurface>::Share(color);
        device_->SetRenderTarget(color, depth);
    }
}

void GraphicsDeviceDX::SetDeviceViewport(const GpuViewport& viewport) {
    // The record keeps its creation zeros, so every viewport but an all-zero one is sent.
    if (device_ && (viewport.X != viewport_.X || viewport.Y != viewport_.Y ||
                    viewport.Width != viewport_.Width || viewport.Height != viewport_.Height ||
                    viewport.MinZ != viewport_.MinZ || viewport.MaxZ != viewport_.MaxZ)) {
        device_->SetViewport(&viewport);
    }
}

void GraphicsDeviceDX::DrawGeometryBuffer(GeometryBuffer& geometry) {
    VertexBuffer* vertices = geometry.Vertices().Get();
    IndexBuffer* indices = geometry.Indices().Get();
    GpuBuffer* indexBuffer = indices ? indices->Buffer() : nullptr;
    int32_t primitives = geometry.PrimitiveCount();
    // Nothing to draw from: no vertices, indices counted but missing, or a count the kind cannot draw.
    if (!device_ || !vertices || !vertices->Buffer() || (geometry.Indexed() && !indexBuffer) ||
        primitives <= 0) {
        return;
    }
    if (vertices->Buffer() != streamBuffer_.Get()) {
        streamBuffer_ = GpuPtr<GpuBuffer>::Share(vertices->Buffer());
        ++statistics_.changes[DeviceStatistics::StreamChanges];
        device_->SetStreamSource(0, vertices->Buffer(), vertices->VertexSize());
    }
    auto type = geometry.Type();
    if (indexBuffer) {
        if (indexBuffer != indexBuffer_.Get() || geometry.Start() != baseVertexIndex_) {
            indexBuffer_ = GpuPtr<GpuBuffer>::Share(indexBuffer);
            baseVertexIndex_ = geometry.Start();
            ++statistics_.changes[DeviceStatistics::IndexChanges];
            device_->SetIndices(indexBuffer, static_cast<uint32_t>(geometry.Start()));
        }
        device_->DrawIndexedPrimitive(type, 0, static_cast<uint32_t>(geometry.VertexCount()),
                                      static_cast<uint32_t>(geometry.StartIndex()),
                                      static_cast<uint32_t>(primitives));
        statistics_.vertices += static_cast<uint32_t>(geometry.IndexCount());
    } else {
        device_->DrawPrimitive(type, static_cast<uint32_t>(geometry.Start()),
                               static_cast<uint32_t>(primitives));
        statistics_.vertices += static_cast<uint32_t>(geometry.VertexCount());
    }
    statistics_.primitives += static_cast<uint32_t>(primitives);
    ++statistics_.drawCalls;
}

void GraphicsDeviceDX::ClearTarget(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    if (device_) {
        device_->Clear(flags & (kGpuClearTarget | kGpuClearZBuffer | kGpuClearStencil), color, z, stencil);
    }
}

void GraphicsDeviceDX::LinkTexture(Texture* texture) {
    if (screen_.Get() && texture != screen_.Get()) {
        texture->LinkAfter(screen_.Get());
    }
}

}  // namespace mareldon
