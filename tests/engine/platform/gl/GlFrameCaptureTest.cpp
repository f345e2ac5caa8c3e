#include "engine/platform/gl/GlFrameCapture.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/Texture.h"

namespace mareldon {
namespace {

TEST(GlFrameCaptureTest, RequestIsFrameColonFile) {
    GlCaptureRequest request;
    ASSERT_TRUE(ParseCaptureRequest("120:shot.png", request));
    EXPECT_EQ(request.frame, 120u);
    EXPECT_EQ(request.path, "shot.png");
    ASSERT_TRUE(ParseCaptureRequest("3:/tmp/a:b.png", request));
    EXPECT_EQ(request.path, "/tmp/a:b.png");
    for (const char* bad : {"", "shot.png", "0:shot.png", "12:", "x12:shot.png", "12shot.png", "-1:a.png"}) {
        GlCaptureRequest untouched;
        EXPECT_FALSE(ParseCaptureRequest(bad, untouched)) << bad;
        EXPECT_EQ(untouched.frame, 0u);
    }
}

// The capture is the portrait screen upright at its own 480x640, under every
// rotation, in a portrait or landscape window and full screen (where the window shows
// the picture as drawn, for a turned monitor): its top-left quarter, cleared red, is
// the picture's top-left quarter.
TEST(GlFrameCaptureTest, CapturesThePictureUprightAtItsOwnSize) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();  // kept loaded, see GlGpuDeviceTest
    const std::string path =
        (std::filesystem::temp_directory_path() / ("mareldon-capture-" + std::to_string(::getpid()) + ".png"))
            .string();
    struct Display {
        int width, height, windowed;
    };
    const Display displays[] = {{480, 640, 1}, {640, 480, 1}, {1024, 768, 0}};
    const char* forced = std::getenv("MARELDON_WINDOWED");
    const std::string keep = forced ? forced : "";
    ::unsetenv("MARELDON_WINDOWED");
    for (int turn = 0; turn < 12; ++turn) {
        const int rotation = turn % 4;
        const Display& display = displays[turn / 4];
        SCOPED_TRACE(testing::Message() << "rotation " << rotation << ", " << display.width << "x"
                                        << display.height << (display.windowed ? " window" : " full screen"));
        ::setenv("MARELDON_CAPTURE", ("2:" + path).c_str(), 1);
        SDL_Window* sdlWindow = SDL_CreateWindow("capture", 0, 0, display.width, display.height,
                                                 SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(sdlWindow, nullptr);
        {
            SdlDeviceWindow window(sdlWindow);
            GlGpuBackend backend;
            GraphicsDeviceDX device(&backend, &window, display.windowed, 8, 480, 640, rotation);
            ASSERT_NE(device.Device(), nullptr);
            for (int frame = 0; frame < 2; ++frame) {
                RefPtr<Texture>& screen = device.ScreenTexture();
                screen->SetViewport({0, 0, 480, 640, 0.0f, 1.0f});
                screen->Clear({0, 1, 0xFF203050, 1.0f, 0});
                screen->SetViewport({0, 0, 240, 320, 0.0f, 1.0f});
                screen->Clear({0, 1, 0xFFFF0000, 1.0f, 0});
                ASSERT_TRUE(device.Present());
            }
        }
        ::unsetenv("MARELDON_CAPTURE");
        SDL_DestroyWindow(sdlWindow);

        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
        image.format = PNG_FORMAT_RGB;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
        std::filesystem::remove(path);
        ASSERT_EQ(image.width, 480u);
        ASSERT_EQ(image.height, 640u);
        auto at = [&](int x, int y) {
            const png_byte* p = &pixels[(size_t(y) * 480 + size_t(x)) * 3];
            return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
        };
        EXPECT_EQ(at(0, 0), 0xFF0000u);
        EXPECT_EQ(at(239, 319), 0xFF0000u);
        EXPECT_EQ(at(240, 0), 0x203050u);
        EXPECT_EQ(at(0, 320), 0x203050u);
        EXPECT_EQ(at(479, 639), 0x203050u);
    }
    if (forced)
        ::setenv("MARELDON_WINDOWED", keep.c_str(), 1);
}

}  // namespace
}  // namespace mareldon
