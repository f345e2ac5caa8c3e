#pragma once

#include <SDL.h>

#include "engine/platform/DeviceWindow.h"

namespace mareldon {

// The graphics device's window seam on a bare SDL window, for what draws
// without the window system (tests, benchmarks, tools).
class SdlDeviceWindow final : public DeviceWindow {
  public:
    explicit SdlDeviceWindow(SDL_Window* window) : window_(window) {}
    GpuWindowHandle NativeHandle() const override { return window_; }
    GpuWindowHandle ParentNativeHandle() const override { return nullptr; }
    void GetPosition(int* x, int* y) const override { SDL_GetWindowPosition(window_, x, y); }
    void GetClientSize(int* width, int* height) const override { SDL_GetWindowSize(window_, width, height); }
    void SetPosition(int x, int y) override { SDL_SetWindowPosition(window_, x, y); }
    void SetClientSize(int width, int height) override { SDL_SetWindowSize(window_, width, height); }

  private:
    SDL_Window* window_;
};

}  // namespace mareldon
