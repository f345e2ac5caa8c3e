#include "engine/render/device/GraphicsDeviceDX.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "engine/core/VertexLayout.h"

#include "engine/render/device/PixelShader.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexShader.h"
#include "tests/engine/render/device/DeviceFixture.h"

namespace mareldon {
namespace {

struct ModeCase {
    int32_t windowed;
    int32_t rotation;
    uint32_t width;
    uint32_t height;
};

TEST(GraphicsDeviceDXTest, BackBufferSizeFollowsModeSearchAndRotation) {
    const ModeCase cases[] = {
        {0, 1, 640, 480},                    // the smallest landscape mode holding 640x480
        {0, 3, 640, 480}, {0, 0, 640, 800},  // the smallest portrait mode holding 480x640
        {1, 3, 640, 480}, {1, 0, 480, 640},
    };
    for (const ModeCase& c : cases) {
        DeviceFixture f;
        f.gpu.config.modes = {{800, 600, 60, GpuFormat::R5G6B5},
                              {640, 480, 60, GpuFormat::R5G6B5},
                              {480, 640, 60, GpuFormat::X8R8G8B8},
                              {960, 1280, 60, GpuFormat::R5G6B5},
                              {640, 800, 60, GpuFormat::R5G6B5}};
        f.Make(c.windowed, c.rotation);
        ASSERT_NE(f.gpu.Device(), nullptr) << c.windowed << " " << c.rotation;
        const GpuPresentParameters& p = f.Gpu().Parameters();
        EXPECT_EQ(p.BackBufferWidth, c.width) << c.windowed << " " << c.rotation;
        EXPECT_EQ(p.BackBufferHeight, c.height) << c.windowed << " " << c.rotation;
        EXPECT_EQ(p.Windowed, c.windowed ? 1u : 0u);
        EXPECT_EQ(p.FullScreen_PresentationInterval, c.windowed ? 0u : 1u);
        // Full screen takes the first accepted 16-bit format; windowed the desktop's.
        EXPECT_EQ(p.BackBufferFormat, c.windowed ? GpuFormat::X8R8G8B8 : GpuFormat::R5G6B5);
        EXPECT_EQ(f.device->TextureFormat(), GpuFormat::A4R4G4B4);
        EXPECT_EQ(f.device->DepthFormat(), GpuFormat::D16);
        EXPECT_EQ(f.device->ScreenTexture()->Width(), 480);
        EXPECT_EQ(f.device->ScreenTexture()->Height(), 640);
    }
}

TEST(GraphicsDeviceDXTest, WithoutDeviceEveryOperationIsHarmless) {
    for (int scenario = 0; scenario < 3; ++scenario) {
        DeviceFixture f;
        if (scenario == 0) {
            f.gpu.config.objectAvailable = false;
        } else if (scenario == 1) {
            f.gpu.config.modes.clear();  // full screen finds no mode: 32767 x 32767 is refused
        }
        if (scenario == 2) {
            f.device =
                std::make_unique<GraphicsDeviceDX>(nullptr, &f.window, 0, 8, 480, 640, 3);  // no backend
        } else {
            f.Make(0, 3);
        }
        GraphicsDeviceDX& device = *f.device;
        EXPECT_EQ(device.CreationError(), scenario != 1 ? kGpuErrorNoObject : 0u);
        EXPECT_EQ(device.Device(), nullptr);
        EXPECT_EQ(device.ScreenTexture().Get(), nullptr);
        EXPECT_FALSE(device.Present());
        EXPECT_EQ(device.CreateTexture(kTextureSampled, 8, 8).Get(), nullptr);
        EXPECT_EQ(device.CreatePixelShader("mov r0, v0\n").Get(), nullptr);
        const uint8_t bytes[64] = {};
        EXPECT_EQ(device.CreateTextureFromData(kTextureSampled, bytes, sizeof bytes).Get(), nullptr);
        EXPECT_EQ(device.CreateVertexBuffer(16, 4, bytes, 0).Get(), nullptr);
        device.SetSrcBlend(BlendFactor::One);
        device.SetTexture(0, nullptr);
        const float zero[4] = {1, 2, 3, 4};
        device.SetVertexShaderConstant(0, zero, 1);
        device.SetSamplerState(0, SamplerState{});
        device.SetWindowed(1);
        EXPECT_FALSE(device.Present());
        EXPECT_EQ(device.ScreenOffsetX(), 0);
    }
}

TEST(GraphicsDeviceDXTest, DeviceCreationTriesBehavioursInOrder) {
    DeviceFixture f;
    f.gpu.config.acceptDevice = [](GpuDeviceType, uint32_t flags) { return !(flags & kGpuCreatePureDevice); };
    f.Make();
    EXPECT_EQ(f.Gpu().BehaviorFlags(), kGpuCreateHardwareVertexProcessing);
    EXPECT_EQ(f.gpu.Count("CreateDevice("), 2u);

    DeviceFixture old;
    old.gpu.config.caps.VertexShaderVersion = GpuVertexShaderVersion(1, 0);
    old.gpu.config.deviceTypes = {GpuDeviceType::REF};
    old.Make();
    EXPECT_EQ(old.Gpu().BehaviorFlags(), kGpuCreateSoftwareVertexProcessing);
    EXPECT_EQ(old.gpu.Count("CreateDevice(0, REF"), 1u);
    EXPECT_EQ(old.gpu.Count("CreateDevice(0, HAL"), 0u);  // HAL had no capabilities
}

TEST(GraphicsDeviceDXTest, CreationAppliesDefaultsAndZeroedConstants) {
    for (uint32_t maxConstants : {96u, 256u}) {
        DeviceFixture f;
        f.gpu.config.caps.MaxVertexShaderConst = maxConstants;
        GraphicsDeviceDX& device = f.Make();
        EXPECT_EQ(device.MaxVertexShaderConstants(), maxConstants);
        EXPECT_EQ(f.gpu.Count("SetVertexShaderConstant(0, " + std::to_string(maxConstants) + ")"), 1u);
        EXPECT_EQ(f.gpu.Count("SetPixelShaderConstant(0, 8)"), 1u);
        RecordingGpuDevice& gpu = f.Gpu();
        EXPECT_EQ(gpu.RenderState(GpuRenderState::POINTSIZE_MAX), 0x42800000u);
        EXPECT_EQ(gpu.RenderState(GpuRenderState::FOGDENSITY), 0x3F800000u);
        EXPECT_EQ(gpu.RenderState(GpuRenderState::ALPHAFUNC), gpu::CMP_GREATER);
        EXPECT_EQ(gpu.RenderState(GpuRenderState::CULLMODE), gpu::CULL_CCW);
        EXPECT_EQ(gpu.RenderState(GpuRenderState::DEBUGMONITORTOKEN), gpu::DMT_DISABLE);
        EXPECT_EQ(gpu.StageState(7, GpuTextureStageState::MINFILTER), gpu::TEXF_LINEAR);
        EXPECT_EQ(gpu.StageState(7, GpuTextureStageState::MAXANISOTROPY), 1u);
        // Every stage gets the ten defaults, each under its own name (WRAP is 1, LINEAR 2).
        for (int stage : {0, 7}) {
            const std::string s = std::to_string(stage);
            EXPECT_EQ(f.gpu.Find("SetTextureStageState(" + s + ","),
                      (std::vector<std::string>{"SetTextureStageState(" + s + ", ADDRESSU, 1)",
                                                "SetTextureStageState(" + s + ", ADDRESSV, 1)",
                                                "SetTextureStageState(" + s + ", ADDRESSW, 1)",
                                                "SetTextureStageState(" + s + ", BORDERCOLOR, 0)",
                                                "SetTextureStageState(" + s + ", MAGFILTER, 0)",
                                                "SetTextureStageState(" + s + ", MINFILTER, 2)",
                                                "SetTextureStageState(" + s + ", MIPFILTER, 2)",
                                                "SetTextureStageState(" + s + ", MIPMAPLODBIAS, 0)",
                                                "SetTextureStageState(" + s + ", MAXMIPLEVEL, 0)",
                                                "SetTextureStageState(" + s + ", MAXANISOTROPY, 1)"}));
        }
        EXPECT_EQ(f.gpu.Count("SetRenderState("), 68u);
        EXPECT_TRUE(gpu.InScene());
        const RenderStateBlock* block = device.GetRenderStateBlock();
        EXPECT_EQ(block->srcBlend, 4);
        EXPECT_EQ(block->destBlend, 5);
        EXPECT_EQ(block->zWrite, 1);
    }
}

TEST(GraphicsDeviceDXTest, CachedSettersSendOnlyChanges) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    f.gpu.ClearCalls();

