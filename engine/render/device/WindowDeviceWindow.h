#pragma once

#include "engine/platform/DeviceWindow.h"

namespace mareldon {

class Window;

// The graphics device's view of a window of the window system: its native handle
// (for the OpenGL backend, the window the context lives on), its parent's, and
// its placement through the window system.
class WindowDeviceWindow final : public DeviceWindow {
  public:
    explicit WindowDeviceWindow(Window* window) : window_(window) {}

    GpuWindowHandle NativeHandle() const override;
    GpuWindowHandle ParentNativeHandle() const override;
    void GetPosition(int* x, int* y) const override;
    void GetClientSize(int* width, int* height) const override;
    void SetPosition(int x, int y) override;
    void SetClientSize(int width, int height) override;

  private:
    Window* window_;
};

}  // namespace mareldon
