#pragma once

#include "engine/platform/GpuTypes.h"

namespace mareldon {

// What the graphics device needs of its window: whether the native window still
// exists, the handles for device creation, and the placement it saves and
// restores around mode changes.
class DeviceWindow {
  public:
    virtual ~DeviceWindow() = default;
    // Null once the native window is gone.
    virtual GpuWindowHandle NativeHandle() const = 0;
    // The parent window's native handle, null without a parent.
    virtual GpuWindowHandle ParentNativeHandle() const = 0;
    virtual void GetPosition(int* x, int* y) const = 0;
    virtual void GetClientSize(int* width, int* height) const = 0;
    virtual void SetPosition(int x, int y) = 0;
    virtual void SetClientSize(int width, int height) = 0;
};

}  // namespace mareldon