    device.SetSrcBlend(BlendFactor::One);
    device.SetSrcBlend(BlendFactor::One);
    EXPECT_EQ(f.gpu.Find("SetRenderState(SRCBLEND"), std::vector<std::string>{"SetRenderState(SRCBLEND, 2)"});
    device.SetZWrite(2);
    EXPECT_EQ(f.gpu.Find("SetRenderState(ZWRITEENABLE"),
              std::vector<std::string>{"SetRenderState(ZWRITEENABLE, 0)"});
    device.SetRenderStateBlock(RenderStateBlock{});  // back to the defaults: five changes
    EXPECT_EQ(f.gpu.Count("SetRenderState("), 4u);
    EXPECT_EQ(device.GetZWrite(), 1);

    float block[4][4] = {};
    device.SetVertexShaderConstant(10, &block[0][0], 4);  // all zero: as cached
    EXPECT_EQ(f.gpu.Count("SetVertexShaderConstant"), 0u);
    block[2][3] = 1.0f;
    device.SetVertexShaderConstant(10, &block[0][0], 4);
    EXPECT_EQ(f.gpu.Find("SetVertexShaderConstant"),
              std::vector<std::string>{"SetVertexShaderConstant(12, 1)"});
    device.SetPixelShaderConstant(6, &block[0][0], 8);  // clipped to the 8 registers
    EXPECT_EQ(f.gpu.Find("SetPixelShaderConstant"), std::vector<std::string>{});

