// The graphics device of the engine drawing on the GL backend, as the game
// uses it: a portrait 480x640 screen at rotation 3, and turned at run time.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>

#include "engine/core/VertexLayout.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/gl/GlGpuDevice.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexBuffer.h"

namespace mareldon {
namespace {

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
TEST(GlGraphicsDeviceTest, ScreenIsUprightInTheWindowUnderEveryRotation) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();  // kept loaded, see GlGpuDeviceTest
    SDL_Window* sdlWindow = SDL_CreateWindow("screen", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdlWindow, nullptr);
    {
        SdlDeviceWindow window(sdlWindow);
        GlGpuBackend backend;
        GraphicsDeviceDX device(&backend, &window, 1, 8, 480, 640, 3);
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
    SDL_DestroyWindow(sdlWindow);
}

}  // namespace
}  // namespace mareldon
