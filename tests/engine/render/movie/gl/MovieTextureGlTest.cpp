#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/gl/GlGpuDevice.h"
#include "engine/platform/sdl/SdlWindowBackend.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/movie/ThreadedMoviePlayer.h"
#include "tools/archive/MovieFixtures.h"

namespace mareldon {
namespace {

// A frame taken on the main thread goes into the movie texture as the movie
// screens make it (512x1024, the 16-bit kind CreateTexture gives) and reads
// back in its colours, within what 4 bits a channel keep.
TEST(MovieTextureGlTest, TakenFrameUploadsIntoTheMovieTexture) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    {
        std::unique_ptr<WindowSystem> system(CreateWindowSystem());
        WindowLayout layout;
        layout.rightOffset = 480;
        layout.bottomOffset = 640;
        auto* window = new Window(system.get(), "TOPWINDOW", "MARELDON", 0, layout);
        GlGpuBackend backend;
        GraphicsDeviceDX device(&backend, window, 1, 8, 480, 640, 3);
        ASSERT_NE(device.Device(), nullptr);
        RefPtr<Texture> texture = device.CreateTexture(kTextureSampled, 512, 1024);
        ASSERT_NE(texture->GpuTextureObject(), nullptr);
        EXPECT_EQ(texture->Kind(), PixelKind::ARGB4444);

        VirtualClock clock(100);
        MoviePlayerPorts ports;
        ports.createDecoder = &CreateAvMovieDecoder;
        ports.clock = &clock;
        ThreadedMoviePlayer player(ports);
        ASSERT_TRUE(
            player.OpenSource(std::make_unique<MemoryMovieSource>(MakeSolidMovie(64, 48, 30)), "t.mpg"));
        ASSERT_TRUE(player.Play());
        clock.Advance(500);
        ASSERT_TRUE(player.WaitUntilSettled());
        ASSERT_TRUE(player.IsFrameReady());
        const uint32_t* frame = player.TakeFrame();
        texture->Upload(TextureRect{0, 0, player.GetWidth(), player.GetHeight()}, PixelKind::ARGB8888, frame);

        std::vector<uint32_t> pixels;
        ASSERT_TRUE(static_cast<GlGpuDevice*>(device.Device())->ReadPixels(texture->TopSurface(), pixels));
        ASSERT_EQ(pixels.size(), 512u * 1024u);
        const uint32_t want = SolidMovieColor(12);
        for (int y : {0, 23, 47}) {
            for (int x : {0, 31, 63}) {
                const uint32_t got = pixels[size_t(y) * 512 + x];
                EXPECT_EQ(got >> 24, 0xFFu) << x << "," << y;
                for (int shift : {16, 8, 0}) {
                    // 8 for the movie's coding, 17 for a 4-bit channel
                    EXPECT_LE(std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)), 8 + 17)
                        << x << "," << y << " " << std::hex << got;
                }
            }
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace mareldon
