#include "engine/render/device/Texture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/render/device/GraphicsDeviceDX.h"
#include "tests/engine/platform/helper/ImageFixtures.h"
#include "tests/engine/render/device/DeviceFixture.h"

namespace mareldon {
namespace {

// Reads a level of a texture from the recording backend's memory (render
// targets cannot be locked): rows of width x size bytes.
std::vector<uint8_t> ReadLevel(GpuTexture* texture, uint32_t level) {
    std::vector<uint8_t> bytes;
    RecordingGpuSurface* surface = static_cast<RecordingGpuTexture*>(texture)->Level(level);
    if (surface == nullptr) {
        return bytes;
    }
    const GpuSurfaceDesc& desc = surface->Desc();
    uint32_t rowBytes = desc.Width * GpuFormatSize(desc.Format);
    for (uint32_t y = 0; y < desc.Height; ++y) {
        bytes.insert(bytes.end(), surface->Row(y), surface->Row(y) + rowBytes);
    }
    return bytes;
}

uint16_t Pixel16(GpuTexture* texture, uint32_t x, uint32_t y) {
    std::vector<uint8_t> bytes = ReadLevel(texture, 0);
    GpuSurfaceDesc desc;
    texture->GetLevelDesc(0, &desc);
    size_t at = (y * desc.Width + x) * 2;
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TEST(TextureTest, IimgLevelsAreReadInOrder) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    std::vector<uint8_t> file = MakeIimg(2, 8, 4, 3);
    ASSERT_EQ(file.size(), 32u + 84u);
    RefPtr<Texture> texture = device.CreateTextureFromData(kTextureSampled, file.data(), file.size());
    ASSERT_NE(texture.Get(), nullptr);
    EXPECT_EQ(texture->Width(), 8);
    EXPECT_EQ(texture->Height(), 4);
    EXPECT_EQ(device.Statistics()->liveTextures, 1u);
    EXPECT_EQ(f.gpu.Count("CreateTexture(8, 4, 3, 0, A4R4G4B4, MANAGED)"), 1u);
    EXPECT_EQ(f.gpu.Count("CreateTexture(8, 4, 3, 0, A4R4G4B4, DEFAULT)"), 1u);
    EXPECT_EQ(f.gpu.Count("CopyRects("), 3u);
    GpuTexture* gpu = texture->GpuTextureObject();
    ASSERT_EQ(gpu->GetLevelCount(), 3u);
    size_t offset = 32;
    for (uint32_t level = 0; level < 3; ++level) {
        std::vector<uint8_t> bytes = ReadLevel(gpu, level);
        EXPECT_EQ(bytes, std::vector<uint8_t>(file.begin() + offset, file.begin() + offset + bytes.size()));
        offset += bytes.size();
    }
    EXPECT_EQ(offset, file.size());
    texture = RefPtr<Texture>();
    EXPECT_EQ(device.Statistics()->liveTextures, 0u);
}

TEST(TextureTest, DamagedIimgGivesNoTexture) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    std::vector<uint8_t> truncated = MakeIimg(2, 64, 64, 1);
    truncated.resize(32 + 100);
    std::vector<uint8_t> lyingLevels = MakeIimg(2, 8, 4, 3);
    lyingLevels[16] = 4;  // a fourth level that is not there
    std::vector<uint8_t> tooManyLevels = MakeIimg(2, 2, 2, 2);
    tooManyLevels[16] = 3;  // 2x2 has two levels
    std::vector<uint8_t> zeroWidth = MakeIimg(2, 8, 4, 1);
    zeroWidth[8] = 0;
    std::vector<uint8_t> huge = MakeIimg(2, 1, 1, 1);
    huge[11] = 0x80;  // width 2^31
    std::vector<uint8_t> shortHeader = {'I', 'I', 'M', 'G', 2, 0, 0, 0};
    for (const auto& file : {truncated, lyingLevels, tooManyLevels, zeroWidth, huge, shortHeader}) {
        RefPtr<Texture> texture = device.CreateTextureFromData(kTextureSampled, file.data(), file.size());
        EXPECT_EQ(texture.Get(), nullptr);
    }
    EXPECT_EQ(device.Statistics()->liveTextures, 0u);
    EXPECT_EQ(f.gpu.Count("CreateTexture("), 0u);
}

TEST(TextureTest, UploadsFollowTheKindTable) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    // An IIMG of kind 3 holds A4R4G4B4 words but takes uploads by the kind-3 rules.
    std::vector<uint8_t> file = MakeIimg(3, 4, 2, 1, 0x1111);
    RefPtr<Texture> iimg = device.CreateTextureFromData(kTextureSampled, file.data(), file.size());
    ASSERT_NE(iimg.Get(), nullptr);
    EXPECT_EQ(iimg->Kind(), PixelKind::ABGR4444);
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 1, 0), 0x1112);
    const uint32_t source[2] = {0xFF804020, 0xFF804020};
    iimg->Upload(TextureRect{1, 1, 3, 2}, PixelKind::ARGB8888, source);
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 1, 1), 0xF248);
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 2, 1), 0xF248);
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 0, 1), 0x1115);  // outside the rectangle
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 3, 1), 0x1118);

    // A render target is 32-bit ARGB in the default pool, which cannot be
    // locked: uploads into it fail their lock and change nothing.
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 2, 2);
    EXPECT_EQ(target->Kind(), PixelKind::ARGB8888);
    std::vector<uint8_t> before = ReadLevel(target->GpuTextureObject(), 0);
    const uint32_t argb = 0x11223344;
    target->Upload(TextureRect{0, 0, 1, 1}, PixelKind::ARGB8888, &argb);
    const uint16_t argb4444[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    target->Upload(TextureRect{0, 0, 2, 2}, PixelKind::ARGB4444, argb4444);
    EXPECT_EQ(ReadLevel(target->GpuTextureObject(), 0), before);

    // One byte per pixel: no kind fits, so nothing is written past the rows.
    RefPtr<Texture> alpha = device.CreateTexture(kTextureSampled | kTextureAlphaOnly, 4, 4);
    EXPECT_EQ(f.gpu.Count("CreateTexture(4, 4, 1, 0, A8, MANAGED)"), 1u);
    before = ReadLevel(alpha->GpuTextureObject(), 0);
    alpha->Upload(TextureRect{0, 0, 4, 4}, alpha->Kind(), argb4444);
    EXPECT_EQ(ReadLevel(alpha->GpuTextureObject(), 0), before);

    // A rectangle outside the texture fails the lock and changes nothing.
    iimg->Upload(TextureRect{3, 0, 6, 1}, PixelKind::ARGB8888, source);
    EXPECT_EQ(Pixel16(iimg->GpuTextureObject(), 3, 0), 0x1114);
}

