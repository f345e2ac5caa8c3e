#include "engine/render/device/WindowDeviceWindow.h"

#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"

namespace mareldon {

namespace {

GpuWindowHandle HandleOf(const Window* window) {
    if (!window || !window->native || window->native->handle == 0) {
        return nullptr;
    }
    return reinterpret_cast<GpuWindowHandle>(window->native->handle);
}

}  // namespace

GpuWindowHandle WindowDeviceWindow::NativeHandle() const {
    return HandleOf(window_);
}

GpuWindowHandle WindowDeviceWindow::ParentNativeHandle() const {
    // The root of the tree is the window system itself, which has no native window.
    return window_ ? HandleOf(dynamic_cast<const Window*>(window_->parent)) : nullptr;
}

void WindowDeviceWindow::GetPosition(int* x, int* y) const {
    WindowRect rect;
    if (window_ && window_->system) {
        rect = window_->system->GetWindowRect(window_);
    }
    *x = rect.left;
    *y = rect.top;
}

void WindowDeviceWindow::GetClientSize(int* width, int* height) const {
    WindowRect rect;
    if (window_ && window_->system) {
        rect = window_->system->GetClientRect(window_);
    }
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
}

void WindowDeviceWindow::SetPosition(int x, int y) {
    if (window_ && window_->system) {
        window_->system->SetPosition(window_, x, y);
    }
}

void WindowDeviceWindow::SetClientSize(int width, int height) {
    if (window_ && window_->system) {
        window_->system->SetClientSize(window_, width, height);
    }
}

}  // namespace mareldon