    SamplerState sampler;  // Wrap, no filters: what the cache holds
    device.SetSamplerState(0, sampler);
    EXPECT_EQ(f.gpu.Count("SetTextureStageState"), 0u);
    sampler.addressU = sampler.addressV = TextureAddress::Border;
    device.SetSamplerState(0, sampler);
    EXPECT_EQ(f.gpu.Find("SetTextureStageState"),
              (std::vector<std::string>{"SetTextureStageState(0, ADDRESSU, 4)",
                                        "SetTextureStageState(0, ADDRESSV, 4)"}));
    // Each field alone reaches the device under its own stage-state name.
    struct Field {
        void (*change)(SamplerState&);
        const char* call;
    };
    const Field fields[] = {
        {[](SamplerState& s) { s.addressU = TextureAddress::Clamp; }, "SetTextureStageState(2, ADDRESSU, 3)"},
        {[](SamplerState& s) { s.addressV = TextureAddress::Mirror; },
         "SetTextureStageState(2, ADDRESSV, 2)"},
        {[](SamplerState& s) { s.addressW = TextureAddress::Border; },
         "SetTextureStageState(2, ADDRESSW, 4)"},
        {[](SamplerState& s) { s.magFilter = TextureFilter::Linear; },
         "SetTextureStageState(2, MAGFILTER, 2)"},
        {[](SamplerState& s) { s.minFilter = TextureFilter::Point; },
         "SetTextureStageState(2, MINFILTER, 1)"},
        {[](SamplerState& s) { s.mipFilter = TextureFilter::Linear; },
         "SetTextureStageState(2, MIPFILTER, 2)"},
    };
    for (const Field& field : fields) {
        device.SetSamplerState(2, SamplerState{});
        f.gpu.ClearCalls();
        SamplerState changed;
        field.change(changed);
        device.SetSamplerState(2, changed);
        EXPECT_EQ(f.gpu.Find("SetTextureStageState"), std::vector<std::string>{field.call});
    }
    f.gpu.ClearCalls();
    sampler.borderColor[2] = 1.0f;
    sampler.borderColor[3] = 2.0f;  // clamps
    sampler.minFilter = TextureFilter::Point;
    device.SetSamplerState(3, sampler);
    EXPECT_EQ(f.gpu.Count("SetTextureStageState(3, BORDERCOLOR, 4278190335)"), 1u);  // 0xFF0000FF
    EXPECT_EQ(f.gpu.Count("SetTextureStageState(3, MINFILTER, 1)"), 1u);
    EXPECT_EQ(device.GetSamplerState(3)->minFilter, TextureFilter::Point);