TEST(TextureTest, EmptyTexturesByFlags) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    f.gpu.ClearCalls();
    RefPtr<Texture> sampled = device.CreateTexture(kTextureSampled, 16, 8);
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 32, 16);
    RefPtr<Texture> surface = device.CreateTexture(kTextureRenderTarget, 24, 12);
    RefPtr<Texture> image = device.CreateTexture(0, 10, 10);
    EXPECT_EQ(f.gpu.Calls(), (std::vector<std::string>{
                                 "CreateTexture(16, 8, 1, 0, A4R4G4B4, MANAGED)",
                                 "CreateTexture(32, 16, 1, 1, A8R8G8B8, DEFAULT)",
                                 "CreateDepthStencilSurface(32, 16, D16)",
                                 "CreateRenderTarget(24, 12, X8R8G8B8, 0)",
                                 "CreateDepthStencilSurface(24, 12, D16)",
                                 "CreateImageSurface(10, 10, X8R8G8B8)",
                             }));
    EXPECT_EQ(device.Statistics()->liveTextures, 2u);
    EXPECT_EQ(surface->Width(), 24);
    EXPECT_EQ(surface->GetViewport()->height, 12);
    EXPECT_EQ(sampled->Kind(), PixelKind::ARGB4444);
}

TEST(TextureTest, ScreenTurnsWithTheRotation) {
    for (int32_t rotation = 0; rotation < 4; ++rotation) {
        DeviceFixture f;
        GraphicsDeviceDX& device = f.Make(1, rotation);
        Texture& screen = *device.ScreenTexture().Get();
        EXPECT_EQ(screen.Width(), 480);
        EXPECT_EQ(screen.Height(), 640);
        f.gpu.ClearCalls();
        screen.SetViewport(TextureViewport{0, 0, 480, 640, 0.0f, 1.0f});
        screen.BindAsTarget();
        EXPECT_EQ(f.gpu.Find("SetViewport"),
                  std::vector<std::string>{rotation & 1 ? "SetViewport(0, 0, 640, 480, 0, 1)"
                                                        : "SetViewport(0, 0, 480, 640, 0, 1)"});
    }
}

