#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <vector>

#include "engine/core/VertexLayout.h"
#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/sdl/SdlWindowBackend.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {
namespace {

// The graphics device as the game makes it, on the SDL main window and OpenGL
// (Mesa offscreen in the tests): assembled shaders translate, images upload,
// targets clear and frames present, before and after a change of rotation.
TEST(GraphicsDeviceGlTest, GameDeviceRunsOnOpenGl) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    {
        std::unique_ptr<WindowSystem> system(CreateWindowSystem());
        WindowLayout layout;
        layout.rightOffset = 480;
        layout.bottomOffset = 640;
        auto* window = new Window(system.get(), "TOPWINDOW", "MARELDON", 0, layout);
        ASSERT_NE(window->native, nullptr);

        GlGpuBackend backend;
        GraphicsDeviceDX device(&backend, window, 1, 8, 480, 640, 3);
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
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace mareldon
