#include "engine/platform/recording/RecordingGpu.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/platform/recording/RecordingGpuDevice.h"

namespace mareldon {
namespace {

GpuPresentParameters Windowed(uint32_t width, uint32_t height) {
    GpuPresentParameters p;
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = GpuFormat::X8R8G8B8;
    p.BackBufferCount = 1;
    p.Windowed = 1;
    p.EnableAutoDepthStencil = 1;
    p.AutoDepthStencilFormat = GpuFormat::D16;
    return p;
}

struct Made {
    GpuPtr<GpuObject> object;
    GpuPtr<GpuDevice> device;
};

Made MakeDevice(RecordingGpu& gpu, GpuPresentParameters p) {
    Made made;
    made.object.Reset(gpu.CreateObject(kGpuSdkVersion));
    EXPECT_TRUE(made.object);
    EXPECT_EQ(made.object->CreateDevice(0, GpuDeviceType::HAL, nullptr, kGpuCreateHardwareVertexProcessing,
                                        &p, made.device.Receive()),
              kGpuOk);
    return made;
}

TEST(RecordingGpuTest, WrongVersionOrNoAdapterNoObject) {
    RecordingGpu gpu;
    EXPECT_EQ(gpu.CreateObject(kGpuSdkVersion + 1), nullptr);
    gpu.config.objectAvailable = false;
    EXPECT_EQ(gpu.CreateObject(kGpuSdkVersion), nullptr);
    EXPECT_EQ(gpu.Count("Direct3DCreate8(220)"), 1u);
}

TEST(RecordingGpuTest, LocksAreRealMemoryWithPitch) {
    RecordingGpu gpu;
    {
        Made made = MakeDevice(gpu, Windowed(64, 32));
        GpuPtr<GpuTexture> texture;
        ASSERT_EQ(
            made.device->CreateTexture(8, 4, 0, 0, GpuFormat::A4R4G4B4, GpuPool::MANAGED, texture.Receive()),
            kGpuOk);
        EXPECT_EQ(texture->GetLevelCount(), 4u);  // 8x4, 4x2, 2x1, 1x1
        GpuSurfaceDesc desc;
        ASSERT_EQ(texture->GetLevelDesc(2, &desc), kGpuOk);
        EXPECT_EQ(desc.Width, 2u);
        EXPECT_EQ(desc.Height, 1u);

        GpuLockedRect locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), kGpuOk);
        EXPECT_GT(locked.Pitch, 16);
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), kGpuErrorInvalidCall);  // already locked
        for (int y = 0; y < 4; ++y) {
            std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, y + 1, 16);
        }
        ASSERT_EQ(texture->UnlockRect(0), kGpuOk);
        GpuRect rect{2, 1, 4, 3};
        ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), kGpuOk);
        EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[0], 2);
        EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[locked.Pitch], 3);
        texture->UnlockRect(0);
        GpuRect outside{0, 0, 9, 4};
        EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), kGpuErrorInvalidCall);

        // Copying a staging level into another texture carries the bytes.
        GpuPtr<GpuTexture> copy;
        made.device->CreateTexture(8, 4, 1, 0, GpuFormat::A4R4G4B4, GpuPool::DEFAULT, copy.Receive());
        GpuPtr<GpuSurface> from, to;
        texture->GetSurfaceLevel(0, from.Receive());
        copy->GetSurfaceLevel(0, to.Receive());
        ASSERT_EQ(made.device->CopyRects(from.Get(), to.Get()), kGpuOk);
        ASSERT_EQ(copy->LockRect(0, &locked, nullptr, 0), kGpuOk);
        EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[3 * locked.Pitch + 15], 4);
        copy->UnlockRect(0);
    }
    EXPECT_EQ(gpu.LiveResources(), 0);
}