TEST(TextureTest, RotationThreeTransformAndPartialViewport) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make(1, 3);
    Texture& screen = *device.ScreenTexture().Get();
    screen.SetViewport(TextureViewport{0, 0, 480, 640, 0.0f, 1.0f});
    // R(3 x 1.5707964) x T, T = translation (-1.5 / W, 0.5 / H) with the stored 640 x 480.
    float a = 3 * 1.5707964f, c = std::cos(a), s = std::sin(a);
    float tx = -1.5f / 640.0f, ty = 0.5f / 480.0f;
    const float expected[16] = {c, -s, 0, c * tx - s * ty, s, c, 0, s * tx + c * ty, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(screen.ScreenTransform()[i], expected[i]) << i;
    }

    // A portrait rectangle lands where the turn puts it: (x, y) -> (640 - y, x).
    f.gpu.ClearCalls();
    screen.SetViewport(TextureViewport{10, 20, 100, 50, 0.0f, 1.0f});
    screen.BindAsTarget();
    EXPECT_EQ(f.gpu.Find("SetViewport"), std::vector<std::string>{"SetViewport(570, 10, 50, 100, 0, 1)"});
}

TEST(TextureTest, FullScreenCentresTheScreenInALargerMode) {
    DeviceFixture f;
    f.gpu.config.modes = {{800, 600, 60, GpuFormat::R5G6B5}};
    GraphicsDeviceDX& device = f.Make(0, 3);
    EXPECT_EQ(device.ScreenOffsetX(), 80);
    EXPECT_EQ(device.ScreenOffsetY(), 60);
    Texture& screen = *device.ScreenTexture().Get();
    f.gpu.ClearCalls();
    screen.SetViewport(TextureViewport{10, 20, 100, 50, 0.0f, 1.0f});
    screen.BindAsTarget();
    // Offsets go to the back buffer's own x and y after the turn.
    EXPECT_EQ(f.gpu.Find("SetViewport"), std::vector<std::string>{"SetViewport(650, 70, 50, 100, 0, 1)"});
}

TEST(TextureTest, ClearsBindTheTarget) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make(1, 0);
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 4, 4);
    f.gpu.ClearCalls();
    target->ClearAll(ClearRecord{});
    target->Clear(ClearRecord{0, 0x8, 0, 1.0f, 0});  // no known flag
    EXPECT_TRUE(f.gpu.Calls().empty());

    target->SetViewport(TextureViewport{1, 1, 2, 2, 0.0f, 1.0f});
    target->ClearAll(ClearRecord{0, 1, 0xFF00FF00, 1.0f, 0});
    EXPECT_EQ(f.gpu.Count("SetRenderTarget("), 1u);
    EXPECT_EQ(f.gpu.Find("SetViewport"), std::vector<std::string>{"SetViewport(0, 0, 4, 4, 0, 1)"});
    EXPECT_EQ(target->GetViewport()->x, 1);  // restored
    std::vector<uint8_t> pixels = ReadLevel(target->GpuTextureObject(), 0);
    uint32_t corner;
    std::memcpy(&corner, &pixels[15 * 4], 4);
    EXPECT_EQ(corner, 0xFF00FF00u);
}

