// Draws a marked pattern through the OpenGL graphics device and has the presenter
// capture it, as the game's MARELDON_CAPTURE does.
//
//   capture-pattern PREFIX WIDTHxHEIGHT WINDOWED
//
// In an SDL window of WIDTHxHEIGHT (full screen when WINDOWED is 0 and
// MARELDON_WINDOWED does not force a window), the 480x640 screen is cleared grey
// with its corners marked: top-left red, top-right green, bottom-left blue. Under
// each screen rotation R (0 to 3) the second present is written to PREFIX-R.png.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/Texture.h"

using namespace mareldon;

int main(int argc, char** argv) {
    int width = 0, height = 0;
    if (argc != 4 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: capture-pattern PREFIX WIDTHxHEIGHT WINDOWED\n");
        return 2;
    }
    const int windowed = std::atoi(argv[3]);
    // The GL library stays loaded to the end, so the leak checker can name (and the
    // suppressions cover) what the driver keeps until exit.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || SDL_GL_LoadLibrary(nullptr) != 0) {
        std::fprintf(stderr, "capture-pattern: %s\n", SDL_GetError());
        return 1;
    }
    int failures = 0;
    for (int rotation = 0; rotation < 4; ++rotation) {
        const std::string request = "2:" + std::string(argv[1]) + "-" + std::to_string(rotation) + ".png";
        ::setenv("MARELDON_CAPTURE", request.c_str(), 1);
        SDL_Window* sdlWindow =
            SDL_CreateWindow("capture", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (sdlWindow == nullptr) {
            std::fprintf(stderr, "capture-pattern: %s\n", SDL_GetError());
            return 1;
        }
        {
            SdlDeviceWindow window(sdlWindow);
            GlGpuBackend backend;
            GraphicsDeviceDX device(&backend, &window, windowed, 8, 480, 640, rotation);
            if (device.Device() == nullptr) {
                std::fprintf(stderr, "capture-pattern: no graphics device\n");
                ++failures;
            }
            for (int frame = 0; frame < 2 && device.Device() != nullptr; ++frame) {
                RefPtr<Texture>& screen = device.ScreenTexture();
                const struct {
                    TextureViewport area;
                    uint32_t colour;
                } marks[] = {
                    {{0, 0, 480, 640, 0.0f, 1.0f}, 0xFF404040},
                    {{0, 0, 120, 160, 0.0f, 1.0f}, 0xFFFF0000},
                    {{360, 0, 120, 160, 0.0f, 1.0f}, 0xFF00FF00},
                    {{0, 480, 120, 160, 0.0f, 1.0f}, 0xFF0000FF},
                };
                for (const auto& mark : marks) {
                    screen->SetViewport(mark.area);
                    screen->Clear({0, 1, mark.colour, 1.0f, 0});
                }
                if (!device.Present()) {
                    ++failures;
                }
            }
        }
        SDL_DestroyWindow(sdlWindow);
    }
    ::unsetenv("MARELDON_CAPTURE");
    return failures == 0 ? 0 : 1;
}