    // A damaged colour (NaN, infinities) still packs into channels of 0 to 255.
    f.gpu.ClearCalls();
    sampler.borderColor[0] = std::numeric_limits<float>::quiet_NaN();
    sampler.borderColor[1] = -std::numeric_limits<float>::infinity();
    sampler.borderColor[2] = std::numeric_limits<float>::infinity();
    sampler.borderColor[3] = 0.5f;
    device.SetSamplerState(3, sampler);
    EXPECT_EQ(f.gpu.Count("SetTextureStageState(3, BORDERCOLOR, 2130706687)"), 1u);  // 0x7F0000FF
}

TEST(GraphicsDeviceDXTest, TexturesAndShadersAreBoundOncePerChange) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    RefPtr<Texture> texture = device.CreateTexture(kTextureSampled, 4, 4);
    f.gpu.ClearCalls();
    device.SetTexture(1, texture.Get());
    device.SetTexture(1, texture.Get());
    device.SetTexture(1, nullptr);
    EXPECT_EQ(f.gpu.Count("SetTexture(1"), 2u);
    EXPECT_EQ(device.Statistics()->changes[DeviceStatistics::TextureChanges], 2u);

    RefPtr<PixelShader> none = device.CreatePixelShader("");
    device.SetPixelShader(none);  // handle 0 is what the cache holds after creation
    EXPECT_EQ(f.gpu.Count("SetPixelShader"), 0u);
}

TEST(GraphicsDeviceDXTest, LostDeviceIsResetInsidePresent) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 4, 4);
    RefPtr<Texture> managed = device.CreateTexture(kTextureSampled, 4, 4);
    GpuTexture* managedBefore = managed->GpuTextureObject();
    GpuTexture* targetBefore = target->GpuTextureObject();
    // A render target cannot be locked: its pixel is written in the recording backend's memory.
    uint32_t pixel = 0x12345678;
    std::memcpy(static_cast<RecordingGpuTexture*>(targetBefore)->Level(0)->Row(0), &pixel, 4);
    device.SetSrcBlend(BlendFactor::One);
    device.SetTexture(0, managed.Get());
    RefPtr<VertexShader> vertexShader = device.CreateVertexShader("mov\toPos, v0\n", VertexLayout());
    RefPtr<PixelShader> pixelShader = device.CreatePixelShader("mov\tr0, v0\n");
    device.SetVertexShader(vertexShader);
    device.SetPixelShader(pixelShader);

    f.gpu.cooperativeLevels = {kGpuErrorDeviceLost};
    f.gpu.ClearCalls();
    EXPECT_FALSE(device.Present());  // lost, not yet resettable: nothing happens
    EXPECT_EQ(f.gpu.Count("Reset("), 0u);
    EXPECT_EQ(f.gpu.Count("Present()"), 0u);

    f.gpu.cooperativeLevels = {kGpuErrorDeviceNotReset};
    f.gpu.ClearCalls();
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset(480, 640"), 0u);
    EXPECT_EQ(f.gpu.Count("Reset(640, 480, X8R8G8B8, windowed 1"), 1u);
    EXPECT_EQ(f.gpu.Count("SetRenderState(ALPHATESTENABLE, 1)"), 1u);
    EXPECT_EQ(f.gpu.Count("SetVertexShaderConstant(0, 256)"), 1u);
    EXPECT_EQ(f.gpu.Count("SetPixelShaderConstant(0, 8)"), 1u);
    EXPECT_EQ(f.gpu.Count("CreateTexture(4, 4, 1, 1, A8R8G8B8, DEFAULT)"), 1u);
    EXPECT_EQ(f.gpu.Count("CreateDepthStencilSurface(4, 4"), 1u);
    EXPECT_TRUE(f.Gpu().InScene());

    EXPECT_EQ(managed->GpuTextureObject(), managedBefore);
    EXPECT_NE(target->GpuTextureObject(), nullptr);
    EXPECT_EQ(device.GetSrcBlend(), BlendFactor::SrcAlpha);
    uint32_t after;
    std::memcpy(&after, static_cast<RecordingGpuTexture*>(target->GpuTextureObject())->Level(0)->Row(0), 4);
    EXPECT_NE(after, pixel);  // contents lost
    (void)targetBefore;

    // The caches were cleared: binding the same texture and shaders again reaches the device.
    f.gpu.ClearCalls();
    device.SetTexture(0, managed.Get());
    device.SetVertexShader(vertexShader);
    device.SetPixelShader(pixelShader);
    EXPECT_EQ(f.gpu.Count("SetTexture(0"), 1u);
    EXPECT_EQ(f.gpu.Count("SetVertexShader(" + std::to_string(vertexShader->Handle()) + ")"), 1u);
    EXPECT_EQ(f.gpu.Count("SetPixelShader(" + std::to_string(pixelShader->Handle()) + ")"), 1u);
    EXPECT_EQ(device.Statistics()->liveTextures, 2u);
}