TEST(TextureTest, PngAndJpegLoadWithTheirOwnSize) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    // Channels of 0x00 and 0xFF survive the dither exactly.
    std::vector<uint32_t> pixels(8 * 4, 0xFF00FF00);
    pixels[0] = 0x00FFFFFF;
    pixels[1] = 0xFF0000FF;
    std::vector<uint8_t> png = MakePng(8, 4, pixels);
    RefPtr<Texture> texture = device.CreateTextureFromData(kTextureSampled, png.data(), png.size());
    ASSERT_NE(texture.Get(), nullptr);
    EXPECT_EQ(texture->Width(), 8);
    EXPECT_EQ(texture->Height(), 4);
    EXPECT_EQ(texture->Kind(), PixelKind::ARGB4444);
    GpuTexture* gpu = texture->GpuTextureObject();
    EXPECT_EQ(gpu->GetLevelCount(), 4u);
    EXPECT_EQ(Pixel16(gpu, 0, 0), 0x0FFF);
    EXPECT_EQ(Pixel16(gpu, 1, 0), 0xF00F);
    EXPECT_EQ(Pixel16(gpu, 5, 3), 0xF0F0);
    std::vector<uint8_t> last = ReadLevel(gpu, 3);
    EXPECT_EQ(last.size(), 2u);  // 1x1

    std::vector<uint8_t> jpeg = MakeJpeg(16, 8, 255, 0, 0);
    RefPtr<Texture> photo =
        device.CreateTextureFromData(kTextureSampled | kTextureRenderTarget, jpeg.data(), jpeg.size());
    ASSERT_NE(photo.Get(), nullptr);
    EXPECT_EQ(photo->Width(), 16);
    EXPECT_EQ(photo->GpuTextureObject()->GetLevelCount(), 1u);
    uint16_t red = Pixel16(photo->GpuTextureObject(), 7, 5);
    EXPECT_EQ(red & 0xF000, 0xF000);
    EXPECT_GE((red >> 8) & 0xF, 0xE);
    EXPECT_LE(red & 0xFF, 0x11);
    EXPECT_EQ(device.Statistics()->liveTextures, 2u);

    std::vector<uint8_t> brokenPng = png;
    brokenPng.resize(brokenPng.size() / 2);
    std::vector<uint8_t> brokenJpeg = jpeg;
    brokenJpeg.resize(40);
    std::vector<uint8_t> other = {'B', 'M', 0, 0, 0, 0};
    for (const auto& bytes : {brokenPng, brokenJpeg, other}) {
        EXPECT_EQ(device.CreateTextureFromData(kTextureSampled, bytes.data(), bytes.size()).Get(), nullptr);
    }
    EXPECT_EQ(device.Statistics()->liveTextures, 2u);
}

TEST(TextureTest, TexturesOutlivingTheDeviceAreDetached) {
    DeviceFixture f;
    f.Make();
    RefPtr<Texture> texture = f.device->CreateTexture(kTextureSampled, 4, 4);
    RefPtr<Texture> screen = f.device->ScreenTexture();
    f.device.reset();
    EXPECT_EQ(texture->GpuTextureObject(), nullptr);
    texture->ClearAll(ClearRecord{0, 1, 0, 1.0f, 0});
    screen->BindAsTarget();
    texture = RefPtr<Texture>();
    screen = RefPtr<Texture>();
    EXPECT_EQ(f.gpu.LiveResources(), 0);
}

}  // namespace
}  // namespace mareldon
