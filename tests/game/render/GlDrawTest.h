#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/gl/GlGpuDevice.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

// A graphics device as the game makes it, on the OpenGL backend over a hidden SDL
// window (offscreen through Mesa), and its picture read back.
class GlDrawTest : public ::testing::Test {
  protected:
    // SDL video and the GL library stay loaded to the end (the leak checker cannot
    // attribute the driver's lifetime allocations otherwise).
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    }
    void TearDown() override {
        device.reset();
        window.reset();
        if (sdlWindow != nullptr)
            SDL_DestroyWindow(sdlWindow);
        sdlWindow = nullptr;
    }

    // A square device of `size` pixels, unturned; null (and a failure) without GL.
    GraphicsDeviceDX* MakeDevice(int size) {
        sdlWindow = SDL_CreateWindow("gl draw", 0, 0, size, size, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        EXPECT_NE(sdlWindow, nullptr) << SDL_GetError();
        if (sdlWindow == nullptr)
            return nullptr;
        window = std::make_unique<SdlDeviceWindow>(sdlWindow);
        device = std::make_unique<GraphicsDeviceDX>(&backend, window.get(), 1, 8, size, size, 0);
        EXPECT_NE(device->Device(), nullptr);
        return device->Device() != nullptr ? device.get() : nullptr;
    }
    // A handle that leaves the device to the fixture.
    RefPtr<GraphicsDevice> DeviceHandle() {
        return RefPtr<GraphicsDevice>(device.get(), [](GraphicsDevice*) {});
    }
    GlGpuDevice& Gl() { return *static_cast<GlGpuDevice*>(device->Device()); }
    // The back buffer as 0xAARRGGBB words, top row first.
    std::vector<uint32_t> ReadBack() {
        std::vector<uint32_t> pixels;
        GpuPtr<GpuSurface> back;
        EXPECT_EQ(Gl().GetBackBuffer(0, GpuBackBufferType::MONO, back.Receive()), kGpuOk);
        EXPECT_TRUE(Gl().ReadPixels(back.Get(), pixels));
        return pixels;
    }

    GlGpuBackend backend;
    SDL_Window* sdlWindow = nullptr;
    std::unique_ptr<SdlDeviceWindow> window;
    std::unique_ptr<GraphicsDeviceDX> device;
};

}  // namespace mareldon
