// The graphics device as the game makes it, on the SDL main window and OpenGL
// (Mesa offscreen in the tests): a portrait 480x640 screen at rotation 3, and
// turned at run time.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/core/VertexLayout.h"
#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/gl/GlGpuDevice.h"
#include "engine/platform/sdl/SdlWindowBackend.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexBuffer.h"

namespace mareldon {
namespace {

class GraphicsDeviceGlTest : public ::testing::Test {
  protected:
    // SDL video and the GL library stay loaded to the end: unloading the
    // driver would leave its lifetime allocations unattributable for the
    // leak checker.
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    }

    // The main window of the game's window system.
    void SetUp() override {
        system_.reset(CreateWindowSystem());
        WindowLayout layout;
        layout.rightOffset = 480;
        layout.bottomOffset = 640;
        window_ = new Window(system_.get(), "TOPWINDOW", "MARELDON", 0, layout);
        ASSERT_NE(window_->native, nullptr);
    }

    std::unique_ptr<WindowSystem> system_;
    Window* window_ = nullptr;
    GlGpuBackend backend_;
};

// Assembled shaders translate, images upload, targets clear and frames
// present, before and after a change of rotation.
TEST_F(GraphicsDeviceGlTest, GameDeviceRunsOnOpenGl) {
    GraphicsDeviceDX device(&backend_, window_, 1, 8, 480, 640, 3);
    ASSERT_NE(device.Device(), nullptr);
    EXPECT_EQ(device.ScreenTexture()->Width(), 480);
    EXPECT_EQ(device.ScreenTexture()->Height(), 640);

    VertexLayout layoutOfQuad;
    layoutOfQuad.AddElement(3, "Position");
    layoutOfQuad.AddElement(3, "Color");
    layoutOfQuad.AddElement(1, "TextureUV");
    RefPtr<VertexShader> vs = device.CreateVertexShader(
        "mov\ta0.x, v1.x\nmov\toPos, v0\nmov\toD0, c[a0.x + 4]\nmov\toT0.xy, v2\n", layoutOfQuad);
    RefPtr<PixelShader> ps = device.CreatePixelShader("tex\tt0\nmul_sat\tr0, t0, v0\n");
    EXPECT_NE(vs->Handle(), 0u);
    EXPECT_NE(ps->Handle(), 0u);

    std::vector<uint8_t> iimg = {'I', 'I', 'M', 'G', 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0};
    iimg.resize(32 + 8, 0xFF);
    RefPtr<Texture> image = device.CreateTextureFromData(kTextureSampled, iimg.data(), iimg.size());
    ASSERT_NE(image.Get(), nullptr);
    EXPECT_EQ(image->Width(), 2);
    RefPtr<Texture> target = device.CreateTexture(kTextureSampled | kTextureRenderTarget, 64, 64);
    ASSERT_NE(target->GpuTextureObject(), nullptr);

    const float vertices[] = {-1, -1, 0, 1, 1, 1, 1, 1, 0, 1, 1, -1, 0, 1, 1, 1, 1, 1, 1, 1,
                              -1, 1,  0, 1, 1, 1, 1, 1, 0, 0, 1, 1,  0, 1, 1, 1, 1, 1, 1, 0};
    RefPtr<VertexBuffer> vb = device.CreateVertexBuffer(40, 4, vertices, 0);
    RefPtr<GeometryBuffer> quad =
        device.CreateGeometryBuffer(4, layoutOfQuad, vb, 0, 4, RefPtr<IndexBuffer>(), 0, 0);
    for (int frame = 0; frame < 3; ++frame) {
        target->ClearAll(ClearRecord{0, 3, 0xFF0000FF, 1.0f, 0});
        device.ScreenTexture()->ClearAll(ClearRecord{0, 3, 0xFF000000, 1.0f, 0});
        device.SetVertexShader(vs);
        device.SetPixelShader(ps);
        device.SetTexture(0, image.Get());
        device.ScreenTexture()->DrawGeometry(quad);
        EXPECT_TRUE(device.Present()) << frame;
        if (frame == 1) {
            device.SetRotation(0);  // resets on the next present
        }
    }
    EXPECT_EQ(device.Statistics()->previousDrawCalls, 1u);
    EXPECT_EQ(device.ScreenTexture()->Width(), 480);
}

// Draws the top-left quarter of the portrait screen in red through the screen
// transform, presents, and checks the window shows it upright and in proportion.
void DrawQuarterAndCheckUpright(GraphicsDeviceDX& device, const RefPtr<VertexShader>& vs,
                                const RefPtr<PixelShader>& ps, const RefPtr<GeometryBuffer>& quad) {
    RefPtr<Texture>& screen = device.ScreenTexture();
    ASSERT_EQ(screen->Width(), 480);
    ASSERT_EQ(screen->Height(), 640);
    screen->SetViewport({0, 0, 480, 640, 0.0f, 1.0f});
    screen->Clear({0, 3, 0xFF000000, 1.0f, 0});
    device.SetVertexShader(vs);
    device.SetPixelShader(ps);
    device.SetVertexShaderConstant(0, screen->ScreenTransform(), 4);
    screen->DrawGeometry(quad);
    ASSERT_TRUE(device.Present());

    auto* gl = static_cast<GlGpuDevice*>(device.Device());
    int width = 0, height = 0;
    const std::vector<uint32_t>& picture = gl->WindowPicture(width, height);
    ASSERT_FALSE(picture.empty());
    double scale = std::min(width / 480.0, height / 640.0);
    int left = int((width - 480 * scale) / 2), top = int((height - 640 * scale) / 2);
    auto at = [&](double x, double y) {
        return picture[size_t(top + int(y * scale)) * width + size_t(left + int(x * scale))] & 0xFFFFFF;
    };
    EXPECT_EQ(at(120, 160), 0xFF0000u);
    EXPECT_EQ(at(360, 160), 0u);
    EXPECT_EQ(at(120, 480), 0u);
    EXPECT_EQ(at(360, 480), 0u);
}

// Made at rotation 3, then turned at run time (as the cabinet's screen
// adjustment does): after the reset the next present has, the window still
// shows the screen upright.
TEST_F(GraphicsDeviceGlTest, ScreenIsUprightInTheWindowUnderEveryRotation) {
    GraphicsDeviceDX device(&backend_, window_, 1, 8, 480, 640, 3);
    ASSERT_NE(device.Device(), nullptr);
    static_cast<GlGpuDevice*>(device.Device())->KeepWindowPicture(true);

    VertexLayout layout;
    layout.AddElement(3, "POSITION");
    layout.AddElement(3, "COLOR");
    RefPtr<VertexShader> vs = device.CreateVertexShader("m4x4\toPos, v0, c0\nmov\toD0, v1\n", layout);
    RefPtr<PixelShader> ps = device.CreatePixelShader("mov\tr0, v0\n");
    ASSERT_TRUE(vs.Get() && ps.Get());
    struct {
        float position[4];
        float colour[4];
    } vertices[6];
    const float corners[6][2] = {{-1, 1}, {0, 1}, {-1, 0}, {-1, 0}, {0, 1}, {0, 0}};
    for (int i = 0; i < 6; ++i) {
        vertices[i] = {{corners[i][0], corners[i][1], 0.5f, 1.0f}, {1, 0, 0, 1}};
    }
    RefPtr<VertexBuffer> vb = device.CreateVertexBuffer(32, 6, vertices, 0);
    RefPtr<GeometryBuffer> quad =
        device.CreateGeometryBuffer(3, layout, vb, 0, 6, RefPtr<IndexBuffer>(), 0, 0);

    {
        SCOPED_TRACE("rotation 3 from the start");
        DrawQuarterAndCheckUpright(device, vs, ps, quad);
    }
    for (int rotation : {1, 0, 2, 3}) {
        SCOPED_TRACE(rotation);
        device.SetRotation(rotation);
        ASSERT_TRUE(device.Present());  // the reset
        DrawQuarterAndCheckUpright(device, vs, ps, quad);
    }
}

}  // namespace
}  // namespace mareldon