TEST(RecordingGpuTest, ScriptedLossAndReset) {
    RecordingGpu gpu;
    gpu.cooperativeLevels = {kGpuErrorDeviceLost, kGpuErrorDeviceNotReset};
    gpu.resetResults = {kGpuErrorInvalidCall};
    Made made = MakeDevice(gpu, Windowed(480, 640));
    EXPECT_EQ(made.device->TestCooperativeLevel(), kGpuErrorDeviceLost);
    EXPECT_EQ(made.device->TestCooperativeLevel(), kGpuErrorDeviceNotReset);
    EXPECT_EQ(made.device->TestCooperativeLevel(), kGpuOk);

    GpuPresentParameters p = Windowed(640, 480);
    EXPECT_EQ(made.device->Reset(&p), kGpuErrorInvalidCall);
    EXPECT_EQ(made.device->Reset(&p), kGpuOk);
    GpuPtr<GpuSurface> back;
    made.device->GetBackBuffer(0, GpuBackBufferType::MONO, back.Receive());
    GpuSurfaceDesc desc;
    back->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 640u);
    EXPECT_EQ(gpu.Count("Reset(640, 480"), 2u);
}

TEST(RecordingGpuTest, ShadersNeedVersionAndEndTokens) {
    RecordingGpu gpu;
    Made made = MakeDevice(gpu, Windowed(64, 64));
    const uint32_t decl[] = {kGpuDeclStream0, GpuDeclRegister(kGpuDeclFloat3, 0), kGpuDeclEnd};
    const uint32_t vs[] = {GpuVertexShaderVersion(1, 1), 0x0000FFFF};
    const uint32_t ps[] = {GpuPixelShaderVersion(1, 1), 0x0000FFFF};
    const uint32_t ps14[] = {GpuPixelShaderVersion(1, 4), 0x0000FFFF};
    uint32_t handle = 0;
    ASSERT_EQ(made.device->CreateVertexShader(decl, vs, &handle, 0), kGpuOk);
    auto* device = gpu.Device();
    EXPECT_EQ(device->VertexShaderDeclaration(handle).size(), 3u);
    EXPECT_EQ(made.device->CreateVertexShader(decl, ps, &handle, 0), kGpuErrorInvalidCall);
    EXPECT_EQ(made.device->CreatePixelShader(ps14, &handle), kGpuErrorInvalidCall);
    ASSERT_EQ(made.device->CreatePixelShader(ps, &handle), kGpuOk);
    EXPECT_EQ(made.device->DeleteVertexShader(handle), kGpuErrorInvalidCall);
    EXPECT_EQ(made.device->DeletePixelShader(handle), kGpuOk);
    EXPECT_EQ(device->LiveShaders(), 1u);
}

TEST(RecordingGpuTest, ClearFillsTheViewportOfTheTarget) {
    RecordingGpu gpu;
    Made made = MakeDevice(gpu, Windowed(4, 4));
    GpuPtr<GpuTexture> target;
    ASSERT_EQ(made.device->CreateTexture(4, 4, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8,
                                         GpuPool::DEFAULT, target.Receive()),
              kGpuOk);
    GpuPtr<GpuSurface> surface;
    target->GetSurfaceLevel(0, surface.Receive());
    made.device->SetRenderTarget(surface.Get(), nullptr);
    GpuViewport viewport{1, 1, 2, 2, 0.0f, 1.0f};
    made.device->SetViewport(&viewport);
    made.device->Clear(kGpuClearTarget, 0x11223344, 1.0f, 0);
    // A render target cannot be locked: its pixels are read from the backend's memory.
    RecordingGpuSurface* level = static_cast<RecordingGpuTexture*>(target.Get())->Level(0);
    auto pixel = [&](int x, int y) {
        uint32_t value;
        std::memcpy(&value, level->Row(y) + x * 4, 4);
        return value;
    };
    EXPECT_EQ(pixel(1, 1), 0x11223344u);
    EXPECT_EQ(pixel(2, 2), 0x11223344u);
    EXPECT_NE(pixel(0, 0), 0x11223344u);
    EXPECT_NE(pixel(3, 2), 0x11223344u);
}

}  // namespace
}  // namespace mareldon
