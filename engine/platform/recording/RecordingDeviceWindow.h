#pragma once

#include "engine/platform/DeviceWindow.h"

namespace mareldon {

// A window for the graphics device without a screen: open until closed, and it
// keeps the placement the device gives it.
class RecordingDeviceWindow final : public DeviceWindow {
  public:
    int x = 10;
    int y = 20;
    int width = 480;
    int height = 640;
    bool open = true;

    GpuWindowHandle NativeHandle() const override {
        return open ? const_cast<RecordingDeviceWindow*>(this) : nullptr;
    }
    GpuWindowHandle ParentNativeHandle() const override { return nullptr; }
    void GetPosition(int* px, int* py) const override { *px = x, *py = y; }
    void GetClientSize(int* w, int* h) const override { *w = width, *h = height; }
    void SetPosition(int px, int py) override { x = px, y = py; }
    void SetClientSize(int w, int h) override { width = w, height = h; }
};

}  // namespace mareldon