TEST(GraphicsDeviceDXTest, FailedResetIsTriedAgainOnTheNextPresent) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 4, 4);
    f.gpu.cooperativeLevels = {kGpuErrorDeviceNotReset};
    f.gpu.resetResults = {kGpuErrorNotAvailable};
    EXPECT_FALSE(device.Present());
    EXPECT_EQ(device.ScreenTexture()->TopSurface(), nullptr);  // released for the reset
    EXPECT_EQ(target->GpuTextureObject(), nullptr);

    // The backend reports nothing further; the device still owes itself a reset.
    f.gpu.ClearCalls();
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset("), 1u);
    EXPECT_NE(device.ScreenTexture()->TopSurface(), nullptr);
    EXPECT_NE(target->GpuTextureObject(), nullptr);
    f.gpu.ClearCalls();
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset("), 0u);
}

TEST(GraphicsDeviceDXTest, WindowModeAndRotationChangesResetOnNextPresent) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make(1, 3);
    // The window was turned for rotation 3.
    EXPECT_EQ(f.window.width, 640);
    EXPECT_EQ(f.window.height, 480);

    f.gpu.ClearCalls();
    device.SetWindowed(1);
    device.SetRotation(3);
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset("), 0u);
    EXPECT_EQ(f.gpu.Calls(), (std::vector<std::string>{"EndScene()", "TestCooperativeLevel() = 0x00000000",
                                                       "Present()", "BeginScene()"}));

    device.SetRotation(0);
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset(480, 640, X8R8G8B8, windowed 1, interval 0)"), 1u);
    EXPECT_EQ(device.ScreenTexture()->Width(), 480);

    // Full screen upright needs a mode 640 high: there is none, so the reset fails.
    f.gpu.ClearCalls();
    device.SetWindowed(0);
    EXPECT_FALSE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset(32767, 32767"), 1u);

    f.gpu.ClearCalls();
    device.SetRotation(3);
    EXPECT_TRUE(device.Present());
    EXPECT_EQ(f.gpu.Count("Reset(640, 480, X8R8G8B8, windowed 0, interval 1)"), 1u);
    EXPECT_EQ(f.gpu.Count("Clear(1, 0x00000000"), 2u);  // full screen: clear, show, clear
}

TEST(GraphicsDeviceDXTest, PresentStopsWhenTheWindowIsGone) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    EXPECT_TRUE(device.IsRunning());
    f.window.open = false;
    EXPECT_FALSE(device.IsRunning());
    f.gpu.ClearCalls();
    EXPECT_FALSE(device.Present());
    EXPECT_TRUE(f.gpu.Calls().empty());
}

}  // namespace
}  // namespace mareldon
